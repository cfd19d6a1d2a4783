#include "platform/button_dialog.h"

#include "platform/message_boxes.h"
#include "platform/player_host.h"

namespace vork {

namespace {

int TranscriptAnswer(TranscriptBoxes& transcript, std::string_view message, size_t buttons) {
  transcript.WriteLine("question", message);
  std::string answer = transcript.Answers().Take();
  if (answer.empty() || answer == "yes" || answer == "ok") return kFirstButton;
  if (answer == "no" && buttons >= 2) return kFirstButton + 1;
  if (answer == "cancel") return kDialogClosed;
  for (size_t i = 0; i < buttons; ++i)
    if (answer == std::to_string(kFirstButton + static_cast<int>(i)))
      return kFirstButton + static_cast<int>(i);
  return kFirstButton;
}

std::string WithoutAccelerator(const std::string& caption) {
  std::string plain;
  for (char c : caption)
    if (c != '&') plain += c;
  return plain;
}

int BoxAnswer(MessageBoxes& boxes, std::string_view message, const std::vector<std::string>& buttons) {
  static const char* const kBoxButtons[] = {"Yes", "No", "Cancel"};
  std::string text(message);
  text += "\r\n";
  for (size_t i = 0; i < buttons.size() && i < 3; ++i)
    text += std::string(i ? ", " : "") + kBoxButtons[i] + ": " + WithoutAccelerator(buttons[i]);
  // With fewer than three buttons, Cancel stands for closing without a choice.
  switch (boxes.Show(BoxKind::Question, text, BoxButtons::YesNoCancel)) {
    case BoxResult::Yes: return kFirstButton;
    case BoxResult::No: return kFirstButton + 1;
    case BoxResult::Cancel: return buttons.size() >= 3 ? kFirstButton + 2 : kDialogClosed;
    default: return kDialogClosed;
  }
}

}  // namespace

int AskThroughBoxes(MessageBoxes& boxes, std::string_view message, const std::vector<std::string>& buttons) {
  if (auto* transcript = dynamic_cast<TranscriptBoxes*>(&boxes))
    return TranscriptAnswer(*transcript, message, buttons.size());
  return BoxAnswer(boxes, message, buttons);
}

std::vector<std::string> ButtonCaptions(std::string_view captions) {
  if (!captions.empty() && captions.front() == '|') captions.remove_prefix(1);
  std::vector<std::string> buttons;
  while (!captions.empty()) {
    size_t bar = captions.find('|');
    buttons.emplace_back(captions.substr(0, bar));
    if (bar == std::string_view::npos) break;
    captions.remove_prefix(bar + 1);
  }
  return buttons;
}

int ButtonDialog(std::string_view message, std::string_view caption, std::string_view captions,
                 DialogPlacement placement) {
  return Host().ButtonDialog(message, caption, ButtonCaptions(captions), placement);
}

}  // namespace vork
