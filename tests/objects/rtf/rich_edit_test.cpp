// The memo's rich-text control: RTF resources shown formatted, plain lines
// shown as course text, and the whole text printed.

#include "objects/rtf/rich_edit.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <string>
#include <vector>

#include "support/memo_test_support.h"
#include "platform/errors.h"
#include "platform/qt/font.h"

namespace vork::testing {
namespace {

// As a text resource arrives: one entry a line, Windows-1252 bytes.
const std::vector<std::string> kBearRtf = {
    R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Courier New;}{\f1\fswiss Arial;}})",
    R"({\colortbl ;\red255\green0\blue0;})",
    R"({\*\generator Riched20 5.50;}\viewkind4\uc1\pard\f1\fs28 Der \b B\'e4r\b0  ist \cf1 rot\cf0 .\par)",
    R"(\qc\fs20 zentriert\par)",
    R"(})",
};

// The format of the character at the first occurrence of text.
QTextCharFormat FormatAt(const TVkRichEdit& edit, const QString& text) {
  const int at = edit.toPlainText().indexOf(text);
  EXPECT_GE(at, 0) << text.toStdString();
  QTextCursor cursor(edit.document());
  cursor.setPosition(at + 1);
  return cursor.charFormat();
}

bool HasReddishPixel(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c(image.pixel(x, y));
      if (c.red() > 180 && c.green() < 90 && c.blue() < 90) return true;
    }
  return false;
}

TEST(RichEditTest, RtfResourceShowsBoldColourAndEscapedLetters) {
  TVkRichEdit edit;
  edit.setGeometry(0, 0, 320, 120);
  edit.LoadLines(kBearRtf);

  EXPECT_EQ(edit.Text(), "Der B\xe4r ist rot.\nzentriert");
  const QTextCharFormat der = FormatAt(edit, "Der");
  EXPECT_EQ(der.fontWeight(), QFont::Normal);
  EXPECT_EQ(der.fontFamilies().toStringList(), QStringList{FontFamilyFor("Arial")});
  EXPECT_EQ(der.fontPointSize(), 14);
  const QTextCharFormat bear = FormatAt(edit, QString::fromUtf8("B\u00e4r"));
  EXPECT_EQ(bear.fontWeight(), QFont::Bold);
  const QTextCharFormat red = FormatAt(edit, "rot");
  EXPECT_EQ(red.fontWeight(), QFont::Normal);
  EXPECT_EQ(red.foreground().color(), QColor(255, 0, 0));
  // \cf0 is the automatic colour: no colour of its own.
  EXPECT_FALSE(FormatAt(edit, ".").hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(edit.document()->lastBlock().blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(FormatAt(edit, "zentriert").fontPointSize(), 10);

  const QImage shot = edit.grab().toImage();
  SaveScreenshot(shot, "rtf_bold_colour_umlaut");
  EXPECT_TRUE(HasReddishPixel(shot));
}

TEST(RichEditTest, ParagraphIndentsAndSpacingBecomePixels) {
  TVkRichEdit edit;
  edit.LoadLines({R"({\rtf1\li1440\ri720\fi-360\sb300\sa150\qr x})"});
  const QTextBlockFormat format = edit.document()->firstBlock().blockFormat();
  EXPECT_EQ(format.alignment(), Qt::AlignRight);
  EXPECT_DOUBLE_EQ(format.leftMargin(), 96);  // an inch at 96 pixels an inch
  EXPECT_DOUBLE_EQ(format.rightMargin(), 48);
  EXPECT_DOUBLE_EQ(format.textIndent(), -24);
  EXPECT_DOUBLE_EQ(format.topMargin(), 20);
  EXPECT_DOUBLE_EQ(format.bottomMargin(), 10);
}

TEST(RichEditTest, PlainLinesAreCourseTextInTheControlsOwnFont) {
  TVkRichEdit edit;
  edit.LoadLines(kBearRtf);
  // "Grüße € 5" in Windows-1252, then an empty line.
  edit.LoadLines({"Gr\xfc\xdf" "e \x80 5", "", "{not rtf}", "\\rtf1 neither"});
  EXPECT_EQ(edit.toPlainText(), QString::fromUtf8("Gr\u00fc\u00dfe \u20ac 5\n\n{not rtf}\n\\rtf1 neither"));
  EXPECT_EQ(edit.Text(), "Gr\xfc\xdf" "e \x80 5\n\n{not rtf}\n\\rtf1 neither");
  EXPECT_EQ(edit.document()->blockCount(), 4);
  // Nothing of the formatted text before carries over.
  const QTextCharFormat format = FormatAt(edit, "Gr");
  EXPECT_NE(format.fontWeight(), QFont::Bold);
  EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(QFontInfo(format.font()).family(), QFontInfo(edit.font()).family());
}

TEST(RichEditTest, PrintsTheWholeTextAsOneTitledJob) {
  TVkRichEdit edit;
  std::vector<std::string> lines = kBearRtf;
  // Far more than the 100 x 100 control shows: all of it must be printed.
  lines.pop_back();
  for (int i = 1; i <= 120; ++i) lines.push_back("Zeile " + std::to_string(i) + "\\par");
  lines.push_back("}");
  edit.LoadLines(lines);

  const std::string path = TemporaryPdfPath("bear");
  {
    PrintToPdf redirect(path);
    edit.Print("Lektion \xe4");  // Windows-1252
  }
  const PrintedPdf pdf = ReadPdf(path);
  EXPECT_EQ(pdf.title, "Lektion \u00e4");
  EXPECT_GE(pdf.pages, 2);
  for (const char* expected : {"Der B\u00e4r ist rot.", "zentriert", "Zeile 1\n", "Zeile 120"})
    EXPECT_NE(pdf.text.find(expected), std::string::npos) << expected << " not in:\n" << pdf.text;
}

TEST(RichEditTest, APrintJobThatCannotStartFailsNamingTheTitle) {
  TVkRichEdit edit;
  edit.LoadLines({"text"});
  PrintToPdf redirect("/nonexistent-folder/for/vork/out.pdf");
  try {
    edit.Print("My title");
    FAIL() << "printing into a missing folder succeeded";
  } catch (const EVkError& error) {
    EXPECT_NE(std::string(error.what()).find("\"My title\""), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace vork::testing
