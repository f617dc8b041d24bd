#include "tools/zeltool/DownloadProgress.h"

#include <string>

namespace {

constexpr int kBarWidth = 32;

}  // namespace

void DownloadProgress::OnProgress(void* context, int block, bool inBlock, bool) {
  if (!inBlock) static_cast<DownloadProgress*>(context)->ShowBlocksRead(block + 1);
}

void DownloadProgress::ShowBlocksRead(int blocks) {
  blocksRead_ = blocks;
  if (terminal_) {
    err_ << "\rblocks read: " << blocks << std::flush;
  } else {
    err_ << "blocks read: " << blocks << '\n';
  }
}

void DownloadProgress::Finish(bool complete) {
  if (!terminal_ || blocksRead_ == 0) return;
  // Longer than the count it replaces, so nothing of that is left showing.
  if (complete) err_ << "\r[" << std::string(kBarWidth, '#') << "] " << blocksRead_ << '/' << blocksRead_ << " blocks";
  err_ << '\n' << std::flush;
}
