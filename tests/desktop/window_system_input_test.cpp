// Scripted input as the player hands it to Qt: it must take a person's
// path (focus on click, shortcuts, held buttons, typed text) and carry the
// text a keyboard gives.

#include "shell/window_system_input.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <QtTest/QTest>
#include <utility>
#include <vector>

namespace vork {
namespace {

TEST(KeyText, PrintableKeysTypeTheirCharacterLettersInLowerCase) {
  const struct {
    int key;
    const char* text;
  } cases[] = {
      {Qt::Key_A, "a"},      {Qt::Key_Z, "z"},          {Qt::Key_0, "0"},     {Qt::Key_9, "9"},
      {Qt::Key_Plus, "+"},   {Qt::Key_Underscore, "_"}, {Qt::Key_Space, " "}, {Qt::Key_AsciiTilde, "~"},
      {Qt::Key_Return, "\r"}, {Qt::Key_Enter, "\r"},    {Qt::Key_Tab, "\t"},  {Qt::Key_Backspace, "\b"},
      {Qt::Key_Escape, "\x1b"}, {Qt::Key_Delete, "\x7f"}, {Qt::Key_F2, ""},   {Qt::Key_Right, ""},
      {Qt::Key_Shift, ""},   {Qt::Key_NumLock, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyText(c.key), QString::fromLatin1(c.text)) << c.key;
}

// A window of two fields and a Ctrl+S shortcut; it records what the fields
// see of double clicks, held buttons and the Shift key.
class InputWindow : public QWidget {
 public:
  InputWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(first);
    layout->addWidget(second);
    resize(300, 120);
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this);
    QObject::connect(save, &QShortcut::activated, [this] { ++saves; });
    first->installEventFilter(this);
    second->installEventFilter(this);
  }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick) ++double_clicks;
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Shift) modifier_events.emplace_back(event->type(), key->modifiers());
    }
    if (event->type() == QEvent::MouseMove)
      held_while_moving |= static_cast<QMouseEvent*>(event)->buttons();
    return false;
  }

  QPoint CentreOf(QWidget* field) const { return field->geometry().center(); }

  QLineEdit* first = new QLineEdit;
  QLineEdit* second = new QLineEdit;
  int saves = 0;
  int double_clicks = 0;
  std::vector<std::pair<int, Qt::KeyboardModifiers>> modifier_events;
  Qt::MouseButtons held_while_moving;
};

class WindowSystemInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.first->setFocus();
  }

  void Click(QPoint at) {
    input.Mouse(Handle(), QEvent::MouseButtonPress, at, Qt::LeftButton);
    input.Mouse(Handle(), QEvent::MouseButtonRelease, at, Qt::LeftButton);
  }
  QWindow* Handle() { return window.windowHandle(); }

  InputWindow window;
  WindowSystemInput input;
};

TEST_F(WindowSystemInputTest, AClickFocusesTheFieldAndTypedTextArrivesThere) {
  Click(window.CentreOf(window.second));
  ASSERT_EQ(QApplication::focusWidget(), window.second) << "only the window system's clicks move the focus";
  for (const QChar ch : QString::fromUtf8("Grüße")) input.TypeCharacter(Handle(), ch.toUpper().unicode(), ch);
  input.KeyClick(Handle(), Qt::Key_A, Qt::NoModifier);
  input.KeyClick(Handle(), Qt::Key_Backspace, Qt::NoModifier);
  input.KeyClick(Handle(), Qt::Key_1, Qt::NoModifier);
  EXPECT_EQ(window.second->text(), QString::fromUtf8("Grüße1"));
  EXPECT_TRUE(window.first->text().isEmpty());
}

TEST_F(WindowSystemInputTest, ModifiersReachShortcutsAndFocusKeys) {
  Click(window.CentreOf(window.second));
  input.KeyClick(Handle(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(window.saves, 1);
  EXPECT_TRUE(window.second->text().isEmpty()) << "a shortcut types nothing";
  input.KeyClick(Handle(), Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), window.first);
  EXPECT_EQ(window.modifier_events, (std::vector<std::pair<int, Qt::KeyboardModifiers>>{
                                        {QEvent::KeyPress, Qt::ShiftModifier},
                                        {QEvent::KeyRelease, Qt::NoModifier}}))
      << "Shift's own events answer the state after them, as a keyboard's do";
}

TEST_F(WindowSystemInputTest, ClicksStaySingleAndADragHoldsTheButton) {
  const QPoint at = window.CentreOf(window.second);
  Click(at);
  Click(at);
  Click(at);
  EXPECT_EQ(window.double_clicks, 0) << "scripted clicks are separate clicks";

  input.Mouse(Handle(), QEvent::MouseButtonPress, at, Qt::LeftButton);
  input.Mouse(Handle(), QEvent::MouseMove, at + QPoint(5, 0), Qt::NoButton);
  input.Mouse(Handle(), QEvent::MouseButtonRelease, at + QPoint(5, 0), Qt::LeftButton);
  EXPECT_EQ(window.held_while_moving, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::mouseButtons(), Qt::NoButton);
}

}  // namespace
}  // namespace vork
