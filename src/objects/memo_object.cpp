#include "objects/memo_object.h"

#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "bridge/messages.h"
#include "objects/rtf/rich_edit.h"
#include "platform/errors.h"
#include "scene/background.h"
#include "scene/color_word.h"
#include "scene/view.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

// Qt keeps widget sizes within QWIDGETSIZE_MAX; keeping positions there too
// means left + width cannot overflow inside QRect.
int Coordinate(int32_t value) { return std::clamp<int32_t>(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); }
int Extent(int32_t value) { return std::clamp<int32_t>(value, 0, QWIDGETSIZE_MAX); }

}  // namespace

void TVkMemoObject::Init() {
  QWidget* stage = View() ? View()->Background() : nullptr;
  rich_edit_ = new TVkRichEdit(stage);
  rich_edit_->show();
}

void TVkMemoObject::Release() {
  if (!rich_edit_) return;
  // Hidden at once so that the next scene's picture never shows it; freed
  // from the event loop, as the release may run inside one of its events.
  rich_edit_->hide();
  rich_edit_->deleteLater();
  rich_edit_ = nullptr;
}

void TVkMemoObject::HandleMessage(int32_t message) {
  if (message < ToWord(MemoMessage::SetBounds) || message > ToWord(MemoMessage::SetEnabled)) {
    return TVkScriptObject::HandleMessage(message);
  }
  Check(rich_edit_ != nullptr);
  TVkRichEdit& edit = *rich_edit_;
  switch (static_cast<MemoMessage>(message)) {
    case MemoMessage::SetBounds: SetBounds(); break;
    case MemoMessage::Visible: PushBool(!edit.isHidden()); break;
    case MemoMessage::SetVisible: edit.setVisible(PopInt() != 0); break;
    case MemoMessage::Clear: edit.clear(); break;
    case MemoMessage::Print: edit.Print(PopString()); break;
    case MemoMessage::SetBackgroundColor: edit.SetBackgroundColor(ColorFromWord(PopInt())); break;
    case MemoMessage::Focus: edit.setFocus(Qt::OtherFocusReason); break;
    case MemoMessage::LoadText: {
      std::vector<std::string> lines;
      ResManager().LoadStrings(lines, PopString());
      edit.LoadLines(lines);
      break;
    }
    case MemoMessage::SetReadOnly: edit.setReadOnly(PopInt() != 0); break;
    case MemoMessage::SetEnabled: edit.setEnabled(PopInt() != 0); break;
  }
}

void TVkMemoObject::SetBounds() {
  const Bounds b = PopBounds();
  rich_edit_->setGeometry(Coordinate(b.left), Coordinate(b.top), Extent(b.width), Extent(b.height));
}

}  // namespace vork
