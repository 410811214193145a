// Window classes, control ids and command ids of Pelto's windows. The Wine test driver
// includes this file too, to find controls and send commands as a user's clicks would.
#pragma once

namespace pelto::ids {

// Window classes (each window's class is named after it).
inline constexpr const char* ApplicationClass = "TApplication"; // owns the task-bar button
inline constexpr const char* MainFormClass = "TPelto_Form";
inline constexpr const char* SettingFormClass = "TSettingForm";
inline constexpr const char* AboutBoxClass = "TAboutBox";

// Main window controls.
enum MainControl : int {
    Panel1 = 100,
    A1BitBtn = 101,
    A3BitBtn = 102,
    CancelBitBtn = 103,
    ClearBitBtn = 104,
    CloseBitBtn = 105,
    Panel2 = 106,
    ListBox1 = 107,
    StatusBar1 = 108,
};

// Menu commands (WM_COMMAND ids) of the main menu and the list's pop-up menu.
enum MenuCommand : int {
    Exit1 = 200,
    Setting = 201,
    ShowHelp = 202,
    About2 = 203,
    DeletePop = 204,
};

// Settings window controls.
enum SettingControl : int {
    ButtonA1Edit = 300,
    IPAddressA1Edit = 301,
    UserA1Edit = 302,
    PasswordA1Edit = 303,
    TimeOutA1Edit = 304,
    PortA1Edit = 305,
    ButtonA3Edit = 306,
    IPAddressA3Edit = 307,
    UserA3Edit = 308,
    PasswordA3Edit = 309,
    TimeOutA3Edit = 310,
    PortA3Edit = 311,
    OKBitBtn = 320,
    SettingCancelBitBtn = 321, // the settings window's "ｷｬﾝｾﾙ" (CancelBitBtn there)
    RadioGroup1 = 322,
    TextRadioButton = 323,
    BinaryRadioButton = 324,
    FirstSettingLabel = 330, // labels and frames: 330 and up, in table order
};

// About box controls.
enum AboutControl : int {
    AboutPanel = 400,
    ProgramIcon = 401,
    OKButton = 402,
    FirstAboutLabel = 410,
};

} // namespace pelto::ids
