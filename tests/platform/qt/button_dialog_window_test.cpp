// The button dialog of a window run: real buttons with the caller's
// captions, the caller's title and place, and the answer code of each way
// out of it.

#include "platform/qt/button_dialog_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <set>

namespace vork {
namespace {

using Captions = std::vector<std::string>;

const char kInstallQuestion[] =
    "Installation can be done automatically (recommended) or manually.\r\n\r\nWhich install "
    "method to use?\r\n";

// Saved for a person to look at; the checks below do not need it.
void SaveScreenshot(const QImage& image, const char* name) {
  const QString folder = QStringLiteral(VORK_BINARY_DIR "/dialog-screenshots");
  QDir().mkpath(folder);
  image.save(folder + "/" + name + ".png");
}

// How many colours the rectangle of the screenshot holds: a button with its
// caption drawn has its face, its frame and the text's.
size_t ColoursIn(const QImage& image, const QRect& rect) {
  std::set<QRgb> colours;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) colours.insert(image.pixel(x, y));
  return colours.size();
}

TEST(ButtonDialogWindow, ShowsTheCallersButtonsTitleAndQuestion) {
  struct Case {
    const char* screenshot;
    std::string message, caption;
    Captions buttons;
    QStringList shown;  // the buttons' texts once "&" marks the shortcut key
  } cases[] = {
      {"install_method", kInstallQuestion, "Confirmation", {"Automatic", "Manual", "Cancel"},
       {"Automatic", "Manual", "Cancel"}},
      {"archive_parts", "Use .vka-directories or .vka-files?\r\n", "Confirm",
       {"&Directories", "&Files"}, {"&Directories", "&Files"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screenshot);
    ButtonDialogWindow dialog(c.message, c.caption, c.buttons);
    dialog.Place(DialogPlacement::Screen);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QImage screenshot = dialog.grab().toImage();
    SaveScreenshot(screenshot, c.screenshot);

    EXPECT_EQ(dialog.windowTitle().toStdString(), c.caption);
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains(QString::fromStdString(c.message).remove('\r'))) << labels.join('|').toStdString();

    ASSERT_EQ(dialog.Buttons().size(), c.buttons.size());
    int right_of_previous = 0;
    for (size_t i = 0; i < c.buttons.size(); ++i) {
      const QPushButton* button = dialog.Buttons()[i];
      EXPECT_EQ(button->text(), c.shown[static_cast<int>(i)]);
      EXPECT_TRUE(button->isVisible());
      const QRect at = button->geometry();
      EXPECT_TRUE(screenshot.rect().contains(at)) << i;
      EXPECT_GE(at.left(), right_of_previous) << "buttons in the caller's order, side by side";
      right_of_previous = at.right();
      EXPECT_GT(ColoursIn(screenshot, at), 3u) << "button " << i << " is drawn with its caption";
    }
    EXPECT_TRUE(dialog.Buttons().front()->isDefault());
  }
}

// Runs the modal dialog as a caller does and, once it is up, lets press()
// act on it; returns the caller's answer.
int AnswerAfter(const std::function<void(ButtonDialogWindow&)>& press,
                DialogPlacement placement = DialogPlacement::Screen) {
  QTimer::singleShot(0, [press] {
    auto* dialog = dynamic_cast<ButtonDialogWindow*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no dialog is up";
      return;
    }
    // Shortcut keys reach only the active window.
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    press(*dialog);
    // A shortcut key clicks its button a moment later. A press that does
    // not close the dialog must not hang the test.
    if (!QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 2000)) dialog->done(0);
  });
  return AskWithButtonDialogWindow(kInstallQuestion, "Confirmation", {"Automatic", "&Manual", "Cancel"},
                                   placement);
}

TEST(ButtonDialogWindow, EachWayOutGivesItsAnswerCode) {
  struct Case {
    const char* way;
    std::function<void(ButtonDialogWindow&)> press;
    int answer;
  } cases[] = {
      {"first button", [](ButtonDialogWindow& d) { QTest::mouseClick(d.Buttons()[0], Qt::LeftButton); }, 11},
      {"second button", [](ButtonDialogWindow& d) { QTest::mouseClick(d.Buttons()[1], Qt::LeftButton); }, 12},
      {"third button", [](ButtonDialogWindow& d) { QTest::mouseClick(d.Buttons()[2], Qt::LeftButton); }, 13},
      {"Enter presses the first", [](ButtonDialogWindow& d) { QTest::keyClick(&d, Qt::Key_Return); }, 11},
      {"the marked key", [](ButtonDialogWindow& d) { QTest::keyClick(d.windowHandle(), Qt::Key_M, Qt::AltModifier); }, 12},
      {"Escape", [](ButtonDialogWindow& d) { QTest::keyClick(&d, Qt::Key_Escape); }, 2},
      {"closing the window", [](ButtonDialogWindow& d) { d.close(); }, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(AnswerAfter(c.press), c.answer) << c.way;
}

TEST(ButtonDialogWindow, GoesOnTheScreenOrOnTheActiveWindow) {
  QWidget window;
  window.setWindowTitle("Course title");
  window.setGeometry(30, 40, 700, 500);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::setActiveWindow(&window);
  ASSERT_EQ(QApplication::activeWindow(), &window);

  const QPoint screen_centre = QGuiApplication::primaryScreen()->geometry().center();
  struct Case {
    DialogPlacement placement;
    QPoint centre;
  } cases[] = {
      {DialogPlacement::Screen, screen_centre},
      {DialogPlacement::ActiveWindow, window.frameGeometry().center()},
  };
  for (const Case& c : cases) {
    ButtonDialogWindow dialog("Which?", "", {"One", "Two"});
    dialog.Place(c.placement);
    // Centred to the pixel, as far as halving allows.
    EXPECT_LE((dialog.frameGeometry().center() - c.centre).manhattanLength(), 2);
    EXPECT_EQ(dialog.windowTitle(), "Course title") << "an empty caption takes the active window's";
  }
  window.close();
}

}  // namespace
}  // namespace vork
