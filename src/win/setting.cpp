#include "setting.h"

#include "control_ids.h"
#include "ini_file.h"
#include "module_path.h"
#include "pelto_main.h"
#include "setting_layout.h"

namespace pelto::win {

namespace {

// The edits of one printer, in the order of PrinterSettings' texts.
struct PrinterEdits {
    int button, ipAddress, user, password, timeOut, port;
};
constexpr PrinterEdits Edits[2] = {
    {ids::ButtonA1Edit, ids::IPAddressA1Edit, ids::UserA1Edit, ids::PasswordA1Edit, ids::TimeOutA1Edit, ids::PortA1Edit},
    {ids::ButtonA3Edit, ids::IPAddressA3Edit, ids::UserA3Edit, ids::PasswordA3Edit, ids::TimeOutA3Edit, ids::PortA3Edit},
};

} // namespace

void TSettingForm::Create(Application& app)
{
    CreateForm(app, app.Handle(), SettingDescription(), WindowProc);
}

LRESULT TSettingForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (lParam != 0 && HIWORD(wParam) != BN_CLICKED) break;
        switch (LOWORD(wParam)) {
        case ids::OKBitBtn: OKBitBtnClick(); break;
        case ids::SettingCancelBitBtn: CancelBitBtnClick(); break;
        }
        return 0; // neither button is the default or the cancel one: IDOK and IDCANCEL do nothing
    case WM_SHOWWINDOW:
        if (wParam) FormShow();
        break;
    case WM_CLOSE:
        FormClose();
        return 0;
    }
    return DefaultHandling(msg, wParam, lParam);
}

void TSettingForm::FormShow()
{
    if (!Shown) {
        Shown = true;
        IniFile profile(SettingsFilePath());
        SetBounds(LoadSettingWindow(profile, Bounds()));
    }
    const MainForm& state = Pelto_Form.State;
    SendMessageA(Control(ids::TextRadioButton), BM_SETCHECK, state.TextMode ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(Control(ids::BinaryRadioButton), BM_SETCHECK, state.TextMode ? BST_UNCHECKED : BST_CHECKED, 0);
    for (int p = 0; p < 2; ++p) {
        const PrinterSettings& s = state.Printer[p];
        const PrinterEdits& e = Edits[p];
        SetText(e.button, Pelto_Form.ButtonCaption(p));
        SetText(e.ipAddress, s.IPAddress);
        SetText(e.user, s.User);
        SetText(e.password, s.Password);
        SetText(e.timeOut, s.TimeOut);
        SetText(e.port, s.Port);
    }
    SetFocusTarget(ids::OKBitBtn);
}

void TSettingForm::OKBitBtnClick()
{
    MainForm& state = Pelto_Form.State;
    state.TextMode = SendMessageA(Control(ids::TextRadioButton), BM_GETCHECK, 0, 0) == BST_CHECKED;
    for (int p = 0; p < 2; ++p) {
        PrinterSettings& s = state.Printer[p];
        const PrinterEdits& e = Edits[p];
        Pelto_Form.SetButtonCaption(p, Text(e.button));
        s.IPAddress = Text(e.ipAddress);
        s.User = Text(e.user);
        s.Password = Text(e.password);
        s.TimeOut = Text(e.timeOut);
        s.Port = Text(e.port);
    }
    FormClose();
}

void TSettingForm::CancelBitBtnClick()
{
    FormClose();
}

void TSettingForm::FormClose()
{
    // The position is kept on every close; a failed save is reported and the window still
    // closes, or the modal window could never be left.
    try {
        IniFile profile(SettingsFilePath());
        SaveSettingWindow(profile, Bounds());
    } catch (const std::exception& e) {
        ShowException(e);
    }
    CloseWith(mrCancel);
}

} // namespace pelto::win
