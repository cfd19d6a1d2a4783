// The printing module's entry point (printing_module.h).

#include "objects/rtf/printing_module.h"

#include <exception>
#include <type_traits>

#include "objects/rtf/text_printing.h"

extern "C" __attribute__((visibility("default"))) bool VorkPrintTextDocument(const QTextDocument* document,
                                                                             const std::string* title,
                                                                             std::string* error) {
  try {
    vork::PrintTextDocument(*document, *title);
    return true;
  } catch (const std::exception& failure) {
    *error = failure.what();
  } catch (...) {
    *error = "Printing \"" + *title + "\" failed";
  }
  return false;
}

// The module and its entry's type must agree.
static_assert(std::is_same_v<decltype(&VorkPrintTextDocument), vork::PrintingModuleFunction>);
