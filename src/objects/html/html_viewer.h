#pragma once
// TVkHTMLViewer: a QTextBrowser whose documents and pictures come from the
// course's resources and never from the file system. Links are reported
// (OnHotSpotClick) and never followed; mouse releases are reported with the
// stage's button and shift words.
//
// Colours are Windows colour words and text is Windows-1252, as courses
// give them.

#include <QByteArray>
#include <QTextBrowser>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "scene/mouse_input.h"

namespace vork {

class TVkResManager;

class TVkHTMLViewer : public QTextBrowser {
 public:
  // No border, white background, black text, no text selection, pictures
  // shown. resources may be null: then every picture is missing.
  TVkHTMLViewer(QWidget* parent, TVkResManager* resources);

  // The document in the resource name; the resource manager's error when it
  // cannot be opened.
  void LoadDocument(std::string_view name);
  void LoadHtml(std::string_view source);
  // Shown in the preformatted face.
  void LoadPlainText(std::string_view text);
  // The lines joined by line breaks, as HTML source.
  void LoadLines(const std::vector<std::string>& lines);
  void ClearDocument();

  void SetBorder(bool single_line);
  void SetSelectable(bool selectable);
  // Paragraph breaks as CR LF; "" when nothing is selected.
  std::string SelectedText() const;
  void SetDefaultBackground(int32_t color);
  void SetDefaultFontColor(int32_t color);
  // Course face names ("Arial"); an empty name keeps the current face.
  void SetDefaultFontName(std::string_view face);
  void SetDefaultPreFontName(std::string_view face);
  // Points; 0 keeps the current size.
  void SetDefaultFontSize(int32_t points);
  // Scrolls to the named anchor; to the top when there is no such anchor.
  void PositionTo(std::string_view anchor);
  void ScrollToTop();

  // The bytes of the picture named by src, or an empty array (the viewer
  // then shows no picture).
  QByteArray ImageRequested(std::string_view source);

  // A link was clicked; target is its href as written in the document.
  std::function<void(const std::string& target)> OnHotSpotClick;
  // Any button released over the viewer; x and y relative to the viewer.
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;

 protected:
  QVariant loadResource(int type, const QUrl& name) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void AnchorClicked(const QUrl& link);
  void ApplyFont(const QString& family);

  TVkResManager* resources_;
  QString font_family_;
  QString pre_font_family_;
  int font_points_ = 12;
  // The href under the released mouse: QUrl would re-encode what the course
  // wrote.
  QString released_anchor_;
};

}  // namespace vork
