#include "pelto_main.h"

#include <shellapi.h>
#include <windowsx.h>

#include "about.h"
#include "control_ids.h"
#include "drop_files.h"
#include "ini_file.h"
#include "module_path.h"
#include "pelto_main_layout.h"
#include "setting.h"

namespace pelto::win {

const TPelto_Form::Command TPelto_Form::Commands[] = {
    {ids::A1BitBtn, [](TPelto_Form& f) { f.SendClick(0); }},
    {ids::A3BitBtn, [](TPelto_Form& f) { f.SendClick(1); }},
    {ids::CancelBitBtn, [](TPelto_Form& f) { f.CancelBitBtnClick(); }},
    {ids::ClearBitBtn, [](TPelto_Form& f) { f.ClearBitBtnClick(); }},
    {ids::CloseBitBtn, [](TPelto_Form& f) { f.Exit1Click(); }},
    {ids::Exit1, [](TPelto_Form& f) { f.Exit1Click(); }},
    {ids::Setting, [](TPelto_Form& f) { f.SettingClick(); }},
    {ids::ShowHelp, [](TPelto_Form& f) { f.ShowHelpClick(); }},
    {ids::About2, [](TPelto_Form& f) { f.About2Click(); }},
    {ids::DeletePop, [](TPelto_Form& f) { f.DeletePopClick(); }},
};

namespace {
int ButtonId(int printer) { return printer == 0 ? ids::A1BitBtn : ids::A3BitBtn; }
} // namespace

void TPelto_Form::Create(Application& app)
{
    MainMenu1 = BuildMenuBar(MainMenu1Items());
    PopupMenu1 = BuildPopupMenu(PopupMenu1Items());
    CreateForm(app, app.Handle(), PeltoMainDescription(), WindowProc, MainMenu1.get());
    SetFocusTarget(ids::A1BitBtn);
    DragAcceptFiles(Hwnd, TRUE);
    State.FormCreate(GetCommandLineA());
}

LRESULT TPelto_Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND: {
        // Menu items (no control) and button clicks; list notifications are not commands.
        const int id = LOWORD(wParam);
        if (lParam != 0 && HIWORD(wParam) != BN_CLICKED) break;
        for (const Command& c : Commands)
            if (c.id == id) {
                c.handler(*this);
                return 0;
            }
        return 0; // Enter and Escape (IDOK, IDCANCEL) press nothing here
    }
    case DM_GETDEFID: {
        // Enter presses the button that has the focus, as a user of this window expects.
        const HWND focus = GetFocus();
        if (focus && GetParent(focus) == Hwnd && (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
            return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
        return 0;
    }
    case WM_SHOWWINDOW:
        if (wParam) FormShow();
        break;
    case WM_DROPFILES:
        WMDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CONTEXTMENU:
        if (ListBoxContextMenu(lParam)) return 0;
        break;
    case WM_CLOSE:
        FormClose();
        return 0;
    case WM_DESTROY:
        SetMenu(Hwnd, nullptr); // MainMenu1 destroys it
        PostQuitMessage(0);
        return 0;
    }
    return DefaultHandling(msg, wParam, lParam);
}

void TPelto_Form::FormShow()
{
    if (State.Shown) return;
    IniFile profile(SettingsFilePath());
    State.FormShow(profile);
}

void TPelto_Form::FormClose()
{
    // A failed save is reported, and the window closes all the same: otherwise an
    // unwritable file would keep the program from ever ending.
    try {
        IniFile profile(SettingsFilePath());
        State.FormClose(profile);
    } catch (const std::exception& e) {
        ShowException(e);
    }
    DestroyWindow(Hwnd);
}

void TPelto_Form::Exit1Click()
{
    PostMessageA(Hwnd, WM_CLOSE, 0, 0);
}

void TPelto_Form::SettingClick()
{
    State.SetStatus("");
    SettingForm.ShowModal();
}

void TPelto_Form::SendClick(int printer)
{
    State.SendClick(printer);
}

void TPelto_Form::CancelBitBtnClick()
{
    State.CancelBitBtnClick();
}

void TPelto_Form::ClearBitBtnClick()
{
    State.ClearBitBtnClick();
}

void TPelto_Form::DeletePopClick()
{
    State.DeletePopClick();
}

void TPelto_Form::WMDropFiles(HDROP drop)
{
    State.WMDropFiles(TakeDroppedFiles(drop));
}

void TPelto_Form::ShowHelpClick()
{
    // Whatever the shell makes of it is its own report; the result is not examined.
    ShellExecuteA(App->Handle(), "open", HelpFilePath().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TPelto_Form::About2Click()
{
    AboutBox.ShowModal();
}

bool TPelto_Form::ListBoxContextMenu(LPARAM where)
{
    // The message may come from the list box or be forwarded by another window, with any
    // wParam: the place decides. A right click must not change the selection.
    HWND list = Control(ids::ListBox1);
    RECT r;
    GetWindowRect(list, &r);
    POINT pt{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (pt.x == -1 && pt.y == -1) { // from the keyboard
        if (GetFocus() != list) return false;
        pt = {r.left + 8, r.top + 8};
    } else if (!PtInRect(&r, pt)) {
        return false;
    }
    TrackPopupMenu(PopupMenu1.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, Hwnd, nullptr);
    return true;
}

void TPelto_Form::SetStatus(const std::string& text)
{
    if (HWND bar = Control(ids::StatusBar1))
        SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

void TPelto_Form::AddItem(const std::string& name)
{
    if (HWND list = Control(ids::ListBox1)) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void TPelto_Form::DeleteItem(int index)
{
    if (HWND list = Control(ids::ListBox1)) SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TPelto_Form::ClearItems()
{
    if (HWND list = Control(ids::ListBox1)) SendMessageA(list, LB_RESETCONTENT, 0, 0);
}

int TPelto_Form::FirstSelected() const
{
    HWND list = Control(ids::ListBox1);
    if (!list) return -1;
    int first = -1;
    // Selected indices come in ascending order.
    if (SendMessageA(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) < 1) return -1;
    return first;
}

std::string TPelto_Form::ButtonCaption(int printer) const
{
    return Text(ButtonId(printer));
}

void TPelto_Form::SetButtonCaption(int printer, const std::string& caption)
{
    SetText(ButtonId(printer), caption);
}

void TPelto_Form::ShowMessage(const std::string& text, const std::string& caption)
{
    if (App) App->ModalMessage(text, caption, MB_OK);
}

} // namespace pelto::win
