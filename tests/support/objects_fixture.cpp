#include "support/objects_fixture.h"

#include <QApplication>
#include <QTest>

#include "bridge/string_object.h"
#include "objects/edit_object.h"
#include "objects/font_object.h"
#include "data_objects/string_list_object.h"
#include "objects/timer_object.h"
#include "objects/user_list_object.h"
#include "data_objects/vars_object.h"
#include "platform/qt/main_form.h"
#include "vm/word_io.h"

namespace vork::testing {

const char kTestRoutines[] =
    ".start start\n"
    "start: enter 0\n"
    "    return\n"
    "count: enter 1\n"
    "    gload ticks\n"
    "    one\n"
    "    add\n"
    "    gstore ticks\n"
    "    load -12\n"
    "    gstore last\n"
    "    return\n"
    "destroy: enter 1\n"
    "    gload ticks\n"
    "    one\n"
    "    add\n"
    "    gstore ticks\n"
    "    load -12\n"
    "    send -1\n"
    "    return\n"
    "fault: enter 1\n"
    "    one\n"
    "    zero\n"
    "    div\n"
    "    return\n"
    ".global ticks, last\n";

StageWindow::StageWindow() : window(std::make_unique<QWidget>()) {
  window->setFixedSize(640, 480);
  view = new TVkView(window.get(), QSize(640, 480));
  SetMainForm(window.get());
  window->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->activateWindow();
}

StageWindow::~StageWindow() {
  SetMainForm(nullptr);
  window.reset();
  // Controls and timers deleted later go now, not in the next test.
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

ObjectsTest::ObjectsTest() : TestMachine(view) {
  manager->RegisterClass<TVkTimerObject>(ClassIndex::Timer);
  manager->RegisterClass<TVkEditObject>(ClassIndex::Edit);
  manager->RegisterClass<TVkFontObject>(ClassIndex::Font);
  manager->RegisterClass<TVkStringListObject>(ClassIndex::StringList);
  manager->RegisterClass<TVkUserListComboBoxObject>(ClassIndex::UserList);
  manager->RegisterClass<TVkVarsObject>(ClassIndex::Vars);
  image = Assemble(kTestRoutines, "test routines");
  processor.LoadImage(image.area);
}

int32_t ObjectsTest::SendForWord(int32_t handle, MessageIndex message, std::initializer_list<int32_t> args) {
  const int32_t length = stack.Length();
  Send(handle, message, args);
  EXPECT_EQ(stack.Length(), length + 4) << "message " << message.value << " must push one word";  // bytes
  return stack.Pop();
}

std::string ObjectsTest::SendForString(int32_t handle, MessageIndex message, std::initializer_list<int32_t> args) {
  const int32_t result = SendForWord(handle, message, args);
  auto* text = dynamic_cast<TVkStringObject*>(manager->Find(result));
  if (text == nullptr) {
    ADD_FAILURE() << "message " << message.value << " pushed no string";
    return {};
  }
  std::string copy = text->Text();
  manager->SendMsg(result, -1);
  return copy;
}

void ObjectsTest::ExpectFailure(int32_t handle, MessageIndex message, std::initializer_list<int32_t> args,
                                const std::string& error) {
  const int32_t length = stack.Length();
  try {
    Send(handle, message, args);
    ADD_FAILURE() << "message " << message.value << " did not fail";
  } catch (const std::exception& e) {
    EXPECT_EQ(e.what(), error);
  }
  EXPECT_EQ(stack.Length(), length) << "message " << message.value << " must pop exactly its arguments";
}

int32_t ObjectsTest::Entry(std::string_view label) const { return image.symbols.find(label)->second; }

int32_t ObjectsTest::Global(std::string_view name) { return ReadWord(processor.CodePointer(Entry(name))); }

void ObjectsTest::Pump(int ms) { QTest::qWait(ms); }

void ObjectsTest::TypeText(QWidget* widget, const QString& text) {
  for (const QChar ch : text) {
    const char16_t upper = ch.toUpper().unicode();
    const auto key = upper < 0x100 ? static_cast<Qt::Key>(upper) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, widget, key, QString(ch), Qt::NoModifier);
  }
}

}  // namespace vork::testing
