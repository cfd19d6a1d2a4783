#pragma once
// A modal question with buttons named by the caller ("&Directories|&Files").
// The first button answers 11, the second 12, the third 13; closing the box
// otherwise answers 2 (cancel).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

constexpr int kFirstButton = 11;
constexpr int kDialogClosed = 2;

enum class DialogPlacement { Screen, ActiveWindow };

using ButtonDialogHandler =
    std::function<int(std::string_view message, std::string_view caption,
                      const std::vector<std::string>& buttons, DialogPlacement placement)>;

// A window run installs a dialog with real buttons (AskWithButtonDialogWindow,
// platform/qt/button_dialog_window.h); an empty handler restores the
// default, which asks through the installed message boxes: in a transcript
// run it writes "question: " + message and takes the next answer ("11",
// "12", "13"; "yes" or "ok" for the first button, "no" for the second,
// "cancel" for none); otherwise it shows a Yes/No(/Cancel) question that
// names the buttons in its text.
void SetButtonDialogHandler(ButtonDialogHandler handler);

// "|a|b", "a|b|" and "a|b" all give {"a", "b"}.
std::vector<std::string> ButtonCaptions(std::string_view captions);

int ButtonDialog(std::string_view message, std::string_view caption, std::string_view captions,
                 DialogPlacement placement);

}  // namespace vork
