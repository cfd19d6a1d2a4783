#include "objects/html/html_viewer_object.h"

#include <algorithm>

#include "bridge/event_boundary.h"
#include "objects/html/print_html.h"
#include "objects/mouse_event_routine.h"
#include "objects/stage_control.h"
#include "data_objects/string_list_object.h"
#include "resources/res_manager.h"
#include "vm/processor.h"

namespace vork {

namespace {

bool Flag(int32_t word) { return (word & 0xFF) != 0; }

}  // namespace

void TVkHtmlViewerObject::Init() {
  viewer_ = new TVkHTMLViewer(StageParent(View()), &ResManager());
  viewer_->setGeometry(0, 0, 100, 100);
  viewer_->OnHotSpotClick = [this](const std::string& target) { HotSpotClicked(target); };
  viewer_->OnMouseUp = [this](TMouseButton button, TShiftState shift, int x, int y) {
    MouseReleased(button, shift, x, y);
  };
  viewer_->show();
}

void TVkHtmlViewerObject::Release() {
  if (viewer_) {
    viewer_->OnHotSpotClick = nullptr;
    viewer_->OnMouseUp = nullptr;
    viewer_->hide();
    // Its own mouse event may be the one that runs this release.
    viewer_->deleteLater();
  }
  viewer_ = nullptr;
}

TVkHTMLViewer& TVkHtmlViewerObject::RequireViewer() const {
  return RequireControl(viewer_, "HTML viewer");
}

void TVkHtmlViewerObject::HotSpotClicked(const std::string& target) {
  // The link is never followed, whether or not a routine is set.
  if (on_hot_spot_ == 0) return;
  TVkProcessor& processor = Processor();
  const int32_t handle = Handle();
  const int32_t routine = on_hot_spot_;
  RunAtEventBoundary(processor, [&] {
    PushInt(handle);
    PushString(target);
    processor.Run(routine);
  });
}

void TVkHtmlViewerObject::MouseReleased(TMouseButton button, TShiftState shift, int x, int y) {
  RunMouseEvent(*this, on_mouse_up_, button, shift, x, y);
}

void TVkHtmlViewerObject::HandleMessage(int32_t message) {
  switch (message) {
    case 0: {
      const Bounds b = PopBounds();
      RequireViewer().setGeometry(b.left, b.top, std::max(b.width, 0), std::max(b.height, 0));
      break;
    }
    case 1:
      document_name_ = PopString();
      RequireViewer().LoadDocument(document_name_);
      break;
    case 2:
      RequireViewer().ClearDocument();
      document_name_.clear();
      break;
    case 3: PushBool(!RequireViewer().isHidden()); break;
    case 4: RequireViewer().setVisible(Flag(PopInt())); break;
    case 5: PushString(document_name_); break;
    case 6: PushInt(on_hot_spot_); break;
    case 7: on_hot_spot_ = PopInt(); break;
    case 8: RequireViewer().SetBorder(Flag(PopInt())); break;
    case 9: RequireViewer().SetSelectable(Flag(PopInt())); break;
    case 10: PushString(RequireViewer().SelectedText()); break;
    case 11: on_mouse_up_ = PopInt(); break;
    case 12: {
      const TVkStringListObject& lines = StringListAt(Manager(), PopInt());
      RequireViewer().LoadLines(lines.Texts());
      break;
    }
    case 13: RequireViewer().SetDefaultBackground(PopInt()); break;
    case 14: {
      const std::string title = PopString();
      PrintHtml(RequireViewer(), title);
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
