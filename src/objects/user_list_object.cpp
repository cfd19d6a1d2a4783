#include "objects/user_list_object.h"

#include <QComboBox>
#include <QLineEdit>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "objects/enter_key_filter.h"
#include "objects/event_routine.h"
#include "objects/stage_control.h"
#include "platform/course_directories.h"
#include "platform/qt/qt_text.h"
#include "users/user_list.h"
#include "users/user_names.h"

namespace vork {

namespace {

constexpr int kWidth = 150;
constexpr int kVisibleItems = 15;

}  // namespace

QComboBox* TVkUserListComboBoxObject::Control() const { return control_; }

void TVkUserListComboBoxObject::Init() {
  QWidget* stage = StageParent(View());
  auto* box = new QComboBox(stage);
  control_ = box;
  box->setEditable(true);
  // Typed names are for the bytecode to judge, never items of the list.
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMaxVisibleItems(kVisibleItems);
  box->setGeometry(0, 0, kWidth, box->sizeHint().height());
  // Keys reach the box (the focus widget), which hands them to its line
  // edit directly, past any filter there; keys sent to the line edit itself
  // are caught there.
  for (QObject* target : {static_cast<QObject*>(box), static_cast<QObject*>(box->lineEdit())}) {
    auto* enter = new EnterKeyFilter(target);
    enter->OnEnter = [this] { EnterPressed(); };
  }
  if (stage) box->show();
}

void TVkUserListComboBoxObject::Release() {
  if (!control_) return;
  // Recursive: the line edit's filter too.
  for (auto* filter : control_->findChildren<EnterKeyFilter*>()) filter->OnEnter = nullptr;
  control_->hide();
  control_->deleteLater();
}

QComboBox& TVkUserListComboBoxObject::Box() const {
  return RequireControl(control_, "User list");
}

void TVkUserListComboBoxObject::FillUsers() {
  QComboBox& box = Box();
  box.clear();
  for (const std::string& name : ListUsers(UsersDirectory())) box.addItem(ToQString(name));
  // Filling the list leaves the typed text empty, as clearing it did; Qt
  // would otherwise show the first name as if the learner had chosen it.
  box.setCurrentIndex(-1);
  box.setEditText(QString());
}

void TVkUserListComboBoxObject::EnterPressed() { RunObjectEvent(*this, enter_handler_); }

void TVkUserListComboBoxObject::HandleMessage(int32_t message) {
  switch (static_cast<UserListMessage>(message)) {
    case UserListMessage::SetLeft: {
      const int32_t x = PopInt();
      Box().move(x, Box().y());
      break;
    }
    case UserListMessage::SetTop: {
      const int32_t y = PopInt();
      Box().move(Box().x(), y);
      break;
    }
    case UserListMessage::SetWidth: {
      const int32_t width = PopInt();
      Box().resize(width, Box().height());
      break;
    }
    case UserListMessage::SetText: Box().setEditText(ToQString(PopString())); break;
    case UserListMessage::UserName: PushString(UserDisplayName(FromQString(Box().currentText()))); break;
    case UserListMessage::Focus: FocusControl(&Box()); break;
    case UserListMessage::FillUsers: FillUsers(); break;
    case UserListMessage::SetOnEnter: enter_handler_ = PopInt(); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
