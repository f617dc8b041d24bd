#pragma once
// The table of zeltool's commands. Every command group lives in a source file
// of its own and registers its commands with static registrations, so a new
// group touches neither this table nor the entry points. For example, in
// tools/zeltool/FirmwareCommands.cpp:
//
//   namespace {
//   int RunFirmwareInfo(const ZeltoolArgs& args, ZeltoolIo& io) { ... return 0; }
//   const ZeltoolCommandRegistration firmwareInfo{{"firmware-info", "firmware-info FILE.dat",
//                                                  "the versions and length of a firmware file",
//                                                  RunFirmwareInfo}};
//   }  // namespace
//
// then add the file to ZELTOOL_COMMAND_SOURCES in tools/CMakeLists.txt. The
// sources are built as an object library, so no registration is dropped by
// the linker. `--help` lists the commands by name.
#include <ostream>
#include <string>
#include <vector>

// Where a command writes: its results to `out`, its one-line errors to `err`.
struct ZeltoolIo {
  std::ostream& out;
  std::ostream& err;
};

// A command's arguments, after its name.
using ZeltoolArgs = std::vector<std::wstring>;

// Exit statuses shared by every command.
constexpr int kZeltoolSuccess = 0;
constexpr int kZeltoolFailure = 1;      // a file could not be read or written
constexpr int kZeltoolUsageError = 2;  // the command line is wrong

struct ZeltoolCommand {
  std::string name;
  std::string usage;    // the command line after "zeltool ", e.g. "info FILE.zel"
  std::string summary;  // what it does, for --help
  int (*run)(const ZeltoolArgs& args, ZeltoolIo& io);
};

class ZeltoolCommandRegistration {
 public:
  explicit ZeltoolCommandRegistration(ZeltoolCommand command);
};

// Every registered command, sorted by name.
std::vector<ZeltoolCommand> ZeltoolCommands();
// The command called `name`; null when there is none.
const ZeltoolCommand* FindZeltoolCommand(const std::string& name);

// Says how a command is called (`usage` as in ZeltoolCommand) on `io.err`;
// returns kZeltoolUsageError.
int ZeltoolUsageError(ZeltoolIo& io, const std::string& usage);
