#pragma once
// PrintHtml: prints an HTML viewer's whole document, pages 1 to 10,000,
// while a small window captioned with the title tells the learner so.

#include <string_view>

namespace vork {

class TVkHTMLViewer;

// The printing error (no printer, a failed job) passes on; the window is
// closed either way.
void PrintHtml(TVkHTMLViewer& viewer, std::string_view title);

}  // namespace vork
