// Finding Pelto's windows and controls. A window is named by an alias (main, app, settings,
// about, msgbox, popup) or by its window class; a control by "window:id", with the ids of
// src/win/control_ids.h. With PELTO_DRIVER_EXE set (the program's Windows path), only the
// windows of that program count.
#pragma once

#include <windows.h>

#include <string>

namespace driver {

struct Target {
    std::string window; // alias or class name
    int id = 0;         // 0: the window itself
};

Target parse_target(const std::string& name);
std::string window_class(const std::string& alias);

// A window of that class, or nullptr; visible_only skips hidden ones.
HWND find_window(const std::string& alias, bool visible_only);
HWND wait_window(const std::string& alias); // visible, waits for it
HWND find_control(HWND parent, int id);     // searches all descendants
HWND wait_target(const Target& target);     // the visible window, then its control

std::wstring window_text(HWND window); // WM_GETTEXT, marshalled by Wine across processes
std::string class_name(HWND window);

} // namespace driver
