#pragma once
// TVkDialog: what a picture dialog shows and how it closes, as the system
// object fills it from message arguments. Plain data, free of Qt, so that
// the placement and hot-spot rules test and fuzz without a window.

#include <cstdint>
#include <string>

namespace vork {

// left, top, right, bottom; empty when it has no area.
struct TVkDialogRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool Empty() const { return right <= left || bottom <= top; }
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const TVkDialogRect&) const = default;
};

struct TVkDialog {
  // Screen rectangle the dialog is centred in; empty means the whole screen.
  TVkDialogRect Area;
  // ".img" name of the picture; empty shows none.
  std::string BitmapName;
  // 0 takes the picture's width or height.
  int32_t Width = 0;
  int32_t Height = 0;
  // Windows colour word, visible where the picture does not cover.
  int32_t Color = 0;
  int32_t OffsetX = 0;
  int32_t OffsetY = 0;
  // "FILE:", "HTML:" or "TEXT:" and the content; empty means no text area.
  std::string Text;
  // In dialog coordinates; empty means (0, 0, 20, 20).
  TVkDialogRect TextRect;
  int32_t TextBackground = 0xFFFFFF;
  std::string FontName;
  // 0 keeps the viewer's default size.
  int32_t FontSize = 0;
  int32_t FontColor = 0;
  // Groups of name/left/top/width/height (dialog_hotspots.h).
  std::string Hotspots;
  // Milliseconds: 0 none, positive closes after it, negative closes after
  // its absolute value and ignores clicks meanwhile.
  int32_t Timeout = 0;
};

}  // namespace vork
