#include "text/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <clocale>
#include <set>

#include "text/text_fields.h"
#include "platform/errors.h"
#include "platform/random.h"

namespace vork {
namespace {

TEST(FormatNumbers, MultipliesAndDividesDecimalTextsInFixedPoint) {
  struct Case {
    bool product;
    const char *a, *b;
    int decimals;
    const char *separator, *result;
  } cases[] = {
      {true, "2.5", "4", 2, ".", "10.00"},
      {true, "1.5", "3", 1, ",", "4,5"},
      {true, "1e3", "2", 0, ".", "2000"},
      {true, " 2 ", "+3", 0, ".", "6"},
      {true, ".5", "-3", 3, ".", "-1.500"},
      {true, "-0.001", "1", 2, ".", "0.00"},  // no "-0.00"
      {false, "10", "3", 3, "", "3333"},
      {false, "1", "3", 2, " dot ", "0 dot 33"},
      {false, "-2", "3", 2, ".", "-0.67"},
      {false, "7", "2", 0, ".", "4"},  // 3.5 rounds to even
      {false, "1", "8", 3, ".", "0.125"},
      {true, "123456789", "1000", 1, ".", "123456789000.0"},
  };
  for (const auto& c : cases) {
    const auto result = c.product ? FormatProduct(c.a, c.b, c.decimals, c.separator)
                                  : FormatQuotient(c.a, c.b, c.decimals, c.separator);
    EXPECT_EQ(result, c.result) << c.a << (c.product ? " * " : " / ") << c.b;
  }
}

TEST(FormatNumbers, AnythingButADecimalNumberGivesEmptyText) {
  const char* not_numbers[] = {"", "abc", "1,5", "1.5x", "0x10", "inf", "nan", "-", ".", "1e",
                               "1e999", "--1", "+-1"};
  for (const char* text : not_numbers) {
    EXPECT_EQ(FormatProduct(text, "2", 2, "."), "") << text;
    EXPECT_EQ(FormatQuotient("2", text, 2, "."), "") << text;
  }
}

TEST(FormatNumbers, ResultsThatAreNotFiniteGiveEmptyText) {
  EXPECT_EQ(FormatQuotient("1", "0", 2, "."), "");
  EXPECT_EQ(FormatQuotient("0", "0", 2, "."), "");
  EXPECT_EQ(FormatProduct("1e300", "1e300", 2, "."), "");
}

TEST(FormatNumbers, DecimalsOutsideTheLimitAreAnErrorNotAHugeText) {
  EXPECT_THROW(FormatProduct("1", "1", -1, "."), EVkError);
  EXPECT_THROW(FormatQuotient("1", "1", kMaxDecimals + 1, "."), EVkError);
  EXPECT_EQ(FormatProduct("1", "1", kMaxDecimals, ".").size(), 2u + kMaxDecimals);
  EXPECT_EQ(FormatProduct("1e308", "1", 0, ".").size(), 309u);
}

TEST(FormatNumbers, FixedPointIgnoresTheLocale) {
  ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
  // Any locale with a decimal comma that the machine has; the C locale when
  // none, which still checks the digits.
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
  }
  EXPECT_EQ(FormatFixed(1.5, 3), "1.500");
  EXPECT_EQ(FormatFixed(0.1234, 3), "0.123");
  EXPECT_EQ(FormatProduct("1.5", "2.25", 4, "."), "3.3750");
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_THROW(FormatFixed(1, -1), EVkError);
}

TEST(GroupThousands, PutsAPointBeforeEveryGroupOfThreeDigitsFromTheRight) {
  struct Case { const char *digits, *grouped; } cases[] = {
      {"1234567", "1.234.567"}, {"123", "123"},       {"1234", "1.234"},
      {"123456", "123.456"},    {"1000000", "1.000.000"}, {"", ""},
      {"0", "0"},               {"-123", "-123"},     {"-1234", "-1.234"},
      {"-123456", "-123.456"},  {"-", "-"},
  };
  for (const auto& c : cases) EXPECT_EQ(GroupThousands(c.digits), c.grouped) << c.digits;
}

std::vector<std::string> Pieces(const std::string& text, char separator) {
  std::vector<std::string> pieces;
  for (int i = 0; i < FieldCount(text, separator); ++i) pieces.push_back(Field(text, separator, i));
  return pieces;
}

TEST(RandomPermutation, WritesEveryNumberOfTheRangeOnceZeroPadded) {
  struct Case {
    int lower, upper, width;
    std::vector<std::string> sorted;
  } cases[] = {
      {1, 3, 2, {"01", "02", "03"}},
      {8, 11, 0, {"10", "11", "8", "9"}},
      {-2, 1, 3, {"-01", "-02", "000", "001"}},
      {99, 101, 2, {"100", "101", "99"}},
      {5, 5, 1, {"5"}},
      {INT_MAX - 1, INT_MAX, 0, {"2147483646", "2147483647"}},
      {INT_MIN, INT_MIN + 1, 0, {"-2147483647", "-2147483648"}},
  };
  for (const auto& c : cases) {
    auto pieces = Pieces(RandomPermutation(c.lower, c.upper, c.width, ";"), ';');
    std::sort(pieces.begin(), pieces.end());
    EXPECT_EQ(pieces, c.sorted) << c.lower << " .. " << c.upper;
  }
  EXPECT_EQ(RandomPermutation(3, 2, 2, ";"), "");
}

TEST(RandomPermutation, JoinsWithAnySeparator) {
  const auto text = RandomPermutation(1, 2, 1, " and ");
  EXPECT_TRUE(text == "1 and 2" || text == "2 and 1") << text;
  const auto joined = RandomPermutation(1, 2, 1, "");
  EXPECT_TRUE(joined == "12" || joined == "21") << joined;
}

TEST(RandomPermutation, RepeatsUnderTheSameSeedAndReachesEveryOrder) {
  Random().Reseed(20240611);
  const auto first = RandomPermutation(1, 20, 2, ",");
  Random().Reseed(20240611);
  EXPECT_EQ(RandomPermutation(1, 20, 2, ","), first);

  std::set<std::string> orders;
  for (int i = 0; i < 600; ++i) orders.insert(RandomPermutation(1, 3, 2, ";"));
  EXPECT_EQ(orders, (std::set<std::string>{"01;02;03", "01;03;02", "02;01;03", "02;03;01",
                                           "03;01;02", "03;02;01"}));
}

TEST(RandomPermutation, RefusesARangeThatWouldBuildAHugeText) {
  EXPECT_THROW(RandomPermutation(INT_MIN, INT_MAX, 0, ","), EVkError);
  EXPECT_THROW(RandomPermutation(1, 2, INT_MAX, ","), EVkError);
  EXPECT_EQ(FieldCount(RandomPermutation(0, 99999, 0, ","), ','), 100000);
}

}  // namespace
}  // namespace vork
