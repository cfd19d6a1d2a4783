// The RTF reader on the rich text courses ship and on damaged or hostile
// files: formatting scopes, escapes, tables, skipped destinations, broken
// brace structure, absurd numbers and deep nesting.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/rtf/rtf_reader.h"

namespace vork {
namespace {

std::string Utf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Mark(const char* name, int value) {
  std::string mark = name;
  mark += std::to_string(value);
  return mark;
}

// A run as its text and, in braces, whatever differs from plain text:
// "b{b,i,u,s,f1,fs30,cf2}". Runs are joined by "/", paragraphs by " | ".
std::string Describe(const RtfDocument& document) {
  std::string out;
  for (size_t p = 0; p < document.paragraphs.size(); ++p) {
    if (p > 0) out += " | ";
    const auto& runs = document.paragraphs[p].runs;
    for (size_t r = 0; r < runs.size(); ++r) {
      if (r > 0) out += "/";
      const RtfCharFormat& f = runs[r].format;
      std::vector<std::string> marks;
      if (f.bold) marks.push_back("b");
      if (f.italic) marks.push_back("i");
      if (f.underline) marks.push_back("u");
      if (f.strike_out) marks.push_back("s");
      if (f.font != -1) marks.push_back(Mark("f", f.font));
      if (f.half_points != kRtfDefaultHalfPoints) marks.push_back(Mark("fs", f.half_points));
      if (f.color != 0) marks.push_back(Mark("cf", f.color));
      out += Utf8(runs[r].text);
      if (!marks.empty()) {
        out += "{";
        for (size_t m = 0; m < marks.size(); ++m) {
          if (m > 0) out += ',';
          out += marks[m];
        }
        out += "}";
      }
    }
  }
  return out;
}

RtfDocument ReadBody(const std::string& body) { return ReadRtf("{\\rtf1\\ansi\\ansicpg1252 " + body + "}"); }

struct Case {
  const char* name;
  std::string body;
  std::string expected;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

std::string CaseName(const ::testing::TestParamInfo<Case>& param_info) { return param_info.param.name; }

class RtfBodyTest : public ::testing::TestWithParam<Case> {};

TEST_P(RtfBodyTest, ReadsAsExpected) {
  EXPECT_EQ(Describe(ReadBody(GetParam().body)), GetParam().expected) << GetParam().body;
}

INSTANTIATE_TEST_SUITE_P(
    CharacterFormatsFollowGroups, RtfBodyTest,
    ::testing::Values(
        Case{"group_scopes_bold", R"(a{\b b}c)", "a/b{b}/c"},
        Case{"nested_groups_restore_each_level", R"({\b a{\i b{\ul c}d}e}f)", "a{b}/b{b,i}/c{b,i,u}/d{b,i}/e{b}/f"},
        Case{"zero_parameter_switches_off", R"(\b\i\ul\strike a\b0 b\i0 c\ul0 d\strike0 e)",
             "a{b,i,u,s}/b{i,u,s}/c{u,s}/d{s}/e"},
        Case{"nonzero_parameter_switches_on", R"(\b1 a\b2 b)", "ab{b}"},
        Case{"underline_styles_and_ulnone", R"(\uldb a\ulnone b\ulwave c)", "a{u}/b/c{u}"},
        Case{"plain_resets_everything", R"(\b\i\fs40\cf2 a\plain b)", "a{b,i,fs40,cf2}/b"},
        Case{"font_size_in_half_points", R"(\fs20 a\fs36 b)", "a{fs20}/b{fs36}"},
        Case{"space_after_word_is_its_delimiter", R"(\b  two spaces)", " two spaces{b}"},
        Case{"delimiter_may_be_any_non_letter", R"(\b0x\b;y)", "x/;y{b}"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Characters, RtfBodyTest,
    ::testing::Values(
        Case{"windows_1252_escape", R"(B\'e4r)", "B\u00e4r"},
        Case{"escapes_are_windows_1252_not_latin_1", R"(\'80 \'93x\'94)", "\u20ac \u201cx\u201d"},
        Case{"upper_case_hex", R"(\'C4\'D6)", "\u00c4\u00d6"},
        Case{"raw_high_bytes_are_windows_1252", "\xe4\x80", "\u00e4\u20ac"},
        Case{"escaped_syntax_characters", R"(\\ \{ \})", "\\ { }"},
        Case{"special_symbols", R"(a\~b\-c\_d)", "a\u00a0bc\u2011d"},
        Case{"named_characters", R"(\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote)",
             "\u2014\u2013\u2022\u2018\u2019\u201c\u201d"},
        Case{"tab_and_line_break", R"(a\tab b\line c)", "a\tb\u2028c"},
        Case{"unicode_skips_one_fallback_character", R"(\u228?r)", "\u00e4r"},
        Case{"fallback_may_be_an_escape", R"(\u8364\'80!)", "\u20ac!"},
        Case{"uc_sets_fallback_length", R"(\uc2\u8364 EUx\uc0\u228 y)", "\u20acx\u00e4y"},
        Case{"fallback_ends_at_a_brace", R"({\uc3\u228 a}b)", "\u00e4b"},
        Case{"negative_unicode_is_above_32767", R"(\u-3?)", "\ufffd"},
        Case{"surrogate_pair_joins", R"(\u-10179?\u-8704?)", "\U0001F600"},
        Case{"lone_surrogates_become_replacement", R"(\u-8704?a\u-10179?b)", "\ufffda\ufffdb"},
        Case{"line_ends_in_the_data_are_ignored", "a\r\nb\nc", "abc"},
        Case{"control_characters_never_reach_the_text", R"(a\'00\'0d\'0a\u13?b)", "ab"},
        Case{"malformed_hex_escape_is_dropped", R"(a\'zzb\'4)", "azzb4"},
        Case{"unknown_words_are_ignored", R"(\expndtw10\kerning1 a\lang1031 b)", "ab"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    SkippedDestinations, RtfBodyTest,
    ::testing::Values(
        Case{"starred_unknown_group", R"(a{\*\generator Riched20 10.0;}b)", "ab"},
        Case{"starred_group_with_nested_groups", R"(a{\*\x{b}{c{d}}}e)", "ae"},
        Case{"info_stylesheet_and_headers", R"({\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}{\header H}a)",
             "a"},
        Case{"picture_with_binary_data_holding_braces", R"(a{\pict\bin6 }}{{\}}b)", "ab"},
        Case{"field_shows_its_result", R"({\field{\*\fldinst HYPERLINK "x"}{\fldrslt shown}})", "shown"},
        Case{"paragraph_number_text_is_shown", R"({\pntext\'b7\tab}item)", "\u00b7\titem"},
        Case{"skipped_group_does_not_leak_formats", R"({\*\x\b}a)", "a"},
        Case{"paragraph_mark_inside_skipped_group", R"(a{\*\x\par}b)", "ab"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Paragraphs, RtfBodyTest,
    ::testing::Values(
        Case{"par_separates", R"(one\par two)", "one | two"},
        Case{"closing_par_adds_no_empty_paragraph", R"(one\par two\par)", "one | two"},
        Case{"empty_paragraphs_inside_are_kept", R"(a\par\par\par b)", "a |  |  | b"},
        Case{"backslash_line_end_is_a_paragraph", "a\\\nb", "a | b"},
        Case{"sect_page_and_row_end_paragraphs", R"(a\sect b\page c\row d)", "a | b | c | d"},
        Case{"cell_separates_with_a_tab", R"(a\cell b)", "a\tb"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    BrokenStructure, RtfBodyTest,
    ::testing::Values(
        // These are appended after the document's own opening brace.
        Case{"missing_closing_braces_keep_the_text", R"({\b a{\i b)", "a{b}/b{b,i}"},
        Case{"text_after_the_document_is_ignored", R"(a}b{c}})", "a"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    HugeNumbers, RtfBodyTest,
    ::testing::Values(
        Case{"font_size_saturates", R"(\fs99999999999999999999 a)", "a{fs3276}"},
        Case{"font_size_zero_or_negative_is_default", R"(\fs0 a\fs-8 b)", "ab"},
        Case{"font_number_saturates", R"(\f99999999999999999999 a\f-99999999999 b)", "a{f2147483647}/b{f-2147483648}"},
        Case{"negative_colour_index", R"(\cf-3 a)", "a"},
        Case{"unicode_out_of_range_is_dropped", R"(\u99999999?a\u-99999?b)", "ab"},
        Case{"huge_fallback_length_is_bounded", R"(\uc99999999\u228 0123456789012345xy)", "\u00e4xy"},
        Case{"huge_binary_length_skips_the_rest", R"(a{\pict\bin99999999999 data}b)", "a"},
        Case{"negative_binary_length_skips_nothing", R"({\pict\bin-5 data}b)", "b"}),
    CaseName);

TEST(RtfReaderTest, TextOutsideTheDocumentGroupIsIgnored) {
  EXPECT_EQ(Describe(ReadRtf(R"(before{\rtf1 inside}after)")), "inside");
  EXPECT_EQ(Describe(ReadRtf("}}}{\\rtf1 x")), "x");
  EXPECT_EQ(Describe(ReadRtf("{\\rtf1 a\\")), "a");
  for (const char* nothing : {"", "{", "}", "\\", "{\\rtf1}", "no group at all", "\\'"})
    EXPECT_TRUE(ReadRtf(nothing).paragraphs.empty()) << nothing;
}

TEST(RtfReaderTest, FontTableGivesNumbersAndNames) {
  const RtfDocument document = ReadRtf(
      R"({\rtf1\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fmodern Courier New;})"
      R"({\f2\fnil{\*\panose 02020603050405020304}Times New Roman{\*\falt Times};}{\f3 M\'fcller ;}})"
      R"(a\f1 b\plain c})");
  ASSERT_EQ(document.fonts.size(), 4u);
  const std::u32string names[] = {U"Arial", U"Courier New", U"Times New Roman", U"M\u00fcller"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(document.fonts[static_cast<size_t>(i)].number, i);
    EXPECT_EQ(Utf8(document.fonts[static_cast<size_t>(i)].name), Utf8(names[i]));
  }
  // \deff gives the font of text that names none, and of \plain.
  EXPECT_EQ(Describe(document), "a{f0}/b{f1}/c{f0}");
  EXPECT_EQ(document.FindFont(7), nullptr);
}

TEST(RtfReaderTest, FontTableWithoutEntryGroups) {
  const RtfDocument document = ReadRtf(R"({\rtf1{\fonttbl\f0 Arial;\f5 Symbol;}\f5 x})");
  ASSERT_EQ(document.fonts.size(), 2u);
  EXPECT_EQ(Utf8(document.FindFont(5)->name), "Symbol");
  // An entry that ends with its group instead of ';' is trimmed as well.
  const RtfDocument unterminated = ReadRtf(R"({\rtf1{\fonttbl{\f0 Arial }{\f1 Tahoma;}}x})");
  EXPECT_EQ(Utf8(unterminated.FindFont(0)->name), "Arial");
  EXPECT_EQ(Utf8(unterminated.FindFont(1)->name), "Tahoma");
  // Nothing of the table reaches the text.
  EXPECT_EQ(Describe(unterminated), "x");
}

TEST(RtfReaderTest, ColourTableStartsWithAutomaticAndClampsComponents) {
  const RtfDocument document =
      ReadRtf(R"({\rtf1{\colortbl ;\red255\green0\blue0;\red0\green0\blue999;\red-4;}\cf1 r\cf2 b\cf9 x})");
  ASSERT_EQ(document.colors.size(), 4u);
  EXPECT_FALSE(document.colors[0].has_value());
  EXPECT_EQ(document.ColorAt(1), (RtfColor{255, 0, 0}));
  EXPECT_EQ(document.ColorAt(2), (RtfColor{0, 0, 255}));
  EXPECT_EQ(document.ColorAt(3), (RtfColor{0, 0, 0}));
  EXPECT_FALSE(document.ColorAt(9).has_value());
  EXPECT_FALSE(document.ColorAt(-1).has_value());
  EXPECT_EQ(Describe(document), "r{cf1}/b{cf2}/x{cf9}");
}

TEST(RtfReaderTest, ParagraphTakesTheFormatInForceAtItsEnd) {
  const RtfDocument document = ReadRtf(
      R"({\rtf1\pard\qc\li720\ri360\fi-360\sb120\sa240 centred\par )"
      R"(left \qr now right\par\pard plain\par{\qj grouped\par}back\par})");
  ASSERT_EQ(document.paragraphs.size(), 5u);
  const RtfParagraphFormat centred{RtfAlignment::kCenter, 720, 360, -360, 120, 240};
  EXPECT_EQ(document.paragraphs[0].format, centred);
  // The alignment set inside the second paragraph applies to all of it.
  EXPECT_EQ(document.paragraphs[1].format.alignment, RtfAlignment::kRight);
  EXPECT_EQ(document.paragraphs[2].format, RtfParagraphFormat{});
  EXPECT_EQ(document.paragraphs[3].format.alignment, RtfAlignment::kJustify);
  EXPECT_EQ(document.paragraphs[4].format.alignment, RtfAlignment::kLeft);
}

TEST(RtfReaderTest, IndentsAndSpacingAreClamped) {
  const RtfDocument document =
      ReadRtf(R"({\rtf1\li99999999999\ri-99999999999\fi-40000\sb-5\sa999999 x})");
  const RtfParagraphFormat expected{RtfAlignment::kLeft, 31680, -31680, -31680, 0, 31680};
  ASSERT_EQ(document.paragraphs.size(), 1u);
  EXPECT_EQ(document.paragraphs[0].format, expected);
}

TEST(RtfReaderTest, EmptyParagraphKeepsTheFontItEndedIn) {
  const RtfDocument document = ReadRtf(R"({\rtf1 a\par\fs48\par b})");
  ASSERT_EQ(document.paragraphs.size(), 3u);
  EXPECT_TRUE(document.paragraphs[1].runs.empty());
  EXPECT_EQ(document.paragraphs[1].end_format.half_points, 48);
}

std::string Nested(int depth, const std::string& inner) {
  return std::string(static_cast<size_t>(depth), '{') + inner + std::string(static_cast<size_t>(depth), '}');
}

TEST(RtfReaderTest, GroupsNestedBeyondTheLimitAreSkippedWithTheirText) {
  // The document's own group is the first level.
  const int deepest_kept = kMaxRtfGroupDepth - 1;
  EXPECT_EQ(Describe(ReadRtf("{\\rtf1 a" + Nested(deepest_kept, "\\b x") + "b}")), "a/x{b}/b");
  EXPECT_EQ(Describe(ReadRtf("{\\rtf1 a" + Nested(deepest_kept + 1, "\\b x") + "b}")), "ab");
}

TEST(RtfReaderTest, VeryDeepOrUnbalancedNestingNeitherCrashesNorLosesTheEnd) {
  EXPECT_EQ(Describe(ReadRtf("{\\rtf1 a" + Nested(1'000'000, "x") + "b}")), "ab");
  // Opened and never closed: what came before the deep part stays.
  EXPECT_EQ(Describe(ReadRtf("{\\rtf1 a" + std::string(1'000'000, '{') + "x")), "a");
}

TEST(RtfReaderTest, LooksLikeRtfOnlyForTheDocumentStart) {
  const struct {
    const char* text;
    bool rtf;
  } cases[] = {
      {"{\\rtf1\\ansi x}", true}, {"{\\rtf", true},   {" {\\rtf1", false}, {"{\\RTF1", false},
      {"{\\rt", false},            {"plain", false}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(LooksLikeRtf(c.text), c.rtf) << c.text;
}

}  // namespace
}  // namespace vork
