#pragma once
// Puts what the RTF reader made into a QTextDocument, the document model of
// our rich-text control.

#include <QFont>

#include "objects/rtf/rtf_document.h"

class QTextDocument;

namespace vork {

// Replaces the content of target by rtf. Runs without a font of their own
// (or naming a font the table lacks) take base's family; without a colour
// they take the document's default text colour. Face names map as course
// font names do (FontFamilyFor).
void FillTextDocument(QTextDocument& target, const RtfDocument& rtf, const QFont& base);

}  // namespace vork
