#include "base/NumberText.h"

#include <algorithm>
#include <charconv>
#include <ios>
#include <iterator>

namespace {

constexpr size_t kMaxText = 48;

// "%g" text of v in the "C" locale, with the exponent widened to a sign and at
// least three digits. Writes at most kMaxText characters; returns how many.
// Precision beyond 17 digits adds nothing to a double and is capped.
size_t FormatGeneral(double v, int precision, char* out) {
  precision = std::min(precision, 17);
  char text[kMaxText];
  const auto result = std::to_chars(text, text + sizeof text, v, std::chars_format::general, precision);
  const char* const begin = text;
  const char* const end = result.ptr;
  const char* const e = std::find(begin, end, 'e');
  char* o = std::copy(begin, e, out);
  if (e == end) return o - out;
  const char* digits = e + 1;
  const char sign = *digits == '-' ? '-' : '+';
  if (*digits == '-' || *digits == '+') ++digits;
  while (end - digits > 3 && *digits == '0') ++digits;
  *o++ = 'e';
  *o++ = sign;
  for (auto width = end - digits; width < 3; ++width) *o++ = '0';
  return std::copy(digits, end, o) - out;
}

template <typename CharT>
class NumberTextPut : public std::num_put<CharT> {
 public:
  using Iter = typename std::num_put<CharT>::iter_type;

 protected:
  Iter do_put(Iter out, std::ios_base& str, CharT fill, double v) const override {
    if (!UsesDefaultForm(str)) return std::num_put<CharT>::do_put(out, str, fill, v);
    const int precision = str.precision() > 0 ? static_cast<int>(str.precision()) : 6;
    char text[kMaxText];
    const size_t length = FormatGeneral(v, precision, text);
    return std::copy(text, text + length, out);
  }
  Iter do_put(Iter out, std::ios_base& str, CharT fill, long double v) const override {
    return do_put(out, str, fill, static_cast<double>(v));
  }

 private:
  static bool UsesDefaultForm(const std::ios_base& str) {
    return (str.flags() & std::ios_base::floatfield) == 0 && str.width() == 0 &&
           (str.flags() & (std::ios_base::showpos | std::ios_base::showpoint | std::ios_base::uppercase)) == 0;
  }
};

}  // namespace

std::string FormatNumber(double v) {
  char text[kMaxText];
  return std::string(text, FormatGeneral(v, 6, text));
}

const std::locale& NumberTextLocale() {
  static const std::locale locale(std::locale(std::locale::classic(), new NumberTextPut<char>),
                                  new NumberTextPut<wchar_t>);
  return locale;
}
