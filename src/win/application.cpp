#include "application.h"

#include "control_ids.h"
#include "core/error_text.h"
#include "core/errors.h"
#include "core/path_parts.h"
#include "module_path.h"
#include "net/dispatch-win32.h"
#include "resource_ids.h"

namespace pelto::win {

namespace {

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

// Our own windows are the top-level windows of this thread with a class of ours.
bool IsFormWindow(HWND hwnd)
{
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof name);
    const std::string cls = name;
    return cls == ids::MainFormClass || cls == ids::SettingFormClass || cls == ids::AboutBoxClass;
}

struct DisableScan {
    std::vector<HWND>* found;
    HWND except, app;
};

BOOL CALLBACK CollectVisibleForms(HWND hwnd, LPARAM param)
{
    if (IsWindowVisible(hwnd) && IsFormWindow(hwnd)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectEnabledWindows(HWND hwnd, LPARAM param)
{
    auto& s = *reinterpret_cast<DisableScan*>(param);
    if (hwnd != s.except && hwnd != s.app && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) s.found->push_back(hwnd);
    return TRUE;
}

} // namespace

Application::Application(HINSTANCE instance)
    : InstanceHandle(instance), TitleText(ApplicationTitle(ModuleFileName(), IsLeadByte))
{
    Icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    SmallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = Icon;
    wc.hIconSm = SmallIcon;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.lpszClassName = ids::ApplicationClass;
    if (!RegisterClassExA(&wc)) throw Exception("RegisterClassEx " + std::string(ids::ApplicationClass));

    // Zero-sized in the middle of the screen: never seen, yet a visible unowned window,
    // so the task bar shows its button with the title and the icon.
    Window = CreateWindowExA(0, ids::ApplicationClass, TitleText.c_str(),
                             WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                             GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                             nullptr, nullptr, instance, this);
    if (!Window) throw Exception("CreateWindowEx " + std::string(ids::ApplicationClass));
    SetWindowPos(Window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Application::~Application()
{
    if (Window) DestroyWindow(Window);
}

LRESULT CALLBACK Application::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Application*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->Window = hwnd;
    }
    auto* self = reinterpret_cast<Application*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
        self->ShowException(e);
        return 0;
    }
}

LRESULT Application::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SYSCOMMAND:
        // The task-bar button's menu acts on the main window.
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            if (MainWindow && IsWindow(MainWindow)) PostMessageA(MainWindow, WM_CLOSE, 0, 0);
            return 0;
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        }
        break;
    case WM_CLOSE:
        if (MainWindow && IsWindow(MainWindow)) PostMessageA(MainWindow, WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        // Activating the task-bar button activates the window last used.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            HWND popup = GetLastActivePopup(Window);
            if (popup != Window && IsWindowVisible(popup) && IsWindowEnabled(popup)) SetActiveWindow(popup);
            return 0;
        }
        break;
    case WM_DESTROY:
        Window = nullptr;
        break;
    }
    return DefWindowProcA(Window, msg, wParam, lParam);
}

void Application::Minimize()
{
    if (IsIconic(Window)) return;
    HiddenByMinimize.clear();
    EnumThreadWindows(GetCurrentThreadId(), CollectVisibleForms, reinterpret_cast<LPARAM>(&HiddenByMinimize));
    for (HWND hwnd : HiddenByMinimize) ShowWindow(hwnd, SW_HIDE);
    ShowWindow(Window, SW_MINIMIZE);
}

void Application::Restore()
{
    ShowWindow(Window, SW_RESTORE);
    // A program started minimised shows its main window for the first time here.
    if (HiddenByMinimize.empty() && MainWindow && IsWindow(MainWindow) && !IsWindowVisible(MainWindow))
        HiddenByMinimize.push_back(MainWindow);
    for (HWND hwnd : HiddenByMinimize)
        if (IsWindow(hwnd)) ShowWindow(hwnd, SW_SHOW);
    HiddenByMinimize.clear();
    HWND popup = GetLastActivePopup(Window);
    if (popup != Window && IsWindowVisible(popup) && IsWindowEnabled(popup)) SetForegroundWindow(popup);
}

void Application::Run(HWND mainWindow, int show)
{
    MainWindow = mainWindow;
    const bool minimized = show == SW_MINIMIZE || show == SW_SHOWMINIMIZED || show == SW_SHOWMINNOACTIVE;
    if (minimized) {
        ShowWindow(Window, SW_SHOWMINNOACTIVE);
    } else {
        ShowWindow(Window, SW_SHOWNOACTIVATE);
        ShowWindow(mainWindow, show == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        SetForegroundWindow(mainWindow);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) net::DispatchOne(msg);
}

void Application::ShowException(const std::exception& e)
{
    ModalMessage(ErrorBoxText(e.what(), IsLeadByte), TitleText, MB_ICONSTOP | MB_OK);
}

int Application::ModalMessage(const std::string& text, const std::string& caption, UINT flags)
{
    TaskWindowsDisabled modal(*this, nullptr);
    return ::MessageBoxA(Window, text.c_str(), caption.c_str(), flags);
}

TaskWindowsDisabled::TaskWindowsDisabled(const Application& app, HWND except) : Active(GetActiveWindow())
{
    DisableScan scan{&Disabled, except, app.Handle()};
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindows, reinterpret_cast<LPARAM>(&scan));
    for (HWND hwnd : Disabled) EnableWindow(hwnd, FALSE);
}

TaskWindowsDisabled::~TaskWindowsDisabled()
{
    for (HWND hwnd : Disabled)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    if (Active && IsWindow(Active) && IsWindowVisible(Active)) SetActiveWindow(Active);
}

} // namespace pelto::win
