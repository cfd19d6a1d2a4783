#include "objects/html/html_viewer_object.h"

#include <algorithm>

#include "bridge/event_boundary.h"
#include "bridge/messages.h"
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
  switch (static_cast<HtmlViewerMessage>(message)) {
    case HtmlViewerMessage::SetBounds: {
      const Bounds b = PopBounds();
      RequireViewer().setGeometry(b.left, b.top, std::max(b.width, 0), std::max(b.height, 0));
      break;
    }
    case HtmlViewerMessage::LoadDocument:
      document_name_ = PopString();
      RequireViewer().LoadDocument(document_name_);
      break;
    case HtmlViewerMessage::Clear:
      RequireViewer().ClearDocument();
      document_name_.clear();
      break;
    case HtmlViewerMessage::Visible: PushBool(!RequireViewer().isHidden()); break;
    case HtmlViewerMessage::SetVisible: RequireViewer().setVisible(Flag(PopInt())); break;
    case HtmlViewerMessage::DocumentName: PushString(document_name_); break;
    case HtmlViewerMessage::OnHotSpot: PushInt(on_hot_spot_); break;
    case HtmlViewerMessage::SetOnHotSpot: on_hot_spot_ = PopInt(); break;
    case HtmlViewerMessage::SetBorder: RequireViewer().SetBorder(Flag(PopInt())); break;
    case HtmlViewerMessage::SetSelectable: RequireViewer().SetSelectable(Flag(PopInt())); break;
    case HtmlViewerMessage::SelectedText: PushString(RequireViewer().SelectedText()); break;
    case HtmlViewerMessage::SetOnMouseUp: on_mouse_up_ = PopInt(); break;
    case HtmlViewerMessage::LoadLines: {
      const TVkStringListObject& lines = StringListAt(Manager(), PopInt());
      RequireViewer().LoadLines(lines.Texts());
      break;
    }
    case HtmlViewerMessage::SetBackgroundColor: RequireViewer().SetDefaultBackground(PopInt()); break;
    case HtmlViewerMessage::Print: {
      const std::string title = PopString();
      PrintHtml(RequireViewer(), title);
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
