#include "objects/html/html_viewer.h"

#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <QTextDocument>
#include <exception>
#include <string>

#include "objects/stage_control.h"
#include "platform/qt/font.h"
#include "platform/qt/qt_text.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

constexpr char kDefaultFace[] = "Times New Roman";
constexpr char kDefaultPreFace[] = "Courier New";

std::string LineBreaksAsCrLf(const QString& text) {
  QString copy = text;
  copy.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  copy.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return FromQString(copy);
}

}  // namespace

TVkHTMLViewer::TVkHTMLViewer(QWidget* parent, TVkResManager* resources)
    : QTextBrowser(parent),
      resources_(resources),
      font_family_(FontFamilyFor(kDefaultFace)),
      pre_font_family_(FontFamilyFor(kDefaultPreFace)) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
  SetBorder(false);
  SetSelectable(false);
  SetDefaultBackground(0xFFFFFF);
  SetDefaultFontColor(0);
  ApplyFont(font_family_);
  connect(this, &QTextBrowser::anchorClicked, this, &TVkHTMLViewer::AnchorClicked);
}

void TVkHTMLViewer::LoadDocument(std::string_view name) {
  if (!resources_) throw std::logic_error("HTML viewer has no resource manager");
  // The stream is freed before the document is laid out.
  const std::string source = resources_->OpenResource(name)->ReadAll();
  LoadHtml(source);
}

void TVkHTMLViewer::LoadHtml(std::string_view source) {
  ApplyFont(font_family_);
  setHtml(ToQString(source));
}

void TVkHTMLViewer::LoadPlainText(std::string_view text) {
  ApplyFont(pre_font_family_);
  setPlainText(ToQString(text));
}

void TVkHTMLViewer::LoadLines(const std::vector<std::string>& lines) {
  std::string source;
  for (const std::string& line : lines) {
    if (&line != &lines.front()) source += "\r\n";
    source += line;
  }
  LoadHtml(source);
}

void TVkHTMLViewer::ClearDocument() { clear(); }

void TVkHTMLViewer::SetBorder(bool single_line) {
  if (single_line) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
  } else {
    setFrameStyle(QFrame::NoFrame);
  }
}

void TVkHTMLViewer::SetSelectable(bool selectable) {
  Qt::TextInteractionFlags flags = Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard;
  if (selectable) flags |= Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
  setTextInteractionFlags(flags);
  if (!selectable) {
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    setTextCursor(cursor);
  }
}

std::string TVkHTMLViewer::SelectedText() const { return LineBreaksAsCrLf(textCursor().selectedText()); }

void TVkHTMLViewer::SetDefaultBackground(int32_t color) { SetControlColor(this, QPalette::Base, color); }

void TVkHTMLViewer::SetDefaultFontColor(int32_t color) { SetControlColor(this, QPalette::Text, color); }

void TVkHTMLViewer::SetDefaultFontName(std::string_view face) {
  if (face.empty()) return;
  font_family_ = FontFamilyFor(face);
  ApplyFont(font_family_);
}

void TVkHTMLViewer::SetDefaultPreFontName(std::string_view face) {
  if (!face.empty()) pre_font_family_ = FontFamilyFor(face);
}

void TVkHTMLViewer::SetDefaultFontSize(int32_t points) {
  if (points <= 0) return;
  font_points_ = std::min(points, 1000);
  ApplyFont(font_family_);
}

void TVkHTMLViewer::ApplyFont(const QString& family) {
  QFont font(family);
  font.setPointSize(font_points_);
  document()->setDefaultFont(font);
}

void TVkHTMLViewer::PositionTo(std::string_view anchor) {
  ScrollToTop();
  scrollToAnchor(ToQString(anchor));
}

void TVkHTMLViewer::ScrollToTop() {
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
}

QByteArray TVkHTMLViewer::ImageRequested(std::string_view source) {
  if (!resources_ || !resources_->ResourceExists(source)) return {};
  // A name the manager knows may still fail to open (a loose media file, a
  // damaged archive): that is a missing picture too, never a fault inside
  // the layout of the page.
  try {
    auto stream = resources_->OpenResource(source);
    if (stream->Size() > kMaxPictureResourceBytes) return {};
    const std::string bytes = stream->ReadAll();
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
  } catch (const std::exception&) {
    return {};
  }
}

QVariant TVkHTMLViewer::loadResource(int type, const QUrl& name) {
  // Nothing is ever read from the file system: pictures come from the
  // course, and style sheets or linked documents are not loaded at all.
  if (type != QTextDocument::ImageResource) return {};
  const QByteArray bytes = ImageRequested(FromQString(name.toString()));
  if (bytes.isEmpty()) return {};
  return bytes;
}

void TVkHTMLViewer::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  released_anchor_ = anchorAt(at);
  QPointer<TVkHTMLViewer> alive(this);
  // Reports a clicked link (AnchorClicked) before the release itself.
  QTextBrowser::mouseReleaseEvent(event);
  if (!alive) return;
  released_anchor_.clear();
  if (!OnMouseUp) return;
  const auto handler = OnMouseUp;  // the handler may release its owner
  const QPoint in_viewer = viewport()->mapTo(this, at);
  handler(MouseButtonFromQt(event->button()), ShiftStateFromQt(event->modifiers(), event->buttons()),
          in_viewer.x(), in_viewer.y());
}

void TVkHTMLViewer::AnchorClicked(const QUrl& link) {
  const QString target = released_anchor_.isEmpty() ? link.toString() : released_anchor_;
  if (!OnHotSpotClick) return;
  const auto handler = OnHotSpotClick;
  handler(FromQString(target));
}

}  // namespace vork
