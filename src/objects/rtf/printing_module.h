#pragma once
// The entry point of the printing module (libvork_printing.so), which holds
// the printing code and Qt Print Support: the player loads it the first time
// a course prints.

#include <string>

class QTextDocument;

namespace vork {

// Prints as PrintTextDocument does; on failure answers false with the
// message in *error. Nothing is thrown across the module's edge.
using PrintingModuleFunction = bool (*)(const QTextDocument* document, const std::string* title,
                                        std::string* error);
constexpr const char* kPrintingModule = "libvork_printing.so";
constexpr const char* kPrintingEntry = "VorkPrintTextDocument";

}  // namespace vork
