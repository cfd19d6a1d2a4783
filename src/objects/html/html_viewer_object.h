#pragma once
// TVkHtmlViewerObject (class 8): an HTML page on the stage, from a course
// resource or from the lines of a string list, with routines for link
// clicks and mouse releases.

#include <QPointer>
#include <cstdint>
#include <string>

#include "bridge/script_object.h"
#include "objects/html/html_viewer.h"

namespace vork {

class TVkHtmlViewerObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // Null before Init and after Release.
  TVkHTMLViewer* Viewer() const { return viewer_; }

 private:
  TVkHTMLViewer& RequireViewer() const;
  void HotSpotClicked(const std::string& target);
  void MouseReleased(TMouseButton button, TShiftState shift, int x, int y);

  int32_t on_hot_spot_ = 0;
  std::string document_name_;
  int32_t on_mouse_up_ = 0;
  QPointer<TVkHTMLViewer> viewer_;
};

}  // namespace vork
