// zeltool plot, native builds only (cairo): the program's data set view of a
// set as a PNG or SVG picture, from the very scene the program draws.
#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <string>

#include "data/SafeFileWriter.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/CommandTable.h"
#include "tools/zeltool/FileLink.h"
#include "view/GraphScene.h"
#include "view/cairo/CairoPainter.h"

namespace {

const char kPlotUsage[] = "plot FILE.zel OUT.png|OUT.svg [--set N] [--size WxH]";
// The client area of the program's maximised window on a 1280 x 1024 screen.
constexpr int kDefaultWidth = 1280;
constexpr int kDefaultHeight = 1005;
constexpr int kMaxSide = 8192;  // a 256 MiB picture at most

struct PlotRequest {
  std::wstring file;
  std::wstring output;
  PictureFormat format = PictureFormat::Png;
  int setNumber = 0;
  int width = kDefaultWidth;
  int height = kDefaultHeight;
};

// "WxH", each side 1 to kMaxSide pixels.
bool ParseSize(const std::wstring& word, int& width, int& height) {
  const size_t x = word.find(L'x');
  int w = 0, h = 0;
  if (x == std::wstring::npos || !ParseCount(word.substr(0, x), w) || !ParseCount(word.substr(x + 1), h)) return false;
  if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) return false;
  width = w;
  height = h;
  return true;
}

// The picture format its name asks for: .png or .svg, in any case.
bool ParseFormat(const std::wstring& output, PictureFormat& format) {
  std::wstring extension = std::filesystem::path(output).extension().wstring();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  if (extension != L".png" && extension != L".svg") return false;
  format = extension == L".png" ? PictureFormat::Png : PictureFormat::Svg;
  return true;
}

bool ParsePlotArgs(const ZeltoolArgs& args, PlotRequest& request) {
  if (args.size() < 2 || args.size() % 2 != 0 || !ParseFormat(args[1], request.format)) return false;
  request.file = args[0];
  request.output = args[1];
  for (size_t i = 2; i < args.size(); i += 2) {
    const bool parsed = args[i] == L"--set"    ? ParseCount(args[i + 1], request.setNumber)
                        : args[i] == L"--size" ? ParseSize(args[i + 1], request.width, request.height)
                                               : false;
    if (!parsed) return false;
  }
  return true;
}

// What the program shows after selecting the set in a window of that client size.
DataSetScene SceneOfSet(AltimeterLink& link, const PlotRequest& request) {
  link.SelectDataSet(request.setNumber);
  const auto lock = link.LockData();
  return BuildDataSetScene(link.currentSet, GraphMapping(link.viewRange, request.width, request.height));
}

// Whole or not at all, like the program's exports.
bool WritePicture(const PlotRequest& request, const DataSetScene& scene) {
  SafeFileWriter file{ArgPath(request.output)};
  return file.IsOpen() &&
         WriteDataSetPicture(scene, request.width, request.height, request.format, file.Stream()) && file.Commit();
}

int RunPlot(const ZeltoolArgs& args, ZeltoolIo& io) {
  PlotRequest request;
  if (!ParsePlotArgs(args, request)) return ZeltoolUsageError(io, kPlotUsage);
  FileLink files;
  AltimeterLink& link = files.link;
  if (!LoadOrExplain(link, request.file, io) || !HasSetOrExplain(link, request.file, request.setNumber, io)) {
    return kZeltoolFailure;
  }
  if (!WritePicture(request, SceneOfSet(link, request))) {
    io.err << "zeltool: " << NarrowText(request.output) << " cannot be written\n";
    return kZeltoolFailure;
  }
  return kZeltoolSuccess;
}

const ZeltoolCommandRegistration plot{
    {"plot", kPlotUsage,
     "draw set N (0 when not given) as the program shows it, as a PNG or SVG picture of WxH pixels "
     "(1280x1005 when not given)",
     RunPlot}};

}  // namespace
