#pragma once
// How far a download has come, on standard error so that standard output
// holds only results. The memory's used size is only known when the read
// stops at its first erased block, so while reading this counts the blocks
// ("blocks read: N") without a total; once the read has reached the end, a
// terminal shows the bar full at the number read. Off a terminal each block
// is a plain line and nothing is drawn over.
#include <ostream>

class DownloadProgress {
 public:
  DownloadProgress(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}

  // A ReadProgressFn; `context` is the DownloadProgress.
  static void OnProgress(void* context, int block, bool inBlock, bool setStart);

  // The read has ended, at the memory's end when `complete`; on a terminal
  // the line is ended, so that what follows starts on a line of its own.
  void Finish(bool complete);

 private:
  void ShowBlocksRead(int blocks);

  std::ostream& err_;
  const bool terminal_;
  int blocksRead_ = 0;
};
