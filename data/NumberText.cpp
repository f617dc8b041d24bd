#include "data/NumberText.h"

#include <cstdio>
#include <cstdlib>
#include <ios>
#include <iterator>

namespace {

// "%g" text of v, with the exponent widened to a sign and at least three digits.
std::string FormatGeneral(double v, int precision) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", precision, v);
  std::string text(buffer);
  for (char& c : text) {
    if (c == ',') c = '.';  // a C library running under a non-"C" numeric locale
  }
  const std::string::size_type e = text.find_first_of("eE");
  if (e == std::string::npos) return text;
  const char sign = text[e + 1] == '-' ? '-' : '+';
  const std::string::size_type digitsStart = (text[e + 1] == '-' || text[e + 1] == '+') ? e + 2 : e + 1;
  std::string digits = text.substr(digitsStart);
  while (digits.size() > 3 && digits[0] == '0') digits.erase(0, 1);
  while (digits.size() < 3) digits.insert(0, "0");
  return text.substr(0, e) + 'e' + sign + digits;
}

template <typename CharT>
class NumberTextPut : public std::num_put<CharT> {
 public:
  using Iter = typename std::num_put<CharT>::iter_type;

 protected:
  Iter do_put(Iter out, std::ios_base& str, CharT fill, double v) const override {
    if (!UsesDefaultForm(str)) return std::num_put<CharT>::do_put(out, str, fill, v);
    const int precision = str.precision() > 0 ? static_cast<int>(str.precision()) : 6;
    for (char c : FormatGeneral(v, precision)) *out++ = static_cast<CharT>(c);
    return out;
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

std::string FormatNumber(double v) { return FormatGeneral(v, 6); }

const std::locale& NumberTextLocale() {
  static const std::locale locale(std::locale(std::locale::classic(), new NumberTextPut<char>),
                                  new NumberTextPut<wchar_t>);
  return locale;
}
