#pragma once
// zeltool, the command-line companion for flight files: the command line
// (after the program name) to an exit status.
#include <ostream>
#include <string>
#include <vector>

// Runs one command. No arguments, "--help" or "-h" print the usage.
int RunZeltool(const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err);

// The process around RunZeltool: results on standard output, errors on
// standard error, and the program's diagnostic log (also standard output)
// silenced so that it never mixes with the results. The words after argv[0]
// become RunZeltool's arguments inside its guard, so no command line ends the
// process without a line on standard error.
int ZeltoolMain(int argc, const char* const* argv);     // bytes, as Linux passes them (WideArg)
int ZeltoolMain(int argc, const wchar_t* const* argv);  // wide text, as Windows passes it
