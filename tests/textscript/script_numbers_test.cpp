#include "textscript/script_numbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vork {
namespace {

TEST(ScriptNumbers, IntegersAreDecimalOrHexadecimalWithinThirtyTwoBits) {
  struct Case {
    const char* text;
    std::optional<int32_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"-12", -12},
      {"+7", 7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"$1F", 31},
      {"$1f", 31},
      {"-$10", -16},
      {"$7FFFFFFF", 2147483647},
      {"$FFFFFFFF", -1},
      {"$100000000", std::nullopt},
      {"$", std::nullopt},
      {"$G", std::nullopt},
      {"0x10", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"--1", std::nullopt},
      {"+-1", std::nullopt},
      {"$-1", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"1.0", std::nullopt},
      {"12abc", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseScriptInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(ScriptNumbers, ATextWithAPointIsADecimalFraction) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"1.5", 1.5},
      {"-1.25", -1.25},
      {"+0.5", 0.5},
      {".5", 0.5},
      {"2.", 2.0},
      {"1.5e3", 1500.0},
      {"$10", 16.0},
      {"7", 7.0},
      {"1,5", std::nullopt},
      {"1.5.2", std::nullopt},
      {".", std::nullopt},
      {"abc", std::nullopt},
      {"1e400.0", std::nullopt},
      {"nan.", std::nullopt},
      {"inf.0", std::nullopt},
      {"0x1.8p1", std::nullopt},
      {"+-1.0", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseScriptNumber(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace vork
