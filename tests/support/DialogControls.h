// Reading a dialog's controls back, for the dialog tests in this process and for driving the
// program from another one alike: texts, list entries, visibility and enabling.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace stratigon::test {

std::string ControlText(HWND dialog, int id);
std::string WindowText(HWND window);
// The control's own visibility: a dialog created for a test may itself be hidden.
bool IsShown(HWND dialog, int id);
bool IsEnabledControl(HWND dialog, int id);
std::vector<std::string> ComboEntries(HWND dialog, int id);
std::vector<std::string> ListEntries(HWND dialog, int id);

}  // namespace stratigon::test
