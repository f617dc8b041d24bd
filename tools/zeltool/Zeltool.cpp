#include "tools/zeltool/Zeltool.h"

#include <exception>
#include <iostream>

#include "base/DebugLog.h"
#include "base/NumberText.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/CommandTable.h"

namespace {

void PrintUsage(std::ostream& out) {
  out << "zeltool: flight data files of the ZEL USB altimeter\n\nUsage:\n";
  for (const ZeltoolCommand& command : ZeltoolCommands()) {
    out << "  zeltool " << command.usage << "\n      " << command.summary << '\n';
  }
  out << "  zeltool --help\n      this list\n";
}

std::wstring Word(const char* word) { return WideArg(word); }
std::wstring Word(const wchar_t* word) { return word; }

template <typename Char>
int RunGuarded(int argc, const Char* const* argv) {
  std::ostream out(std::cout.rdbuf());  // DebugLog is std::cout: results keep its buffer
  const RedirectedDebugLog silenced;  // its lines go nowhere
  try {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.push_back(Word(argv[i]));
    return RunZeltool(args, out, std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "zeltool: " << error.what() << '\n';
    return kZeltoolFailure;
  }
}

}  // namespace

int RunZeltool(const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err) {
  out.imbue(NumberTextLocale());
  if (args.empty() || args[0] == L"--help" || args[0] == L"-h") {
    PrintUsage(out);
    return args.empty() ? kZeltoolUsageError : kZeltoolSuccess;
  }
  const std::string name = NarrowText(args[0]);
  const ZeltoolCommand* command = FindZeltoolCommand(name);
  if (command == nullptr) {
    err << "zeltool: unknown command '" << name << "' (zeltool --help lists the commands)\n";
    return kZeltoolUsageError;
  }
  ZeltoolIo io{out, err};
  return command->run(ZeltoolArgs(args.begin() + 1, args.end()), io);
}

int ZeltoolMain(int argc, const char* const* argv) { return RunGuarded(argc, argv); }
int ZeltoolMain(int argc, const wchar_t* const* argv) { return RunGuarded(argc, argv); }
