// The crossword view as the learner uses it: the cursor after a load, typing
// and the keys that move, the direction rules, clicks, the word-change
// notices, and the drawn grid with its highlight (saved as a picture).

#include "exercises/crossword/crossword_view.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "scene/color_word.h"

namespace vork {
namespace {

//    0 1 2 3 4
//    h O u s e   HOUSE (O given); down words HAT and ET
//    a . . . t
//    t e a . .   TEA
//    . . . o x   OX
const char kGrid[] =
    "[grid]\nhOuse\na...t\ntea..\n...ox\n"
    "[emphasize]\n0,2,3,1\n"
    "[cues]\nHOUSE=where you live\nHAT=on your head\n";

class CrosswordViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.setFixedSize(200, 200);
    // Takes the focus when the window is activated, as another control of
    // the stage would.
    other = new QLineEdit(&window);
    other->setGeometry(0, 150, 100, 20);
    view = new TCrCrosswordView(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    view->OnWordChange = [this] { words.push_back(view->CurrentWord() + ":" + view->CurrentCue()); };
    Load(kGrid);
  }

  void Load(const std::string& text) {
    auto data = std::make_unique<TCrCrosswordData>();
    data->LoadFromText(text);
    view->SetData(std::move(data));
  }

  // Keys as a learner presses them: "<Left>" and the like name a key,
  // anything else is typed character by character.
  void Press(const std::string& script) {
    std::istringstream tokens(script);
    for (std::string token; tokens >> token;) {
      if (token.front() == '<') {
        const std::string name = token.substr(1, token.size() - 2);
        const int key = QMetaEnum::fromType<Qt::Key>().keyToValue(("Key_" + name).c_str());
        QTest::keyClick(view, static_cast<Qt::Key>(key));
      } else {
        QTest::keyClicks(view, QString::fromStdString(token));
      }
    }
  }

  std::vector<std::string> ShownRows() const {
    std::vector<std::string> rows;
    const TCrGrid& grid = view->Data().Grid();
    for (int y = 0; y < grid.Height(); ++y) {
      std::string row;
      for (int x = 0; x < grid.Width(); ++x) {
        const CrCell cell = CrCell::FromWord(grid.Cell(x, y));
        row += cell.kind == kCrBlack ? '.' : cell.shown == ' ' ? '_' : cell.shown;
      }
      rows.push_back(row);
    }
    return rows;
  }

  QPoint CellCentre(int x, int y) const { return view->CellRect(x, y).center(); }

  QWidget window;
  QLineEdit* other = nullptr;
  TCrCrosswordView* view = nullptr;
  std::vector<std::string> words;
};

TEST_F(CrosswordViewTest, LoadPutsTheCursorOnTheFirstCellToFillWithoutTakingTheFocus) {
  EXPECT_EQ(view->CurrentCell(), QPoint(0, 0));
  EXPECT_TRUE(view->Across());
  EXPECT_EQ(view->CurrentWord(), "HOUSE");
  EXPECT_EQ(words, std::vector<std::string>{"HOUSE:where you live"});
  EXPECT_FALSE(view->hasFocus());
  EXPECT_EQ(view->size(), QSize(5 * 21 + 6, 4 * 21 + 5));

  // A grid with nothing to fill in has no cursor.
  Load("[grid]\nAB\n");
  EXPECT_EQ(view->CurrentCell(), QPoint(-1, -1));
  EXPECT_EQ(view->CurrentWord(), "");
  view->SetData(nullptr);
  EXPECT_EQ(view->Data().Grid().Width(), 5);
  EXPECT_TRUE(view->Data().Grid().IsSolved());
}

TEST_F(CrosswordViewTest, KeysTypeAndMoveTheCursor) {
  const struct {
    const char* name;
    QPoint start;
    bool start_across;
    const char* keys;
    QPoint cursor;
    bool across;
    std::vector<std::string> shown;
  } cases[] = {
      {"typing stores upper case and moves on; a word without across cells turns down", {0, 0}, true,
       "h o u s e", {0, 1}, false, {"HOUSE", "_..._", "___..", "...__"}},
      {"a different letter over a given one stays put", {0, 0}, true, "h x", {1, 0}, true,
       {"HO___", "_..._", "___..", "...__"}},
      {"down typing passes black cells and turns across outside the word", {4, 0}, false, "e t", {4, 3},
       true, {"_O__E", "_...T", "___..", "...__"}},
      {"Right at the last letter cell stays", {4, 3}, true, "<Right>", {4, 3}, true,
       {"_O___", "_..._", "___..", "...__"}},
      {"Left at the first letter cell stays", {0, 0}, true, "<Left>", {0, 0}, true,
       {"_O___", "_..._", "___..", "...__"}},
      {"Backspace moves back without clearing", {1, 2}, true, "e <Backspace> <Backspace>", {0, 2}, true,
       {"_O___", "_..._", "_E_..", "...__"}},
      {"Delete clears and moves on", {0, 2}, true, "t <Left> <Delete>", {1, 2}, true,
       {"_O___", "_..._", "___..", "...__"}},
      {"Up and Down stay in the column", {4, 3}, true, "<Up> <Up>", {4, 0}, false,
       {"_O___", "_..._", "___..", "...__"}},
      {"Down at the column end reselects", {0, 2}, true, "<Down>", {0, 2}, true,
       {"_O___", "_..._", "___..", "...__"}},
      {"Home and End go to the ends of the across word", {2, 0}, true, "<End>", {4, 0}, true,
       {"_O___", "_..._", "___..", "...__"}},
      {"Page Down goes to the next word", {1, 0}, true, "<PageDown>", {0, 1}, false,
       {"_O___", "_..._", "___..", "...__"}},
      {"Page Up goes to the start of the previous word", {2, 2}, true, "<PageUp>", {4, 1}, false,
       {"_O___", "_..._", "___..", "...__"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Load(kGrid);
    view->setFocus();
    view->SelectCell(c.start.x(), c.start.y(), false);
    if (view->Across() != c.start_across) Press("<Return>");
    ASSERT_EQ(view->Across(), c.start_across);
    Press(c.keys);
    EXPECT_EQ(view->CurrentCell(), c.cursor);
    EXPECT_EQ(view->Across(), c.across);
    EXPECT_EQ(ShownRows(), c.shown);
  }
}

TEST_F(CrosswordViewTest, SolvedOnceEveryCellHoldsItsLetter) {
  view->setFocus();
  Press("h o u s e");
  EXPECT_FALSE(view->Data().Grid().IsSolved());
  Press("a t <Right> e a o x <Up> t");
  EXPECT_EQ(ShownRows(), (std::vector<std::string>{"HOUSE", "A...T", "TEA..", "...OX"}));
  EXPECT_TRUE(view->Data().Grid().IsSolved());
}

TEST_F(CrosswordViewTest, WordChangesAreReportedOncePerWord) {
  view->setFocus();
  // Enter turns the word where there is one to turn to; at (2, 0) the down
  // word would be a single cell, so it stays across.
  Press("<Return> <Return> <Right> <Right> <Return> <Down>");
  EXPECT_EQ(words, (std::vector<std::string>{"HOUSE:where you live", "HAT:on your head",
                                             "HOUSE:where you live", "TEA:"}));
  int cell_changes = 0;
  view->OnCellChange = [&] { ++cell_changes; };
  Press("<Left>");
  EXPECT_EQ(cell_changes, 1);
  EXPECT_EQ(words.size(), 4u);
  Press("<Home> <Up>");
  EXPECT_EQ(cell_changes, 3);
  EXPECT_EQ(words.back(), "HAT:on your head");
}

TEST_F(CrosswordViewTest, AClickTurnsTheWordOnlyInAFocusedView) {
  QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(0, 0));
  EXPECT_TRUE(view->hasFocus());
  EXPECT_TRUE(view->Across()) << "the first click only takes the focus";
  QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(0, 0));
  EXPECT_FALSE(view->Across());
  EXPECT_EQ(view->CurrentWord(), "HAT");
  // Black cells and digits cannot be selected; points past the grid count
  // as its last cells.
  QTest::mouseClick(view, Qt::LeftButton, {}, CellCentre(1, 1));
  EXPECT_EQ(view->CurrentCell(), QPoint(0, 0));
  QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(view->width() - 1, view->height() - 1));
  EXPECT_EQ(view->CurrentCell(), QPoint(4, 3));
}

QColor Background(QImage& picture, const QRect& cell) { return picture.pixelColor(cell.topLeft() + QPoint(3, 3)); }

TEST_F(CrosswordViewTest, DrawsTheCurrentWordAndTheEmphasizedArea) {
  view->setFocus();
  view->SelectCell(1, 2, false);
  QImage focused = view->Picture();
  EXPECT_EQ(Background(focused, view->CellRect(1, 2)), QColor(255, 0, 0)) << "current cell";
  EXPECT_EQ(Background(focused, view->CellRect(2, 2)), QColor(255, 255, 0)) << "current word";
  EXPECT_EQ(Background(focused, view->CellRect(2, 0)), QColor(255, 255, 255)) << "cell to fill in";
  EXPECT_EQ(Background(focused, view->CellRect(1, 1)), QColor(0, 0, 0)) << "black cell";
  // The caret lies along the bottom of the current cell.
  const QRect current = view->CellRect(1, 2);
  EXPECT_EQ(focused.pixelColor(current.center().x(), current.bottom() - 2), QColor(0, 0, 0));
  // The area's frame runs one pixel inside its outer edges only.
  const QRect left_end = view->CellRect(0, 2);
  EXPECT_EQ(focused.pixelColor(left_end.left() + 1, left_end.center().y()), QColor(0, 0, 0));
  EXPECT_EQ(focused.pixelColor(current.left() + 1, current.center().y() - 4), QColor(255, 0, 0));
  QDir().mkpath(VORK_BINARY_DIR "/crossword-screenshots");
  focused.save(VORK_BINARY_DIR "/crossword-screenshots/focused.png");

  view->clearFocus();
  window.setFocus();
  QImage unfocused = view->Picture();
  EXPECT_EQ(Background(unfocused, view->CellRect(1, 2)), QColor(176, 0, 0));
  EXPECT_EQ(Background(unfocused, view->CellRect(2, 2)), ColorFromWord(0x60D0D0));
  view->SelectCell(0, 0, false);
  unfocused = view->Picture();
  EXPECT_EQ(Background(unfocused, view->CellRect(1, 2)), QColor(0xD8, 0xD8, 0xD8)) << "emphasized";
  unfocused.save(VORK_BINARY_DIR "/crossword-screenshots/unfocused.png");
}

}  // namespace
}  // namespace vork
