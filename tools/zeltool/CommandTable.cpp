#include "tools/zeltool/CommandTable.h"

#include <algorithm>

namespace {

// Built on first use, so registrations in any file's static initialisation find it.
std::vector<ZeltoolCommand>& Registered() {
  static std::vector<ZeltoolCommand> commands;
  return commands;
}

}  // namespace

ZeltoolCommandRegistration::ZeltoolCommandRegistration(ZeltoolCommand command) {
  Registered().push_back(std::move(command));
}

std::vector<ZeltoolCommand> ZeltoolCommands() {
  std::vector<ZeltoolCommand> commands = Registered();
  std::sort(commands.begin(), commands.end(),
            [](const ZeltoolCommand& a, const ZeltoolCommand& b) { return a.name < b.name; });
  return commands;
}

const ZeltoolCommand* FindZeltoolCommand(const std::string& name) {
  const std::vector<ZeltoolCommand>& commands = Registered();
  const auto found = std::find_if(commands.begin(), commands.end(),
                                  [&](const ZeltoolCommand& command) { return command.name == name; });
  return found == commands.end() ? nullptr : &*found;
}

int ZeltoolUsageError(ZeltoolIo& io, const std::string& usage) {
  io.err << "zeltool: usage: zeltool " << usage << '\n';
  return kZeltoolUsageError;
}
