#include "objects/rtf/text_printing.h"

#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <cstdlib>
#include <string>

#include "platform/errors.h"
#include "platform/qt/qt_text.h"

namespace vork {

namespace {

std::string Quoted(std::string_view title) {
  std::string quoted(1, '"');
  quoted.append(title);
  quoted += '"';
  return quoted;
}

}  // namespace

void PrintTextDocument(const QTextDocument& document, std::string_view title) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(ToQString(title));
  const char* pdf_file = std::getenv("VORK_PRINT_PDF");
  if (pdf_file && *pdf_file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFile::decodeName(pdf_file));
  } else if (QPrinterInfo::defaultPrinter().isNull()) {
    throw EVkError("Cannot print " + Quoted(title) + ": there is no default printer");
  }
  document.print(&printer);
  // QTextDocument::print reports nothing itself; a printer that could not
  // start the job says so in its state.
  if (printer.printerState() == QPrinter::Error) {
    std::string target = printer.outputFileName().isEmpty() ? FromQString(printer.printerName())
                                                            : FromQString(printer.outputFileName());
    throw EVkError("Printing " + Quoted(title) + " to " + Quoted(target) + " failed");
  }
}

}  // namespace vork
