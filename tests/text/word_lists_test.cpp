#include "text/word_lists.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace vork {
namespace {

using Words = std::vector<std::string>;

TEST(SplitWords, SplitsAtSpacesAndKeepsQuotedWordsWhole) {
  struct Case { const char* text; Words words; } cases[] = {
      {"say \"good morning\" to", {"say", "good morning", "to"}},
      {"\"good morning\"to", {"good morning", "to"}},
      {"  a   b  ", {"a", "b"}},
      {"\t a\r\n", {"a"}},
      {"", {}},
      {"   ", {}},
      {"\"\" x", {"", "x"}},
      {"`a \"b\"` c", {"a \"b\"", "c"}},
      {"a\"b c", {"a\"b", "c"}},
      {"a\tb", {"a\tb"}},  // only a space ends an unquoted word
      {"speed=slow/fast \xE4rger", {"speed=slow/fast", "\xE4rger"}},
  };
  for (const auto& c : cases) {
    Words words{"left", "over"};
    SplitWords(c.text, words);
    EXPECT_EQ(words, c.words) << c.text;
  }
}

TEST(SplitWords, UnterminatedQuoteNamesTheTextAndKeepsTheWordsBeforeIt) {
  struct Case { const char* text; Words before; } cases[] = {
      {"say \"hello", {"say"}},
      {"  `x", {}},
      {"a \"b\" \"", {"a", "b"}},
  };
  for (const auto& c : cases) {
    Words words{"left"};
    try {
      SplitWords(c.text, words);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const EVkError& error) {
      EXPECT_EQ(error.what(), std::string("Quotation mismatch: ") + c.text);
    }
    EXPECT_EQ(words, c.before) << c.text;
  }
}

TEST(FindKeyedLine, FindsTheFirstLineThatIsTheKeyOrStartsWithKeyAndTab) {
  const Words lines{"apple\tred", "", "app\tgreen", "app", "banana", "cherry pie\tx"};
  struct Case { const char* key; const char* line; } cases[] = {
      {"app", "app\tgreen"}, {"apple", "apple\tred"}, {"ap", ""},
      {"banana", "banana"},  {"", ""},                {"cherry", ""},
      {"Apple", ""},         {"cherry pie", "cherry pie\tx"},
  };
  for (const auto& c : cases) EXPECT_EQ(FindKeyedLine(lines, c.key), c.line) << c.key;
  EXPECT_EQ(FindKeyedLine({}, "app"), "");
}

}  // namespace
}  // namespace vork
