// The player's side of PrintTextDocument: the printing code and Qt Print
// Support live in a module loaded at the first print job (printing_module.h),
// so that courses that never print do not load them at every start.

#include <QTextDocument>
#include <string>

#include "objects/rtf/printing_module.h"
#include "objects/rtf/text_printing.h"
#include "platform/errors.h"
#include "platform/on_demand_library.h"

namespace vork {

void PrintTextDocument(const QTextDocument& document, std::string_view title) {
  static OnDemandLibrary module(OnDemandLibrary::BesideExecutable(kPrintingModule), "printing");
  static const auto print = module.Find<PrintingModuleFunction>(kPrintingEntry);
  const std::string name(title);
  std::string error;
  if (!print(&document, &name, &error)) throw EVkError(error);
}

}  // namespace vork
