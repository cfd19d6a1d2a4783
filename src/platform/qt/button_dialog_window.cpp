#include "platform/qt/button_dialog_window.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "platform/qt/qt_text.h"

namespace vork {

namespace {

// Questions are written with CR LF; a label would show the CR.
QString MessageText(std::string_view message) {
  QString text = ToQString(message);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QString TitleOf(std::string_view caption) {
  if (!caption.empty()) return ToQString(caption);
  if (QWidget* active = QApplication::activeWindow()) return active->windowTitle();
  return QApplication::applicationDisplayName();
}

QLabel* QuestionIcon(QWidget* parent) {
  auto* icon = new QLabel(parent);
  const QStyle* style = parent->style();
  const int size = style->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, parent);
  icon->setPixmap(style->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, parent).pixmap(size));
  icon->setAlignment(Qt::AlignTop);
  return icon;
}

}  // namespace

ButtonDialogWindow::ButtonDialogWindow(std::string_view message, std::string_view caption,
                                       const std::vector<std::string>& buttons)
    : QDialog(QApplication::activeWindow()) {
  setWindowTitle(TitleOf(caption));
  setModal(true);

  auto* text = new QLabel(MessageText(message), this);
  text->setTextFormat(Qt::PlainText);
  auto* question = new QHBoxLayout;
  question->addWidget(QuestionIcon(this));
  question->addSpacing(12);
  question->addWidget(text, 1);

  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (size_t i = 0; i < buttons.size(); ++i) {
    // QPushButton takes "&" as the mark of its shortcut key, as the captions mean it.
    auto* button = new QPushButton(ToQString(buttons[i]), this);
    const int code = kFirstButton + static_cast<int>(i);
    connect(button, &QPushButton::clicked, this, [this, code] {
      answer_ = code;
      accept();
    });
    row->addWidget(button);
    buttons_.push_back(button);
  }
  row->addStretch(1);
  if (!buttons_.empty()) buttons_.front()->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(question);
  layout->addSpacing(12);
  layout->addLayout(row);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ButtonDialogWindow::Place(DialogPlacement placement) {
  adjustSize();
  QWidget* active = QApplication::activeWindow();
  QRect around;
  if (placement == DialogPlacement::ActiveWindow && active && active != this) {
    around = active->frameGeometry();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    around = screen->geometry();
  }
  if (!around.isValid()) return;
  QRect frame = frameGeometry();
  frame.moveCenter(around.center());
  move(frame.topLeft());
}

int AskWithButtonDialogWindow(std::string_view message, std::string_view caption,
                              const std::vector<std::string>& buttons, DialogPlacement placement) {
  // On the heap and watched: the dialog is a child of the active window,
  // which bytecode running during exec() may close and delete with it.
  QPointer<ButtonDialogWindow> dialog = new ButtonDialogWindow(message, caption, buttons);
  dialog->Place(placement);
  dialog->exec();
  const int answer = dialog ? dialog->Answer() : kDialogClosed;
  delete dialog.data();
  return answer;
}

}  // namespace vork
