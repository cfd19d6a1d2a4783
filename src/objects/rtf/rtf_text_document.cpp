#include "objects/rtf/rtf_text_document.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/qt/font.h"
#include "platform/qt/qt_text.h"

namespace vork {

namespace {

// Twips to the document's pixels at 96 per inch, the resolution of the
// course stage.
qreal Pixels(int twips) { return twips / 15.0; }

QString FromUtf32(const std::u32string& text) {
  return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment ToAlignment(RtfAlignment alignment) {
  switch (alignment) {
    case RtfAlignment::kCenter: return Qt::AlignHCenter;
    case RtfAlignment::kRight: return Qt::AlignRight;
    case RtfAlignment::kJustify: return Qt::AlignJustify;
    case RtfAlignment::kLeft: break;
  }
  return Qt::AlignLeft;
}

QTextBlockFormat BlockFormat(const RtfParagraphFormat& paragraph) {
  QTextBlockFormat format;
  format.setAlignment(ToAlignment(paragraph.alignment));
  format.setLeftMargin(Pixels(paragraph.left_indent));
  format.setRightMargin(Pixels(paragraph.right_indent));
  format.setTextIndent(Pixels(paragraph.first_line_indent));
  format.setTopMargin(Pixels(paragraph.space_before));
  format.setBottomMargin(Pixels(paragraph.space_after));
  return format;
}

class CharFormats {
 public:
  CharFormats(const RtfDocument& rtf, const QFont& base) : rtf_(rtf), base_(base) {}

  QTextCharFormat For(const RtfCharFormat& chars) const {
    QTextCharFormat format;
    const RtfFont* font = rtf_.FindFont(chars.font);
    format.setFontFamilies({font && !font->name.empty() ? FamilyFor(font->name) : base_.family()});
    format.setFontPointSize(chars.half_points / 2.0);
    format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chars.italic);
    format.setFontUnderline(chars.underline);
    format.setFontStrikeOut(chars.strike_out);
    if (const auto color = rtf_.ColorAt(chars.color))
      format.setForeground(QColor(color->red, color->green, color->blue));
    return format;
  }

 private:
  // The face names in the table are Unicode; the mapping speaks course text.
  static QString FamilyFor(const std::u32string& name) { return FontFamilyFor(FromQString(FromUtf32(name))); }

  const RtfDocument& rtf_;
  const QFont& base_;
};

}  // namespace

void FillTextDocument(QTextDocument& target, const RtfDocument& rtf, const QFont& base) {
  target.clear();
  const CharFormats formats(rtf, base);
  QTextCursor cursor(&target);
  cursor.beginEditBlock();
  bool first = true;
  for (const RtfParagraph& paragraph : rtf.paragraphs) {
    const QTextCharFormat end_format = formats.For(paragraph.end_format);
    if (first) {
      cursor.setBlockFormat(BlockFormat(paragraph.format));
      cursor.setBlockCharFormat(end_format);
      first = false;
    } else {
      cursor.insertBlock(BlockFormat(paragraph.format), end_format);
    }
    for (const RtfRun& run : paragraph.runs) cursor.insertText(FromUtf32(run.text), formats.For(run.format));
  }
  cursor.endEditBlock();
}

}  // namespace vork
