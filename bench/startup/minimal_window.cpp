// The reference for the player's start-up time: a minimal Qt Widgets
// program that opens one window and ends as soon as it has been shown.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(640, 480);
  window.show();
  QTimer::singleShot(0, &app, &QApplication::quit);
  return QApplication::exec();
}
