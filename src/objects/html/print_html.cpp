#include "objects/html/print_html.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include "objects/html/html_viewer.h"
#include "objects/rtf/text_printing.h"
#include "platform/qt/main_form.h"
#include "platform/qt/qt_text.h"

namespace vork {

namespace {

// A small tool window over the main window, painted before the job starts
// because printing blocks the event loop.
class PrintingWindow {
 public:
  explicit PrintingWindow(std::string_view title) : window_(MainForm(), Qt::Tool) {
    window_.setWindowTitle(ToQString(title));
    auto* layout = new QVBoxLayout(&window_);
    layout->addWidget(new QLabel(ToQString(title), &window_));
    window_.resize(240, 60);
    window_.show();
    window_.repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  ~PrintingWindow() { window_.close(); }
  PrintingWindow(const PrintingWindow&) = delete;
  PrintingWindow& operator=(const PrintingWindow&) = delete;

 private:
  QWidget window_;
};

}  // namespace

void PrintHtml(TVkHTMLViewer& viewer, std::string_view title) {
  PrintingWindow window(title);
  // Every page of the document: the page range 1 to 10,000 covers it whole.
  PrintTextDocument(*viewer.document(), title);
}

}  // namespace vork
