// Edit fields and their font objects: text through the Windows-1252
// conversion, the Enter key, focus, and the font object's life beside its
// field.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>

#include "objects/edit_object.h"
#include "objects/font_object.h"
#include "support/objects_fixture.h"

namespace vork::testing {
namespace {

class EditTest : public ObjectsTest {
 protected:
  int32_t edit = Create(ClassIndex::Edit);

  TVkEditObject& Edit() { return dynamic_cast<TVkEditObject&>(*manager->Find(edit)); }
  QLineEdit& Field() { return *Edit().Control(); }
  int32_t Font() { return SendForWord(edit, EditMessage::Font); }
};

TEST_F(EditTest, MessagesPlaceAndStyleTheFieldOnTheStage) {
  EXPECT_EQ(Field().parentWidget(), view->Background());
  EXPECT_TRUE(Field().isVisible());
  EXPECT_EQ(Field().pos(), QPoint(0, 0));
  Send(edit, EditMessage::SetLeft, {30});
  Send(edit, EditMessage::SetTop, {40});
  Send(edit, EditMessage::SetWidth, {200});
  Send(edit, EditMessage::SetHeight, {25});
  EXPECT_EQ(Field().geometry(), QRect(30, 40, 200, 25));
  Send(edit, EditMessage::SetBackgroundColor, {0x00FF8040});
  EXPECT_EQ(Field().palette().color(QPalette::Base), QColor(0x40, 0x80, 0xFF));
  for (auto [style, framed] : {std::pair{1, true}, {0, false}, {2, false}, {1, true}}) {
    Send(edit, EditMessage::SetBorder, {style});
    EXPECT_EQ(Field().hasFrame(), framed) << "border style " << style;
  }
  Send(edit, EditMessage::SetEnabled, {0});
  Send(edit, EditMessage::SetVisible, {0});
  EXPECT_FALSE(Field().isEnabled());
  EXPECT_FALSE(Field().isVisible());
  Send(edit, EditMessage::SetEnabled, {7});
  Send(edit, EditMessage::SetVisible, {-1});
  EXPECT_TRUE(Field().isEnabled());
  EXPECT_TRUE(Field().isVisible());
}

TEST_F(EditTest, TextCrossesAsWindows1252Bytes) {
  Send(edit, EditMessage::SetText, {NewString("Gr\xFC\xDF" "e \x80 \x85")});
  EXPECT_EQ(Field().text(), QString::fromUtf8("Grüße € …"));
  EXPECT_EQ(SendForString(edit, EditMessage::Text), "Gr\xFC\xDF" "e \x80 \x85");
  // A letter that Windows-1252 lacks comes back as "?".
  Field().setText(QString::fromUtf8("Ωx"));
  EXPECT_EQ(SendForString(edit, EditMessage::Text), "?x");
}

TEST_F(EditTest, TypedLettersComeBackAsTheirBytes) {
  Send(edit, EditMessage::Focus);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Field().hasFocus(); }, 2000));
  TypeText(QApplication::focusWidget(), QString::fromUtf8("Grüße €"));
  EXPECT_EQ(SendForString(edit, EditMessage::Text), "Gr\xFC\xDF" "e \x80");
}

TEST_F(EditTest, EnterIsSwallowedAndRunsTheHandlerWithTheFieldsHandle) {
  Send(edit, EditMessage::SetText, {NewString("ab")});
  QTest::keyClick(&Field(), Qt::Key_Return);
  EXPECT_EQ(Global("ticks"), 0) << "no handler, nothing runs";
  EXPECT_EQ(stack.Length(), 0);
  Send(edit, EditMessage::SetOnEnter, {Entry("count")});
  QTest::keyClick(&Field(), Qt::Key_Return);
  QTest::keyClick(&Field(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(Global("ticks"), 2);
  EXPECT_EQ(Global("last"), edit);
  EXPECT_EQ(SendForString(edit, EditMessage::Text), "ab");
  QTest::keyClick(&Field(), Qt::Key_C);
  EXPECT_EQ(SendForString(edit, EditMessage::Text), "abc") << "other keys reach the field";
  EXPECT_EQ(Boxes(), "");
}

TEST_F(EditTest, EnterHandlerMayDestroyItsOwnField) {
  const int32_t font = Font();
  Send(edit, EditMessage::SetOnEnter, {Entry("destroy")});
  QPointer<QLineEdit> field = &Field();
  QTest::keyClick(field.data(), Qt::Key_Return);
  EXPECT_FALSE(manager->IsLive(edit));
  EXPECT_FALSE(manager->IsLive(font));
  QLineEdit* lingering = field.data();
  ASSERT_NE(lingering, nullptr);
  EXPECT_TRUE(lingering->isHidden());
  // The field lingers until the event loop deletes it; its keys run nothing.
  QTest::keyClick(field.data(), Qt::Key_Return);
  EXPECT_EQ(Global("ticks"), 1);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(field.isNull());
  EXPECT_EQ(Boxes(), "");
}

TEST_F(EditTest, FaultInTheEnterHandlerIsShownAndTheFieldStays) {
  Send(edit, EditMessage::SetOnEnter, {Entry("fault")});
  QTest::keyClick(&Field(), Qt::Key_Return);
  EXPECT_EQ(Boxes(), "error: Error code = 11\n");
  EXPECT_EQ(stack.Length(), 0);
  EXPECT_TRUE(manager->IsLive(edit));
}

// A scene is built behind a disabled main window; the field that asked for
// the focus last gets it when the window is enabled again.
TEST_F(EditTest, FocusAskedForWhileTheWindowIsDisabledComesWhenItIsEnabled) {
  const int32_t other = Create(ClassIndex::Edit);
  window->setEnabled(false);
  Send(other, EditMessage::Focus);
  Send(edit, EditMessage::Focus);
  EXPECT_FALSE(Field().hasFocus());
  window->setEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Field().hasFocus(); }, 2000));
  TypeText(QApplication::focusWidget(), "x");
  EXPECT_EQ(SendForString(edit, EditMessage::Text), "x");
  EXPECT_EQ(SendForString(other, EditMessage::Text), "");
}

TEST_F(EditTest, FocusKeepsTheTextUnselectedButSelectAllSelectsIt) {
  Send(edit, EditMessage::SetText, {NewString("answer")});
  QFocusEvent tab_in(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(&Field(), &tab_in);
  EXPECT_FALSE(Field().hasSelectedText());
  Send(edit, EditMessage::SelectAll);
  EXPECT_EQ(Field().selectedText(), "answer");
}

TEST_F(EditTest, FontObjectEditsTheFieldsFont) {
  const int32_t font = Font();
  EXPECT_EQ(SendForWord(edit, EditMessage::Font), font) << "always the same font object";
  EXPECT_EQ(SendForString(font, FontMessage::Name), "MS Sans Serif");
  EXPECT_EQ(SendForWord(font, FontMessage::Size), 8);
  Send(font, FontMessage::SetName, {NewString("Courier New")});
  Send(font, FontMessage::SetSize, {14});
  Send(font, FontMessage::SetStyle, {0x1F});
  Send(font, FontMessage::SetColor, {0x000000FF});
  EXPECT_EQ(SendForString(font, FontMessage::Name), "Courier New");
  EXPECT_EQ(SendForWord(font, FontMessage::Size), 14);
  EXPECT_EQ(SendForWord(font, FontMessage::Style), 15) << "only the four style bits are kept";
  EXPECT_EQ(SendForWord(font, FontMessage::Color), 0xFF);
  const QFont shown = Field().font();
  EXPECT_EQ(shown.family(), "Liberation Mono");
  EXPECT_EQ(shown.pointSize(), 14);
  EXPECT_TRUE(shown.bold() && shown.italic() && shown.underline() && shown.strikeOut());
  EXPECT_EQ(Field().palette().color(QPalette::Text), QColor(255, 0, 0));
  Send(font, FontMessage::SetStyle, {2});
  EXPECT_FALSE(Field().font().bold());
  EXPECT_TRUE(Field().font().italic());
}

TEST_F(EditTest, SceneChangeReleasesFieldAndFontExactlyOnce) {
  const int32_t font = Font();
  EXPECT_EQ(manager->Count(), 2);
  manager->ReleaseSceneObjects();
  EXPECT_FALSE(manager->IsLive(edit));
  EXPECT_FALSE(manager->IsLive(font));
  EXPECT_EQ(manager->Count(), 0);
  EXPECT_EQ(Boxes(), "") << "no second destroy of the font object";
}

TEST_F(EditTest, FontObjectStaysUntilItsFieldGoes) {
  const int32_t font = Font();
  const int32_t other = Create(ClassIndex::Edit);
  const int32_t other_font = SendForWord(other, EditMessage::Font);
  // Gone first by the bytecode's hand: its field's release then leaves it be.
  Send(font, CommonMessage::Destroy);
  Send(edit, CommonMessage::Destroy);
  EXPECT_EQ(Boxes(), "");
  EXPECT_TRUE(manager->IsLive(other_font));
  // At shutdown every object goes, fonts in creation order before or after
  // their fields, each once.
  manager.reset();
  EXPECT_EQ(Boxes(), "");
}

TEST_F(EditTest, FontObjectWithoutAFontRefusesEveryMessage) {
  const int32_t orphan = Create(ClassIndex::Font);
  const std::string error = "Font object " + HandleText(orphan) +
                            " has no font: font objects come from the objects whose font they edit";
  ExpectFailure(orphan, FontMessage::SetColor, {255}, error);
  ExpectFailure(orphan, FontMessage::Color, {}, error);
  ExpectFailure(orphan, FontMessage::SetName, {NewString("Arial")}, error);
  ExpectFailure(orphan, FontMessage::Style, {}, error);
}

}  // namespace
}  // namespace vork::testing
