#pragma once
// What the script objects with a native control on the stage share: the
// stage background is the control's parent, so it scrolls and disappears
// with the stage, and the control takes colours as Windows colour words.

#include <QPalette>
#include <cstdint>

class QWidget;

namespace vork {

class TVkView;

// The stage background of view; null when there is no view (the machine runs
// without a stage in tests of its data alone).
QWidget* StageParent(TVkView* view);

// Makes control the main window's active control: it gets the keyboard
// focus now, or when its window is next activated, or, while the window is
// disabled (during a scene change), when it is enabled again.
void FocusControl(QWidget* control);

// One colour role of control's palette := a Windows colour word.
void SetControlColor(QWidget* control, QPalette::ColorRole role, int32_t color);

}  // namespace vork
