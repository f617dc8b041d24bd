#pragma once
// Number text as every text writer of the program must produce it: the classic
// "C" locale default float form (six significant digits, trailing zeros dropped)
// with a signed three-digit exponent when the exponent form is used, e.g.
// 1.23457e+006 and 2e-005, whatever the platform's C library prints.
#include <locale>
#include <string>

// The text of v in that form.
std::string FormatNumber(double v);

// A classic locale whose streams write float and double values in that form,
// honouring the stream's precision. Imbue it on any stream that writes numbers.
const std::locale& NumberTextLocale();
