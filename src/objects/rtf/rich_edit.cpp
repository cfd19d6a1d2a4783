#include "objects/rtf/rich_edit.h"

#include <QPalette>
#include <QTextCharFormat>

#include "objects/rtf/rtf_reader.h"
#include "objects/rtf/rtf_text_document.h"
#include "objects/rtf/text_printing.h"
#include "platform/qt/font.h"
#include "platform/qt/qt_text.h"

namespace vork {

namespace {

// A rich-edit control's default tab stops: every half inch.
constexpr qreal kTabStopPixels = 48;

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

}  // namespace

TVkRichEdit::TVkRichEdit(QWidget* parent) : QTextEdit(parent) {
  setFrameShape(QFrame::NoFrame);
  setFont(TVkFont("Courier New", 10, 0).ToQFont());
  QPalette colors = palette();
  colors.setColor(QPalette::Base, Qt::white);
  colors.setColor(QPalette::Text, Qt::black);
  setPalette(colors);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setTabStopDistance(kTabStopPixels);
  setGeometry(0, 0, 100, 100);
}

void TVkRichEdit::LoadLines(const std::vector<std::string>& lines) {
  // Line ends carry no meaning inside RTF, so joining the lines again gives
  // the reader the resource as it was stored.
  const std::string text = JoinLines(lines);
  if (LooksLikeRtf(text)) {
    FillTextDocument(*document(), ReadRtf(text), font());
    moveCursor(QTextCursor::Start);
  } else {
    // Plain lines take the control's own font, not the format of what was
    // shown before.
    setCurrentCharFormat(QTextCharFormat());
    setPlainText(ToQString(text));
  }
}

std::string TVkRichEdit::Text() const { return FromQString(toPlainText()); }

void TVkRichEdit::SetBackgroundColor(const QColor& color) {
  QPalette colors = palette();
  colors.setColor(QPalette::Base, color);
  setPalette(colors);
}

void TVkRichEdit::Print(std::string_view title) const { PrintTextDocument(*document(), title); }

}  // namespace vork
