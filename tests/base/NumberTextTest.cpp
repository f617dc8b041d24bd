#include <gtest/gtest.h>

#include <sstream>

#include "base/NumberText.h"

TEST(NumberText, SixSignificantDigitsWithThreeDigitExponents) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},           {0.1 * 3, "0.3"},       {396.7, "396.7"},         {4.799041, "4.79904"},
      {1234567, "1.23457e+006"}, {0.00002, "2e-005"}, {-0.00002, "-2e-005"}, {1e100, "1e+100"},
      {1.5e-300, "1.5e-300"},    {100000, "100000"},  {999999.5, "1e+006"},  {0.0001, "0.0001"},
      {-3459.05, "-3459.05"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value), c.text);
    std::ostringstream stream;
    stream.imbue(NumberTextLocale());
    stream << c.value;
    EXPECT_EQ(stream.str(), c.text) << "through a stream";
    std::wostringstream wide;
    wide.imbue(NumberTextLocale());
    wide << static_cast<float>(c.value);
    EXPECT_EQ(wide.str().size(), std::string(FormatNumber(static_cast<float>(c.value))).size());
  }
}

TEST(NumberText, IntegersAndOtherFormsAreLeftToTheStream) {
  std::ostringstream stream;
  stream.imbue(NumberTextLocale());
  stream << 1234567 << ' ' << std::hex << 88 << std::dec << ' ' << std::fixed << 2.5;
  EXPECT_EQ(stream.str(), "1234567 58 2.500000");
}
