#include "platform/qt/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace vork {

namespace {

QMessageBox::Icon IconOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Plain: return QMessageBox::NoIcon;
    case BoxKind::Info: return QMessageBox::Information;
    case BoxKind::Warning: return QMessageBox::Warning;
    case BoxKind::Error: return QMessageBox::Critical;
    case BoxKind::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok: return QMessageBox::Ok;
    case BoxButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

}  // namespace

BoxResult QtMessageBoxes::Show(BoxKind kind, std::string_view text, BoxButtons buttons) {
  QMessageBox box(IconOf(kind), QApplication::applicationDisplayName(), ToQString(text),
                  ButtonsOf(buttons), QApplication::activeWindow());
  switch (box.exec()) {
    case QMessageBox::Yes: return BoxResult::Yes;
    case QMessageBox::No: return BoxResult::No;
    case QMessageBox::Cancel: return BoxResult::Cancel;
    default: return BoxResult::Ok;
  }
}

}  // namespace vork
