#include "objects/rtf/rtf_reader.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "objects/rtf/rtf_tokenizer.h"
#include "platform/cp1252.h"

namespace vork {

namespace {

// Limits that keep absurd numbers from reaching the layout: 22 inches is the
// largest page length a rich-edit control accepts, 1638 points its largest
// font size.
constexpr int kMaxTwips = 22 * 1440;
constexpr int kMaxHalfPoints = 2 * 1638;
// \ucN beyond this would only swallow the text after a \u character.
constexpr int kMaxFallbackLength = 16;

enum class Destination { kBody, kFontTable, kColorTable, kSkip };

enum class Action {
  kCharacter,  // value: the character to insert
  kParagraphEnd,
  kSkipDestination,
  kFontTable,
  kColorTable,
  kRed,
  kGreen,
  kBlue,
  kBold,
  kItalic,
  kUnderline,
  kUnderlineNone,
  kStrikeOut,
  kPlain,
  kFont,
  kFontSize,
  kColor,
  kDefaultFont,
  kParagraphDefaults,
  kAlignment,  // value: an RtfAlignment
  kLeftIndent,
  kRightIndent,
  kFirstLineIndent,
  kSpaceBefore,
  kSpaceAfter,
  kUnicode,
  kFallbackLength,
  kBinary,
};

struct WordAction {
  Action action;
  char32_t value = 0;
};

const std::unordered_map<std::string_view, WordAction>& WordActions() {
  static const std::unordered_map<std::string_view, WordAction> table = [] {
    std::unordered_map<std::string_view, WordAction> words = {
        {"par", {Action::kParagraphEnd}},
        {"sect", {Action::kParagraphEnd}},
        {"page", {Action::kParagraphEnd}},
        {"row", {Action::kParagraphEnd}},
        {"line", {Action::kCharacter, kRtfLineBreak}},
        {"tab", {Action::kCharacter, U'\t'}},
        {"cell", {Action::kCharacter, U'\t'}},
        {"emdash", {Action::kCharacter, U'\u2014'}},
        {"endash", {Action::kCharacter, U'\u2013'}},
        {"emspace", {Action::kCharacter, U'\u2003'}},
        {"enspace", {Action::kCharacter, U'\u2002'}},
        {"qmspace", {Action::kCharacter, U'\u2005'}},
        {"bullet", {Action::kCharacter, U'\u2022'}},
        {"lquote", {Action::kCharacter, U'\u2018'}},
        {"rquote", {Action::kCharacter, U'\u2019'}},
        {"ldblquote", {Action::kCharacter, U'\u201C'}},
        {"rdblquote", {Action::kCharacter, U'\u201D'}},
        {"fonttbl", {Action::kFontTable}},
        {"colortbl", {Action::kColorTable}},
        {"red", {Action::kRed}},
        {"green", {Action::kGreen}},
        {"blue", {Action::kBlue}},
        {"b", {Action::kBold}},
        {"i", {Action::kItalic}},
        {"ulnone", {Action::kUnderlineNone}},
        {"strike", {Action::kStrikeOut}},
        {"striked", {Action::kStrikeOut}},
        {"plain", {Action::kPlain}},
        {"f", {Action::kFont}},
        {"fs", {Action::kFontSize}},
        {"cf", {Action::kColor}},
        {"deff", {Action::kDefaultFont}},
        {"pard", {Action::kParagraphDefaults}},
        {"ql", {Action::kAlignment, static_cast<char32_t>(RtfAlignment::kLeft)}},
        {"qc", {Action::kAlignment, static_cast<char32_t>(RtfAlignment::kCenter)}},
        {"qr", {Action::kAlignment, static_cast<char32_t>(RtfAlignment::kRight)}},
        {"qj", {Action::kAlignment, static_cast<char32_t>(RtfAlignment::kJustify)}},
        {"li", {Action::kLeftIndent}},
        {"ri", {Action::kRightIndent}},
        {"fi", {Action::kFirstLineIndent}},
        {"sb", {Action::kSpaceBefore}},
        {"sa", {Action::kSpaceAfter}},
        {"u", {Action::kUnicode}},
        {"uc", {Action::kFallbackLength}},
        {"bin", {Action::kBinary}},
    };
    // Every underline style shows as a plain underline.
    for (std::string_view style : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                                   "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
                                   "ululdbwave", "ulw", "ulwave"})
      words.emplace(style, WordAction{Action::kUnderline});
    // Destinations whose content is never body text (\* groups are skipped
    // anyway; these are the ones older writers leave unstarred).
    for (std::string_view skipped :
         {"info", "stylesheet", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
          "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "fldinst", "filetbl", "revtbl",
          "listtable", "listoverridetable", "rsidtbl", "themedata", "colorschememapping", "latentstyles",
          "datastore", "xmlnstbl", "nonshppict", "shppict", "private", "author", "operator", "title", "subject",
          "keywords", "comment", "doccomm", "bkmkstart", "bkmkend", "xe", "tc", "txe", "field0"})
      words.emplace(skipped, WordAction{Action::kSkipDestination});
    return words;
  }();
  return table;
}

int Clamp(int value, int low, int high) { return std::clamp(value, low, high); }

bool IsHighSurrogate(int32_t code) { return code >= 0xD800 && code <= 0xDBFF; }
bool IsLowSurrogate(int32_t code) { return code >= 0xDC00 && code <= 0xDFFF; }

struct GroupState {
  Destination destination = Destination::kBody;
  RtfCharFormat chars;
  RtfParagraphFormat paragraph;
  int fallback_length = 1;  // \ucN: characters that stand in for each \uN
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view data) : tokens_(data) {}

  RtfDocument Read() {
    while (!done_) {
      const RtfToken token = tokens_.Next();
      if (token.kind == RtfTokenKind::kEnd) break;
      Take(token);
    }
    FinishParagraph(/*only_when_not_empty=*/true);
    return std::move(document_);
  }

 private:
  GroupState& State() { return groups_.back(); }

  void Take(const RtfToken& token) {
    switch (token.kind) {
      case RtfTokenKind::kGroupStart: return OpenGroup();
      case RtfTokenKind::kGroupEnd: return CloseGroup();
      default: break;
    }
    if (groups_.empty() || ignored_depth_ > 0) return;
    if (token.kind == RtfTokenKind::kControlWord && token.word == "bin") {
      // Binary data is never text, whether it is skipped or not.
      if (token.has_parameter) tokens_.SkipBinary(token.parameter);
    }
    if (fallback_left_ > 0) {
      --fallback_left_;
      return;
    }
    switch (token.kind) {
      case RtfTokenKind::kControlWord: return TakeWord(token);
      case RtfTokenKind::kControlSymbol: return TakeSymbol(token.byte);
      case RtfTokenKind::kHexByte: return TakeByte(token.byte);
      case RtfTokenKind::kText: return TakeByte(token.byte);
      default: return;
    }
  }

  void OpenGroup() {
    fallback_left_ = 0;
    if (ignored_depth_ > 0 || groups_.size() >= static_cast<size_t>(kMaxRtfGroupDepth)) {
      ++ignored_depth_;
      return;
    }
    groups_.push_back(groups_.empty() ? GroupState{} : State());
  }

  void CloseGroup() {
    fallback_left_ = 0;
    if (ignored_depth_ > 0) {
      --ignored_depth_;
      return;
    }
    if (groups_.empty()) return;  // a stray brace before the document
    if (groups_.size() == 1) {
      FinishParagraph(/*only_when_not_empty=*/true);
      done_ = true;
      return;
    }
    // A font entry may end with its group instead of a ';'.
    if (State().destination == Destination::kFontTable) EndFontEntry();
    groups_.pop_back();
  }

  void TakeSymbol(unsigned char symbol) {
    switch (symbol) {
      case '\\':
      case '{':
      case '}': return TakeByte(symbol);
      case '~': return Emit(U'\u00A0');
      case '_': return Emit(U'\u2011');
      case '*': State().destination = Destination::kSkip; return;
      case '\r':
      case '\n': return EndParagraph();
      default: return;  // \- optional hyphens, \| \: and anything unknown
    }
  }

  void TakeWord(const RtfToken& token) {
    const auto& actions = WordActions();
    const auto found = actions.find(token.word);
    if (found == actions.end()) return;
    const WordAction& word = found->second;
    const int32_t n = token.parameter;
    // Toggles: \b and \b1 switch on, \b0 off.
    const bool on = !token.has_parameter || n != 0;
    GroupState& state = State();
    switch (word.action) {
      case Action::kCharacter: return Emit(word.value);
      case Action::kParagraphEnd: return EndParagraph();
      case Action::kSkipDestination: state.destination = Destination::kSkip; return;
      case Action::kFontTable: EnterTable(Destination::kFontTable); return;
      case Action::kColorTable: EnterTable(Destination::kColorTable); return;
      case Action::kRed: pending_color_.red = ColorPart(token); pending_color_set_ = true; return;
      case Action::kGreen: pending_color_.green = ColorPart(token); pending_color_set_ = true; return;
      case Action::kBlue: pending_color_.blue = ColorPart(token); pending_color_set_ = true; return;
      case Action::kBold: state.chars.bold = on; return;
      case Action::kItalic: state.chars.italic = on; return;
      case Action::kUnderline: state.chars.underline = on; return;
      case Action::kUnderlineNone: state.chars.underline = false; return;
      case Action::kStrikeOut: state.chars.strike_out = on; return;
      case Action::kPlain: state.chars = RtfCharFormat{.font = default_font_}; return;
      case Action::kFont: return TakeFont(token);
      case Action::kFontSize:
        state.chars.half_points = n > 0 ? std::min(n, kMaxHalfPoints) : kRtfDefaultHalfPoints;
        return;
      case Action::kColor: state.chars.color = std::max(n, 0); return;
      case Action::kDefaultFont:
        default_font_ = n;
        state.chars.font = n;
        return;
      case Action::kParagraphDefaults: state.paragraph = RtfParagraphFormat{}; return;
      case Action::kAlignment: state.paragraph.alignment = static_cast<RtfAlignment>(word.value); return;
      case Action::kLeftIndent: state.paragraph.left_indent = Clamp(n, -kMaxTwips, kMaxTwips); return;
      case Action::kRightIndent: state.paragraph.right_indent = Clamp(n, -kMaxTwips, kMaxTwips); return;
      case Action::kFirstLineIndent: state.paragraph.first_line_indent = Clamp(n, -kMaxTwips, kMaxTwips); return;
      case Action::kSpaceBefore: state.paragraph.space_before = Clamp(n, 0, kMaxTwips); return;
      case Action::kSpaceAfter: state.paragraph.space_after = Clamp(n, 0, kMaxTwips); return;
      case Action::kUnicode:
        if (token.has_parameter) TakeUnicode(n);
        return;
      case Action::kFallbackLength: state.fallback_length = Clamp(n, 0, kMaxFallbackLength); return;
      case Action::kBinary: return;  // its data was skipped in Take
    }
  }

  static uint8_t ColorPart(const RtfToken& token) { return static_cast<uint8_t>(Clamp(token.parameter, 0, 255)); }

  void EnterTable(Destination table) {
    // A table inside a skipped group stays skipped.
    if (State().destination == Destination::kSkip) return;
    State().destination = table;
    font_entry_ = -1;
    pending_color_set_ = false;
    pending_color_ = {};
  }

  void TakeFont(const RtfToken& token) {
    if (State().destination == Destination::kFontTable) {
      document_.fonts.push_back(RtfFont{.number = token.parameter, .name = {}});
      font_entry_ = static_cast<int>(document_.fonts.size()) - 1;
    } else {
      State().chars.font = token.parameter;
    }
  }

  void TakeUnicode(int32_t n) {
    const int32_t code = n < 0 ? n + 65536 : n;
    fallback_left_ = State().fallback_length;
    if (code < 0 || code > 0xFFFF) return;
    if (IsHighSurrogate(code)) {
      FlushSurrogate();
      high_surrogate_ = static_cast<char32_t>(code);
      return;
    }
    if (IsLowSurrogate(code)) {
      if (high_surrogate_ == 0) return Emit(U'\uFFFD');
      const char32_t joined = 0x10000 + ((high_surrogate_ - 0xD800) << 10) + (static_cast<char32_t>(code) - 0xDC00);
      high_surrogate_ = 0;
      return Emit(joined);
    }
    Emit(static_cast<char32_t>(code));
  }

  // A high surrogate that no low one followed.
  void FlushSurrogate() {
    if (high_surrogate_ == 0) return;
    high_surrogate_ = 0;
    AppendToDestination(U'\uFFFD');
  }

  void TakeByte(unsigned char byte) {
    switch (State().destination) {
      case Destination::kFontTable:
        if (byte == ';') {
          EndFontEntry();
          return;
        }
        break;
      case Destination::kColorTable:
        if (byte == ';') {
          document_.colors.push_back(pending_color_set_ ? std::optional<RtfColor>(pending_color_) : std::nullopt);
          pending_color_ = {};
          pending_color_set_ = false;
        }
        return;
      default: break;
    }
    Emit(Cp1252ToUnicode(byte));
  }

  void EndFontEntry() {
    if (font_entry_ < 0) return;
    std::u32string& name = document_.fonts[static_cast<size_t>(font_entry_)].name;
    const size_t first = name.find_first_not_of(U' ');
    const size_t last = name.find_last_not_of(U' ');
    name = first == std::u32string::npos ? std::u32string() : name.substr(first, last - first + 1);
    font_entry_ = -1;
  }

  void Emit(char32_t c) {
    FlushSurrogate();
    AppendToDestination(c);
  }

  void AppendToDestination(char32_t c) {
    // Control characters other than tab and our line break never reach the
    // document: a \'0d or \u10 would otherwise split paragraphs behind the
    // reader's back.
    if (c < 0x20 && c != U'\t') return;
    switch (State().destination) {
      case Destination::kBody: return AppendToBody(c);
      case Destination::kFontTable:
        if (font_entry_ >= 0) document_.fonts[static_cast<size_t>(font_entry_)].name += c;
        return;
      default: return;
    }
  }

  void AppendToBody(char32_t c) {
    const RtfCharFormat& format = State().chars;
    if (paragraph_.runs.empty() || !(paragraph_.runs.back().format == format))
      paragraph_.runs.push_back(RtfRun{.text = {}, .format = format});
    paragraph_.runs.back().text += c;
  }

  void EndParagraph() {
    if (State().destination != Destination::kBody) return;
    FlushSurrogate();
    FinishParagraph(/*only_when_not_empty=*/false);
  }

  void FinishParagraph(bool only_when_not_empty) {
    if (only_when_not_empty && paragraph_.runs.empty()) return;
    if (!groups_.empty()) {
      paragraph_.format = State().paragraph;
      paragraph_.end_format = State().chars;
    }
    document_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = RtfParagraph{};
  }

  RtfTokenizer tokens_;
  RtfDocument document_;
  RtfParagraph paragraph_;
  std::vector<GroupState> groups_;
  int ignored_depth_ = 0;
  int fallback_left_ = 0;
  char32_t high_surrogate_ = 0;
  int default_font_ = -1;
  int font_entry_ = -1;
  RtfColor pending_color_;
  bool pending_color_set_ = false;
  bool done_ = false;
};

}  // namespace

bool LooksLikeRtf(std::string_view text) { return text.starts_with("{\\rtf"); }

RtfDocument ReadRtf(std::string_view data) { return RtfReader(data).Read(); }

}  // namespace vork
