#pragma once
// TVkFontObject (class 14): lets the bytecode edit the font of a control or
// a drawn text. The object that owns the font creates its font object through
// the object manager, clears its auto-release flag, hands it the font
// (SetFont) and destroys it when it goes itself; the bytecode only ever gets
// the handle. The font stays its owner's: this object never frees it.

#include "bridge/script_object.h"

namespace vork {

class TVkFont;

class TVkFontObject : public TVkScriptObject {
 public:
  void HandleMessage(int32_t message) override;

  void SetFont(TVkFont* font) { font_ = font; }
  TVkFont* Font() const { return font_; }

 private:
  // The font to act on; raises EVkError when there is none.
  TVkFont& Target() const;

  TVkFont* font_ = nullptr;
};

// Creates a font object for font (owned by the caller) with its auto-release
// flag cleared, and returns its handle. The caller destroys it (message -1)
// before the font goes.
int32_t CreateFontObject(TVkObjectManager& manager, TVkFont& font);

}  // namespace vork
