// Message boxes captioned with the program's own name.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// Set once at start: "Vessa" for the browser, "VessaMgr" for the manager.
void SetProgramName(std::string name);
const std::string& ProgramName();

// MessageBoxA with the program's caption; the owner defaults to the thread's active window.
int ShowMessageBox(const std::string& text, UINT flags, HWND owner = nullptr);

}  // namespace fw
