#pragma once
// A modal question with buttons named by the caller ("&Directories|&Files").
// The first button answers 11, the second 12, the third 13; closing the box
// otherwise answers 2 (cancel).

#include <string>
#include <string_view>
#include <vector>

namespace vork {

constexpr int kFirstButton = 11;
constexpr int kDialogClosed = 2;

enum class DialogPlacement { Screen, ActiveWindow };

class MessageBoxes;

// The question as boxes ask it, for hosts without a dialog of their own
// (a window run shows AskWithButtonDialogWindow, platform/qt/
// button_dialog_window.h): TranscriptBoxes write "question: " + message and
// take the next answer ("11", "12", "13"; "yes" or "ok" for the first
// button, "no" for the second, "cancel" for none); other boxes show a
// Yes/No(/Cancel) question that names the buttons in its text.
int AskThroughBoxes(MessageBoxes& boxes, std::string_view message, const std::vector<std::string>& buttons);

// "|a|b", "a|b|" and "a|b" all give {"a", "b"}.
std::vector<std::string> ButtonCaptions(std::string_view captions);

// Asks the host (PlayerHost::ButtonDialog).
int ButtonDialog(std::string_view message, std::string_view caption, std::string_view captions,
                 DialogPlacement placement);

}  // namespace vork
