#pragma once
// The program's main window, published for the objects that need it (to
// disable it during a scene change, to move the keyboard focus, to centre
// dialogs on it).

class QWidget;

namespace vork {

void SetMainForm(QWidget* form);
QWidget* MainForm();

// Disables the main window. Raises EVkAssertion when there is none.
void DisableMainForm();
// Processes pending window messages, then enables the main window again.
// Raises EVkAssertion when there is none.
void EnableMainForm();

}  // namespace vork
