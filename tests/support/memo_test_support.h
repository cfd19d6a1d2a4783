#pragma once
// What the memo tests share: a QApplication for the whole run, screenshots
// for a person to look at, and reading back what a print job wrote.

#include <QImage>
#include <string>

namespace vork::testing {

// Writes image to <build>/memo-screenshots/<name>.png.
void SaveScreenshot(const QImage& image, const std::string& name);

struct PrintedPdf {
  std::string text;   // pdftotext's reading, UTF-8
  std::string title;  // the document title pdfinfo reports
  int pages = 0;
};
// Reads a PDF back with poppler's pdftotext and pdfinfo.
PrintedPdf ReadPdf(const std::string& path);

// A fresh path in the test's temporary folder (the file does not exist).
std::string TemporaryPdfPath(const std::string& name);

// Sets VORK_PRINT_PDF while it lives.
class PrintToPdf {
 public:
  explicit PrintToPdf(const std::string& path);
  ~PrintToPdf();
  PrintToPdf(const PrintToPdf&) = delete;
  PrintToPdf& operator=(const PrintToPdf&) = delete;
};

}  // namespace vork::testing
