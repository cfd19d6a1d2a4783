#pragma once
// TVkTextObject (class 17): lets the bytecode edit a drawn text, in practice
// a sprite's caption. The sprite object creates its text object, binds it to
// the caption and destroys it when it goes itself; the bytecode only ever
// gets the handle. The text object creates a font object on initialise that
// edits the bound text's font, and destroys it on release.
//
// A text object the bytecode creates directly is bound to nothing: its
// messages then fail with a message saying where text objects come from.

#include <cstdint>

#include "bridge/script_object.h"

namespace vork {

class TCustomDrawText;

class TVkTextObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // text stays its owner's; the owner destroys this object before text goes.
  void Bind(TCustomDrawText* text);
  TCustomDrawText* Text() const { return text_; }
  int32_t FontObject() const { return font_object_; }

 private:
  // The bound text; raises EVkError when there is none.
  TCustomDrawText& Target() const;

  TCustomDrawText* text_ = nullptr;
  int32_t font_object_ = 0;
};

// The alignment words of the bytecode (0 left or top, 1 centre, 2 right or
// bottom; anything else left or top) to and from the drawn text's values
// (0 left or top, 1 right or bottom, 2 centre).
int32_t AlignmentFromWord(int32_t word);
int32_t WordFromAlignment(int32_t alignment);

// Creates a text object bound to text (owned by the caller) with its
// auto-release flag cleared, and returns its handle. The caller destroys it
// (message -1) before text goes.
int32_t CreateTextObject(TVkObjectManager& manager, TCustomDrawText& text);

}  // namespace vork
