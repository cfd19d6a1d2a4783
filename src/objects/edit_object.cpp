#include "objects/edit_object.h"

#include <QLineEdit>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "objects/enter_key_filter.h"
#include "objects/event_routine.h"
#include "objects/font_object.h"
#include "objects/stage_control.h"
#include "platform/qt/answer_line_edit.h"
#include "platform/qt/qt_text.h"

namespace vork {

namespace {

// The size of a new field, until the bytecode sets its own.
constexpr int kDefaultWidth = 121;
constexpr int kDefaultHeight = 21;

}  // namespace

QLineEdit* TVkEditObject::Control() const { return control_; }

void TVkEditObject::Init() {
  QWidget* stage = StageParent(View());
  auto* control = new TAnswerLineEdit(stage);
  control_ = control;
  control->setGeometry(0, 0, kDefaultWidth, kDefaultHeight);
  auto* enter = new EnterKeyFilter(control);
  enter->OnEnter = [this] { EnterPressed(); };
  font_.OnChange = [this] { ApplyFont(); };
  ApplyFont();
  if (stage) control->show();
  font_object_ = CreateFontObject(Manager(), font_);
}

void TVkEditObject::Release() {
  // The font object goes first: it points at font_.
  if (Manager().IsLive(font_object_)) Manager().SendMsg(font_object_, CommonMessage::Destroy);
  font_object_ = 0;
  font_.OnChange = nullptr;
  if (control_) {
    // Keys already queued for the control must not reach a freed object.
    for (auto* filter : control_->findChildren<EnterKeyFilter*>()) filter->OnEnter = nullptr;
    control_->hide();
    control_->deleteLater();
  }
}

void TVkEditObject::ApplyFont() {
  if (!control_) return;
  control_->setFont(font_.ToQFont());
  SetControlColor(control_, QPalette::Text, font_.Color());
}

void TVkEditObject::EnterPressed() { RunObjectEvent(*this, enter_handler_); }

QLineEdit& TVkEditObject::Field() const {
  return RequireControl(control_, "Edit");
}

void TVkEditObject::HandleMessage(int32_t message) {
  switch (static_cast<EditMessage>(message)) {
    case EditMessage::SetLeft: {
      const int32_t x = PopInt();
      Field().move(x, Field().y());
      break;
    }
    case EditMessage::SetEnabled: Field().setEnabled(PopInt() != 0); break;
    case EditMessage::SetVisible: Field().setVisible(PopInt() != 0); break;
    case EditMessage::SetBackgroundColor: SetControlColor(&Field(), QPalette::Base, PopInt()); break;
    case EditMessage::SetBorder: Field().setFrame(PopInt() == 1); break;
    case EditMessage::SetText: Field().setText(ToQString(PopString())); break;
    case EditMessage::Text: PushString(FromQString(Field().text())); break;
    case EditMessage::SetTop: {
      const int32_t y = PopInt();
      Field().move(Field().x(), y);
      break;
    }
    case EditMessage::SetWidth: {
      const int32_t width = PopInt();
      Field().resize(width, Field().height());
      break;
    }
    case EditMessage::SetHeight: {
      const int32_t height = PopInt();
      Field().resize(Field().width(), height);
      break;
    }
    case EditMessage::Font: PushInt(font_object_); break;
    case EditMessage::Focus: FocusControl(&Field()); break;
    case EditMessage::SetOnEnter: enter_handler_ = PopInt(); break;
    case EditMessage::SelectAll: Field().selectAll(); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
