#pragma once
// The program's one diagnostic channel: the process's standard output.
// Lines are written as one chain of insertions ending in std::endl. The integer
// base is shared state: a writer that switches to std::hex leaves it so until
// another writer switches back to std::dec.
#include <ostream>

extern std::ostream& DebugLog;

// Makes floating-point text on DebugLog use the program's number form
// (classic locale, three exponent digits). Called once by each entry point.
void InitDebugLog();
