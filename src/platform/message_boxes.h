#pragma once
// The one way the program asks or tells the user something in a box.
//
// Every message box, question and error box goes through the host's
// MessageBoxes (player_host.h): a Qt implementation in a window run, a
// TranscriptBoxes in a headless run; without a host, boxes go to standard
// error as transcript lines and take their first button.

#include <deque>
#include <iosfwd>
#include <string>
#include <string_view>

namespace vork {

enum class BoxKind { Plain, Info, Warning, Error, Question };

enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };

// The Windows dialog result codes, which the bytecode also sees.
enum class BoxResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // text is course text (Windows-1252 bytes).
  virtual BoxResult Show(BoxKind kind, std::string_view text, BoxButtons buttons) = 0;
};

// The host's boxes: Host().Boxes().
MessageBoxes& Boxes();
// Transcript lines on standard error, each box taking its first button.
MessageBoxes& DefaultBoxes();

// Shorthands for the common boxes.
inline void ShowPlain(std::string_view text) { Boxes().Show(BoxKind::Plain, text, BoxButtons::Ok); }
inline void ShowError(std::string_view text) { Boxes().Show(BoxKind::Error, text, BoxButtons::Ok); }
inline void ShowInfo(std::string_view text) { Boxes().Show(BoxKind::Info, text, BoxButtons::Ok); }
inline void ShowWarning(std::string_view text) { Boxes().Show(BoxKind::Warning, text, BoxButtons::Ok); }

// Answers given in advance for a transcript run, used in order.
class TranscriptAnswers {
 public:
  TranscriptAnswers() = default;
  // Comma-separated list as given to --answers.
  explicit TranscriptAnswers(std::string_view list);
  bool Empty() const { return answers_.empty(); }
  // The next answer, or "" when none is left.
  std::string Take();

 private:
  std::deque<std::string> answers_;
};

// Writes each box as one line "KIND: TEXT" (UTF-8; CR LF, lone CR and lone LF
// written as the two characters \n) and answers it at once from the answers.
class TranscriptBoxes : public MessageBoxes {
 public:
  TranscriptBoxes(std::ostream& out, TranscriptAnswers& answers);
  BoxResult Show(BoxKind kind, std::string_view text, BoxButtons buttons) override;
  // Writes an arbitrary "KIND: TEXT" line (dialogs that are not boxes).
  void WriteLine(std::string_view kind, std::string_view text);
  TranscriptAnswers& Answers() { return answers_; }

 private:
  std::ostream& out_;
  TranscriptAnswers& answers_;
};

// "plain", "info", ...
std::string_view BoxKindName(BoxKind kind);
// Course text as one transcript line: UTF-8 with line breaks escaped.
std::string TranscriptText(std::string_view text);

}  // namespace vork
