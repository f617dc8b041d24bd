#include "app/DebugLog.h"

#include <iostream>

#include "data/NumberText.h"

std::ostream& DebugLog = std::cout;

void InitDebugLog() { DebugLog.imbue(NumberTextLocale()); }
