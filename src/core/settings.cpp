#include "settings.h"


namespace pelto {

namespace {

const char* const PrinterSection[2] = {"A1Printer", "A3Printer"};
const char* const PrinterPrefix[2] = {"A1", "A3"};
const char* const DefaultButtonName[2] = {"Button1", "Button2"};

// Top, Left, Width, Height: the order in which both windows store their place.
template <class Apply>
Rect LoadBounds(Profile& profile, const char* section, Rect r, Apply apply)
{
    r.Top = ReadInteger(profile, section, "Top", r.Top);
    apply(r);
    r.Left = ReadInteger(profile, section, "Left", r.Left);
    apply(r);
    r.Width = ReadInteger(profile, section, "Width", r.Width);
    apply(r);
    r.Height = ReadInteger(profile, section, "Height", r.Height);
    apply(r);
    return r;
}

void SaveBounds(Profile& profile, const char* section, const Rect& r)
{
    WriteInteger(profile, section, "Top", r.Top);
    WriteInteger(profile, section, "Left", r.Left);
    WriteInteger(profile, section, "Width", r.Width);
    WriteInteger(profile, section, "Height", r.Height);
}

} // namespace

MainSettings LoadMainSettings(Profile& profile, MainSettingsTarget& target)
{
    MainSettings s;
    s.Window = LoadBounds(profile, "Window", target.Bounds(), [&](const Rect& r) { target.SetBounds(r); });
    s.TextMode = ReadInteger(profile, "Mode", "Mode", 1) == 1;
    for (int p = 0; p < 2; ++p) {
        const std::string section = PrinterSection[p], prefix = PrinterPrefix[p];
        s.ButtonName[p] = profile.ReadString(section, prefix + "ButtonName", DefaultButtonName[p]);
        target.SetButtonCaption(p, s.ButtonName[p]);
        PrinterSettings& ps = s.Printer[p];
        ps.IPAddress = profile.ReadString(section, prefix + "IPAddress", "IP Address");
        ps.User = profile.ReadString(section, prefix + "User", "User Name");
        ps.Password = profile.ReadString(section, prefix + "Password", "");
        ps.TimeOut = profile.ReadString(section, prefix + "TimeOut", "5");
        ps.Port = profile.ReadString(section, prefix + "Port", "21");
    }
    return s;
}

void SaveMainSettings(Profile& profile, const MainSettings& s)
{
    SaveBounds(profile, "Window", s.Window);
    WriteInteger(profile, "Mode", "Mode", s.TextMode ? 1 : 0);
    for (int p = 0; p < 2; ++p) {
        const std::string section = PrinterSection[p], prefix = PrinterPrefix[p];
        const PrinterSettings& ps = s.Printer[p];
        profile.WriteString(section, prefix + "ButtonName", s.ButtonName[p]);
        profile.WriteString(section, prefix + "IPAddress", ps.IPAddress);
        profile.WriteString(section, prefix + "User", ps.User);
        profile.WriteString(section, prefix + "Password", ps.Password);
        profile.WriteString(section, prefix + "TimeOut", ps.TimeOut);
        profile.WriteString(section, prefix + "Port", ps.Port);
    }
}

Rect LoadSettingWindow(Profile& profile, Rect current)
{
    return LoadBounds(profile, "SettingWindow", current, [](const Rect&) {});
}

void SaveSettingWindow(Profile& profile, const Rect& bounds)
{
    SaveBounds(profile, "SettingWindow", bounds);
}

} // namespace pelto
