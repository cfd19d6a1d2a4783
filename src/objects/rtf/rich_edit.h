#pragma once
// TVkRichEdit: the memo's multi-line rich-text control. It starts as the
// memo shows text before a course sets anything: no frame, white background,
// black "Courier New" 10 points, scroll bars as the text needs them, lines
// wrapped at the control's width.

#include <QTextEdit>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

class TVkRichEdit : public QTextEdit {
  Q_OBJECT

 public:
  explicit TVkRichEdit(QWidget* parent = nullptr);

  // Replaces the text by the lines of a text resource (Windows-1252): when
  // they form an RTF document it is shown formatted, else each line is a
  // paragraph of plain text in the control's font.
  void LoadLines(const std::vector<std::string>& lines);
  // The text as course text, one '\n' between paragraphs and lines.
  std::string Text() const;
  void SetBackgroundColor(const QColor& color);
  // Prints the whole text as one job named title (PrintTextDocument).
  void Print(std::string_view title) const;
};

}  // namespace vork
