// Course text reaches the text utilities unchecked. Input layout: byte 0
// picks the separator, byte 1 a field index or a number of decimals, the
// rest up to the first NUL is the text and after it a second text.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "text/answers.h"
#include "text/crc32.h"
#include "text/normalize.h"
#include "text/number_text.h"
#include "text/text_edits.h"
#include "text/text_fields.h"
#include "text/word_lists.h"
#include "platform/errors.h"

namespace {

void Expect(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vork;
  if (size < 2) return 0;
  const char separator = static_cast<char>(data[0]);
  const int index = static_cast<int>(data[1]) - 8;  // a few negative ones too
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const size_t split = rest.find('\0');
  const std::string_view text = rest.substr(0, split);
  const std::string_view other =
      split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);

  const int count = FieldCount(text, separator);
  if (index >= 0 && index < count) {
    Expect(Field(text, separator, index).size() <= text.size());
  } else {
    Expect(Field(text, separator, index).empty());
  }
  if (other.find(separator) == std::string_view::npos) {
    const std::string replaced = ReplaceField(text, separator, index, other);
    if (index >= 0) {
      Expect(Field(replaced, separator, index) == other || (replaced.empty() && other.empty()));
      // An empty text has no fields, even when it was one empty field.
      Expect(replaced.empty() || FieldCount(replaced, separator) >= std::min(count, index + 1));
    } else {
      Expect(replaced == text);
    }
  }

  const std::string normal = NormalizeAnswer(text);
  Expect(NormalizeAnswer(normal) == normal);
  const std::string best = BestAnswer(other, text);
  Expect(other.empty() || other.find(best) != std::string_view::npos);
  if (IsAcceptedAnswer(other, text) && !normal.empty()) {
    Expect(NormalizeAnswer(other).find(normal) != std::string::npos);
  }

  std::vector<std::string> words;
  try {
    SplitWords(text, words);
  } catch (const EVkError&) {
  }
  for (const std::string& word : words) Expect(word.size() <= text.size());

  const int decimals = index < 0 ? 0 : index % 40;
  FormatProduct(text, other, decimals, std::string_view(&separator, 1));
  FormatQuotient(text, other, decimals, "");
  const std::string grouped = GroupThousands(text);
  Expect(grouped.size() >= text.size());
  const int count_word = static_cast<int>(static_cast<unsigned char>(separator)) - 128;
  Expect(CopyBytes(text, index, count_word).size() <= text.size());
  Expect(DeleteBytes(text, index, count_word).size() <= text.size());
  Expect(ReplaceAll(text, other, "").size() <= text.size());
  try {
    ParseInteger(text);
  } catch (const EVkError&) {
  }
  ChangeExtension(text, other);
  Crc32(rest);
  return 0;
}
