// What the settings file holds, and the order in which it is read and written.
#pragma once
#include <string>

#include "profile.h"

namespace pelto {

// One printer's connection settings; timeout (seconds) and port stay text until a job starts.
struct PrinterSettings {
    std::string IPAddress, User, Password, TimeOut, Port;
    bool operator==(const PrinterSettings&) const = default;
};

struct Rect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool operator==(const Rect&) const = default;
};

// Everything the main window keeps in the file. Button names are held by the buttons.
struct MainSettings {
    Rect Window;
    bool TextMode = false;
    std::string ButtonName[2];
    PrinterSettings Printer[2];
};

// Where a loaded value goes at once (the window is moved as each position key is read).
class MainSettingsTarget {
public:
    virtual ~MainSettingsTarget() = default;
    virtual Rect Bounds() const = 0;
    virtual void SetBounds(const Rect& r) = 0;
    virtual void SetButtonCaption(int printer, const std::string& caption) = 0;
};

// Reads "Window", "Mode", "A1Printer", "A3Printer" in the file's order, applying the window
// position and the button captions to target as they are read; returns what was read.
MainSettings LoadMainSettings(Profile& profile, MainSettingsTarget& target);

// Writes the same keys in the same order; stops at the first value that fails (throws).
void SaveMainSettings(Profile& profile, const MainSettings& settings);

// The settings window's own position: "SettingWindow" Top, Left, Width, Height.
Rect LoadSettingWindow(Profile& profile, Rect current);
void SaveSettingWindow(Profile& profile, const Rect& bounds);

} // namespace pelto
