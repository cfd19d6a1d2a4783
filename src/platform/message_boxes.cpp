#include "platform/message_boxes.h"

#include <cstdlib>
#include <iostream>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/player_host.h"

namespace vork {

namespace {

TranscriptAnswers& DefaultAnswers() {
  static TranscriptAnswers answers;
  return answers;
}

bool Offers(BoxButtons buttons, BoxResult result) {
  switch (buttons) {
    case BoxButtons::Ok: return result == BoxResult::Ok;
    case BoxButtons::OkCancel: return result == BoxResult::Ok || result == BoxResult::Cancel;
    case BoxButtons::YesNo: return result == BoxResult::Yes || result == BoxResult::No;
    case BoxButtons::YesNoCancel:
      return result == BoxResult::Yes || result == BoxResult::No || result == BoxResult::Cancel;
  }
  return false;
}

BoxResult FirstButton(BoxButtons buttons) {
  return buttons == BoxButtons::YesNo || buttons == BoxButtons::YesNoCancel ? BoxResult::Yes
                                                                            : BoxResult::Ok;
}

}  // namespace

MessageBoxes& Boxes() { return Host().Boxes(); }

MessageBoxes& DefaultBoxes() {
  static TranscriptBoxes boxes(std::cerr, DefaultAnswers());
  return boxes;
}

TranscriptAnswers::TranscriptAnswers(std::string_view list) {
  while (!list.empty()) {
    auto comma = list.find(',');
    answers_.emplace_back(list.substr(0, comma));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
}

std::string TranscriptAnswers::Take() {
  if (answers_.empty()) return {};
  std::string answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

std::string_view BoxKindName(BoxKind kind) {
  switch (kind) {
    case BoxKind::Plain: return "plain";
    case BoxKind::Info: return "info";
    case BoxKind::Warning: return "warning";
    case BoxKind::Error: return "error";
    case BoxKind::Question: return "question";
  }
  return "plain";
}

std::string TranscriptText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      escaped += "\\n";
    } else if (c == '\n') {
      escaped += "\\n";
    } else {
      escaped += c;
    }
  }
  return Cp1252ToUtf8(escaped);
}

TranscriptBoxes::TranscriptBoxes(std::ostream& out, TranscriptAnswers& answers)
    : out_(out), answers_(answers) {}

void TranscriptBoxes::WriteLine(std::string_view kind, std::string_view text) {
  out_ << kind << ": " << TranscriptText(text) << '\n' << std::flush;
}

BoxResult TranscriptBoxes::Show(BoxKind kind, std::string_view text, BoxButtons buttons) {
  WriteLine(BoxKindName(kind), text);
  std::string answer = answers_.Take();
  BoxResult result = FirstButton(buttons);
  if (answer == "ok") result = BoxResult::Ok;
  else if (answer == "yes") result = BoxResult::Yes;
  else if (answer == "no") result = BoxResult::No;
  else if (answer == "cancel") result = BoxResult::Cancel;
  return Offers(buttons, result) ? result : FirstButton(buttons);
}

[[noreturn]] void FatalInternalError(const std::string& detail) {
  std::string text = "INTERNAL ERROR";
  if (!detail.empty()) text += " (" + detail + ")";
  Boxes().Show(BoxKind::Error, text, BoxButtons::Ok);
  std::cerr.flush();
  std::_Exit(3);
}

}  // namespace vork
