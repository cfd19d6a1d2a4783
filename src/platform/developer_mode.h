#pragma once
// Developer mode: the development-machine flag together with the Num Lock
// state, kept by the main window. It shows the developer marks and the
// message overlay on the stage and routes F1-F12 to their own key routine.

namespace vork {

bool DeveloperMode();
// Each switch from off to on advances the developer view style, which
// alternates between 1 and 2 (the first switch-on gives 1).
void SetDeveloperMode(bool on);
// 0 while developer mode is off.
int DeveloperViewStyle();

}  // namespace vork
