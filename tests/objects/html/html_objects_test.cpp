// The HTML viewer and person objects as the bytecode drives them: their
// routines get the arguments they declare, and a routine that frees its own
// object leaves nothing behind that runs on.

#include <gtest/gtest.h>

#include <QTest>

#include "support/objects_fixture.h"
#include "objects/html/html_viewer_object.h"
#include "objects/html/person_object.h"

namespace vork {
namespace {

// linked:   links := links + 1, last := the handle; frees the target text
// region:   regions := regions * 4 + region + 1, last := the handle
// freeing:  frees the target text and the object that ran it
// released: releases := releases + 1 (a mouse-release routine: 5 words)
constexpr char kRoutines[] =
    ".start start\n"
    "start: enter 0\n"
    "    return\n"
    "linked: enter 2\n"
    "    gload links\n"
    "    one\n"
    "    add\n"
    "    gstore links\n"
    "    load -16\n"
    "    gstore last\n"
    "    load -12\n"
    "    send -1\n"
    "    return\n"
    "region: enter 2\n"
    "    gload regions\n"
    "    loadc 4\n"
    "    mul\n"
    "    load -12\n"
    "    add\n"
    "    one\n"
    "    add\n"
    "    gstore regions\n"
    "    load -16\n"
    "    gstore last\n"
    "    return\n"
    "freeing: enter 2\n"
    "    load -12\n"
    "    send -1\n"
    "    load -16\n"
    "    send -1\n"
    "    return\n"
    "released: enter 5\n"
    "    gload releases\n"
    "    one\n"
    "    add\n"
    "    gstore releases\n"
    "    return\n"
    ".global links, regions, last, releases\n";

class HtmlObjectsTest : public testing::ObjectsTest {
 protected:
  HtmlObjectsTest() {
    manager->RegisterClass(8, [](TVkObjectManager&) { return std::make_unique<TVkHtmlViewerObject>(); });
    manager->RegisterClass(10, [](TVkObjectManager&) { return std::make_unique<TVkPersonObject>(); });
    image = Assemble(kRoutines, "html routines");
    processor.LoadImage(image.area);
  }

  // A viewer whose whole area is one link.
  int32_t LinkPage() {
    const int32_t viewer = Create(ClassIndex::HtmlViewer);
    Send(viewer, HtmlViewerMessage::SetBounds, {10, 10, 200, 100});
    auto& object = dynamic_cast<TVkHtmlViewerObject&>(*manager->Find(viewer));
    object.Viewer()->LoadHtml("<a href=\"next.htm\"><b style=\"font-size:40pt\">NEXT</b></a>");
    return viewer;
  }
  void ClickLink(int32_t viewer) {
    TVkHTMLViewer* control = dynamic_cast<TVkHtmlViewerObject&>(*manager->Find(viewer)).Viewer();
    QTest::mouseClick(control->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
  }
};

TEST_F(HtmlObjectsTest, ALinkRunsTheHotSpotRoutineThenTheReleaseRoutine) {
  const int32_t viewer = LinkPage();
  Send(viewer, HtmlViewerMessage::SetOnHotSpot, {Entry("linked")});
  Send(viewer, HtmlViewerMessage::SetOnMouseUp, {Entry("released")});
  EXPECT_EQ(SendForWord(viewer, HtmlViewerMessage::OnHotSpot), Entry("linked"));
  const int32_t objects = manager->Count();
  ClickLink(viewer);
  EXPECT_EQ(Global("links"), 1);
  EXPECT_EQ(Global("last"), viewer);
  EXPECT_EQ(Global("releases"), 1);
  EXPECT_EQ(manager->Count(), objects);  // the target text was the routine's
  EXPECT_EQ(stack.Length(), 0);
}

TEST_F(HtmlObjectsTest, AHotSpotRoutineThatFreesItsViewerEndsTheClick) {
  const int32_t viewer = LinkPage();
  Send(viewer, HtmlViewerMessage::SetOnHotSpot, {Entry("freeing")});
  Send(viewer, HtmlViewerMessage::SetOnMouseUp, {Entry("released")});
  ClickLink(viewer);
  EXPECT_FALSE(manager->IsLive(viewer));
  EXPECT_EQ(Global("releases"), 0);
  EXPECT_EQ(stack.Length(), 0);
  Pump(10);
}

TEST_F(HtmlObjectsTest, DocumentNameFollowsLoadAndClearOnly) {
  const int32_t viewer = Create(ClassIndex::HtmlViewer);
  EXPECT_EQ(SendForString(viewer, HtmlViewerMessage::DocumentName), "");
  ExpectFailure(viewer, HtmlViewerMessage::LoadDocument, {NewString("missing.htm")}, "Resource \"missing.htm\" not found");
  EXPECT_EQ(SendForString(viewer, HtmlViewerMessage::DocumentName), "missing.htm");  // named before it failed
  const int32_t lines = Create(ClassIndex::StringList);
  Send(viewer, HtmlViewerMessage::LoadLines, {lines});
  EXPECT_TRUE(manager->IsLive(lines));  // kept
  EXPECT_EQ(SendForString(viewer, HtmlViewerMessage::DocumentName), "missing.htm");
  Send(viewer, HtmlViewerMessage::Clear);
  EXPECT_EQ(SendForString(viewer, HtmlViewerMessage::DocumentName), "");
}

TEST_F(HtmlObjectsTest, PersonRegionsReachTheClickRoutine) {
  const int32_t person = Create(ClassIndex::Person);
  TVkPerson& control = *dynamic_cast<TVkPersonObject&>(*manager->Find(person)).Control();
  QImage map(30, 10, QImage::Format_RGB32);
  map.fill(Qt::black);
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 10; ++y) {
      map.setPixel(x, y, qRgb(255, 0, 0));
      map.setPixel(x + 10, y, qRgb(0, 255, 0));
      if (y < 5) map.setPixel(x + 20, y, qRgb(0, 0, 255));
    }
  control.SetPicture(map);
  Send(person, PersonMessage::SetPosition, {40, 50});
  EXPECT_EQ(control.geometry(), QRect(40, 50, 30, 10));
  for (const QPoint at : {QPoint(5, 5), QPoint(15, 5), QPoint(25, 2), QPoint(25, 7)})
    QTest::mouseClick(&control, Qt::LeftButton, {}, at);
  EXPECT_EQ(Global("regions"), 0);  // no map yet, and no routine
  control.SetRegionMap(map);
  Send(person, PersonMessage::SetOnClick, {Entry("region")});
  for (const QPoint at : {QPoint(5, 5), QPoint(15, 5), QPoint(25, 2), QPoint(25, 7)})
    QTest::mouseClick(&control, Qt::RightButton, {}, at);
  EXPECT_EQ(Global("regions"), (1 * 4 + 2) * 4 + 3);
  EXPECT_EQ(Global("last"), person);
  EXPECT_EQ(stack.Length(), 0);
}

}  // namespace
}  // namespace vork
