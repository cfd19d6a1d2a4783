#pragma once
// Printing a rich-text document as one job. With VORK_PRINT_PDF=FILE in the
// environment every job goes to that PDF file instead of a printer (tests
// and headless runs read it back).

#include <string_view>

class QTextDocument;

namespace vork {

// Prints the whole document on the default printer, page layout as the
// printer gives it, the job named title (Windows-1252). Raises EVkError
// naming the title when there is no printer or the job fails.
void PrintTextDocument(const QTextDocument& document, std::string_view title);

}  // namespace vork
