// Paths beside the running executable.
#pragma once
#include <string>

namespace pelto::win {

// The full path of the running executable, as GetModuleFileNameA gives it (ANSI bytes).
std::string ModuleFileName();

// The settings file "Pelto.ini" in the executable's folder.
std::string SettingsFilePath();

// The help page "PeltoHelp.html" in the executable's folder.
std::string HelpFilePath();

} // namespace pelto::win
