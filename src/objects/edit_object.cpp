#include "objects/edit_object.h"

#include <QLineEdit>

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
  if (Manager().IsLive(font_object_)) Manager().SendMsg(font_object_, -1);
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
  switch (message) {
    case 0: {
      const int32_t x = PopInt();
      Field().move(x, Field().y());
      break;
    }
    case 1: Field().setEnabled(PopInt() != 0); break;
    case 2: Field().setVisible(PopInt() != 0); break;
    case 3: SetControlColor(&Field(), QPalette::Base, PopInt()); break;
    case 4: Field().setFrame(PopInt() == 1); break;
    case 5: Field().setText(ToQString(PopString())); break;
    case 6: PushString(FromQString(Field().text())); break;
    case 9: {
      const int32_t y = PopInt();
      Field().move(Field().x(), y);
      break;
    }
    case 10: {
      const int32_t width = PopInt();
      Field().resize(width, Field().height());
      break;
    }
    case 11: {
      const int32_t height = PopInt();
      Field().resize(Field().width(), height);
      break;
    }
    case 12: PushInt(font_object_); break;
    case 13: FocusControl(&Field()); break;
    case 14: enter_handler_ = PopInt(); break;
    case 15: Field().selectAll(); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
