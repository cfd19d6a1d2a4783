#include "platform/qt/main_form.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include "platform/errors.h"

namespace vork {

namespace {
QPointer<QWidget>& Form() {
  static QPointer<QWidget> form;
  return form;
}
}  // namespace

void SetMainForm(QWidget* form) { Form() = form; }

QWidget* MainForm() { return Form().data(); }

void DisableMainForm() {
  Check(MainForm() != nullptr);
  MainForm()->setEnabled(false);
}

void EnableMainForm() {
  Check(MainForm() != nullptr);
  QCoreApplication::processEvents();
  // The events may have closed the window.
  if (MainForm()) MainForm()->setEnabled(true);
}

}  // namespace vork
