#pragma once
// Text from a file (a set's comment) as zeltool shows it on a terminal: a
// file from someone else must not recolour the terminal, move its cursor or
// ring its bell. Well-formed UTF-8 stays as it is; a line break stays a line
// break (CR LF becomes LF); every other C0 control and DEL reads "\x1b", a C1
// control (U+0080 to U+009F, which terminals act on too) "\u009b", and each
// byte that is not UTF-8 (a Latin-1 comment's) U+FFFD, as the pages show it.
// CSV and JSON keep to their own formats' rules instead.
#include <string>

std::string TerminalText(const std::string& bytes);
