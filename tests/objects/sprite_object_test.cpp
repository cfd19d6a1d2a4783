// The sprite object and its caption's text object, driven as the bytecode
// drives them: messages that fail still pop exactly their arguments, a text
// object without a caption says where text objects come from, a sprite
// object takes its text and font objects with it, and a routine may destroy
// the very sprite whose mouse event runs it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "support/objects_fixture.h"
#include "objects/sprite_object.h"
#include "objects/text_object.h"
#include "scene/background.h"
#include "scene/frame_sprite.h"
#include "scene/view.h"

namespace vork {
namespace {

// destroy_mouse: as destroy, for the mouse routines (handle, button,
// shift, x, y; the handle is the first pushed).
constexpr char kMouseRoutines[] =
    "destroy_mouse: enter 5\n"
    "    gload ticks\n"
    "    one\n"
    "    add\n"
    "    gstore ticks\n"
    "    load -28\n"
    "    send -1\n"
    "    return\n";

class SpriteObjectTest : public testing::ObjectsTest {
 protected:
  SpriteObjectTest() {
    manager->RegisterClass(3, [](TVkObjectManager&) { return std::make_unique<TVkSpriteObject>(); });
    manager->RegisterClass(17, [](TVkObjectManager&) { return std::make_unique<TVkTextObject>(); });
    image = Assemble(std::string(testing::kTestRoutines) + kMouseRoutines, "sprite test routines");
    processor.LoadImage(image.area);
  }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, view->Background()->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, {});
    QApplication::sendEvent(view->Background(), &event);
  }
  void Click(QPoint at) {
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
  }
};

TEST_F(SpriteObjectTest, FailingMessagesPopTheirArguments) {
  const int32_t sprite = Create(ClassIndex::Sprite);
  Send(sprite, SpriteMessage::SetFrameCount, {3});
  ExpectFailure(sprite, SpriteMessage::SetFrame, {3}, "TCustomFrameSprite: Frame out of range");
  ExpectFailure(sprite, SpriteMessage::SetFrameCount, {0}, "TCustomFrameSprite: FrameCount must be >= 1");
  EXPECT_EQ(SendForWord(sprite, SpriteMessage::FrameCount), 3);
  ExpectFailure(sprite, SpriteMessage::LoadPicture, {NewString("missing.img")},
                "Error loading image \"missing.img\".\r\n(Image \"missing.jpg\" or \"missing.bmp\" not found.)");
  EXPECT_EQ(manager->Count(), 3);  // the sprite, its text and font objects; the name was consumed
}

TEST_F(SpriteObjectTest, CaptionTextObjectEditsTheCaptionWithAlignmentWords) {
  const int32_t sprite = Create(ClassIndex::Sprite);
  const int32_t text = SendForWord(sprite, SpriteMessage::Caption);
  auto& object = dynamic_cast<TVkSpriteObject&>(*manager->Find(sprite));
  const TDrawText& caption = object.Sprite()->Caption();
  Send(text, TextMessage::SetText, {NewString("a<BR>b")});
  EXPECT_EQ(caption.Lines(), (std::vector<std::string>{"a", "b"}));
  struct Case {
    int32_t word;
    int32_t stored;
    int32_t read_back;
  };
  const Case cases[] = {{0, TCustomDrawText::kAlignLeft, 0},
                        {1, TCustomDrawText::kAlignCenter, 1},
                        {2, TCustomDrawText::kAlignRight, 2},
                        {3, TCustomDrawText::kAlignLeft, 0},
                        {-1, TCustomDrawText::kAlignLeft, 0}};
  for (const Case& c : cases) {
    Send(text, TextMessage::SetHAlign, {c.word});
    Send(text, TextMessage::SetVAlign, {c.word});
    EXPECT_EQ(caption.HAlign(), c.stored) << c.word;
    EXPECT_EQ(caption.VAlign(), c.stored) << c.word;
    EXPECT_EQ(SendForWord(text, TextMessage::HAlign), c.read_back) << c.word;
    EXPECT_EQ(SendForWord(text, TextMessage::VAlign), c.read_back) << c.word;
  }
  // The font object edits the caption's font.
  const int32_t font = SendForWord(text, TextMessage::Font);
  Send(font, FontMessage::SetSize, {20});
  EXPECT_EQ(caption.Font().Size(), 20);
}

TEST_F(SpriteObjectTest, TextObjectWithoutCaptionSaysWhereTextObjectsComeFrom) {
  const int32_t text = Create(ClassIndex::Text);
  const std::string expected = "Text object " + HandleText(text) +
                               " has no caption: text objects come from sprites (message 37 of a sprite)";
  ExpectFailure(text, TextMessage::SetBackColor, {0xFF}, expected);
  ExpectFailure(text, TextMessage::SetText, {NewString("lost")}, expected);
  ExpectFailure(text, TextMessage::Text, {}, expected);
  EXPECT_NE(SendForWord(text, TextMessage::Font), 0);
  EXPECT_EQ(manager->Count(), 2);  // the text object and its font object
  Send(text, CommonMessage::Destroy);
  EXPECT_EQ(manager->Count(), 0);
}

TEST_F(SpriteObjectTest, ASpriteObjectTakesItsTextAndFontObjectsAndLeavesTheStage) {
  const int32_t sprite = Create(ClassIndex::Sprite);
  const int32_t text = SendForWord(sprite, SpriteMessage::Caption);
  const int32_t font = SendForWord(text, TextMessage::Font);
  EXPECT_EQ(view->Background()->SpriteCount(), 1);
  // Scene changes leave the text and font objects to their owners.
  manager->ReleaseSceneObjects();
  EXPECT_FALSE(manager->IsLive(sprite));
  EXPECT_FALSE(manager->IsLive(text));
  EXPECT_FALSE(manager->IsLive(font));
  EXPECT_EQ(manager->Count(), 0);
  EXPECT_EQ(view->Background()->SpriteCount(), 0);
}

TEST_F(SpriteObjectTest, ARoutineMayDestroyTheSpriteWhoseEventRunsIt) {
  struct Case {
    int32_t event_message;  // which routine destroys the sprite
    const char* routine;
    const char* name;
  };
  const Case cases[] = {
      {43, "destroy_mouse", "press"}, {38, "destroy_mouse", "release"}, {11, "destroy", "click"}};
  for (const Case& c : cases) {
    const int32_t sprite = Create(ClassIndex::Sprite);
    Send(sprite, SpriteMessage::SetBounds, {100, 100, 50, 50});
    Send(sprite, SpriteMessage::SetOnClick, {Entry("count")});
    Send(sprite, c.event_message, {Entry(c.routine)});
    const int32_t ticks = Global("ticks");
    Click({120, 120});
    EXPECT_FALSE(manager->IsLive(sprite)) << c.name;
    EXPECT_EQ(Global("ticks"), ticks + 1) << c.name << ": only the destroying routine ran";
    EXPECT_EQ(view->Background()->SpriteCount(), 0) << c.name;
    // The stage goes on taking input.
    Click({120, 120});
  }
}

}  // namespace
}  // namespace vork
