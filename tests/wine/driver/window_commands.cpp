// Top-level windows: captions, places, visibility, and what the caption buttons do.
#include <windows.h>

#include "commands.h"
#include "find.h"
#include "text.h"
#include "wait.h"

namespace driver {
namespace {

void wait_visible(const Args& args) { wait_window(args[0]); }

void wait_hidden(const Args& args) {
    wait_until(args[0] + " to be hidden", [&] { return !find_window(args[0], true); });
}

void wait_gone(const Args& args) {
    wait_until(args[0] + " to be gone", [&] { return !find_window(args[0], false); });
}

// The application window may be invisible: it is found hidden or not.
HWND any_window(const std::string& alias) {
    if (const HWND visible = find_window(alias, true)) return visible;
    return wait_until("a window " + alias, [&] { return find_window(alias, false); });
}

HWND target_window(const std::string& name) {
    const Target target = parse_target(name);
    if (target.id) return wait_target(target);
    return any_window(target.window);
}

void text(const Args& args) { print_line(utf8_from_wide(window_text(target_window(args[0])))); }

void rect(const Args& args) {
    RECT r{};
    GetWindowRect(target_window(args[0]), &r);
    print_line(std::to_string(r.left) + " " + std::to_string(r.top) + " " +
               std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top));
}

void state(const Args& args) {
    const HWND window = target_window(args[0]);
    auto flag = [](bool on) { return on ? "true" : "false"; };
    print_line(std::string("{\"visible\":") + flag(IsWindowVisible(window)) +
               ",\"iconic\":" + flag(IsIconic(window)) + ",\"zoomed\":" + flag(IsZoomed(window)) +
               ",\"enabled\":" + flag(IsWindowEnabled(window)) + "}");
}

void move(const Args& args) {
    const HWND window = wait_window(args[0]);
    const int x = to_int(args[1]), y = to_int(args[2]);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    wait_until("the move of " + args[0], [&] {
        RECT r{};
        GetWindowRect(window, &r);
        return r.left == x && r.top == y;
    });
}

// The control with the keyboard focus in the window's thread, by its id (0: none).
void focus(const Args& args) {
    const HWND window = wait_window(args[0]);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        fail("GetGUIThreadInfo failed: error " + std::to_string(GetLastError()));
    print_line(std::to_string(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0));
}

bool shown(HWND window) { return IsWindowVisible(window) && !IsIconic(window); }

// As the minimise box does; a program may hide its main window and minimise its task-bar
// window instead, so either counts.
void minimize(const Args&) {
    const HWND main = wait_window("main");
    post(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    wait_until("the main window to be minimised", [&] { return !shown(main); });
}

// As the maximise box does.
void maximize(const Args&) {
    const HWND main = wait_window("main");
    post(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    wait_until("the main window to be maximised", [&] { return IsZoomed(main) != FALSE; });
}

// As the task-bar button does: restore whichever window is minimised.
void restore(const Args&) {
    const HWND main = wait_until("the main window", [] { return find_window("main", false); });
    const HWND app = find_window("app", false);
    if (IsIconic(main))
        post(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    else if (app && IsIconic(app))
        post(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    else if (!IsWindowVisible(main))
        fail("the main window is hidden but nothing is minimised");
    wait_until("the main window to be restored", [&] { return shown(main); });
}

// Posted: a close runs the program's save and may show a message box.
void close(const Args& args) {
    const HWND window = any_window(args[0]);
    const std::string how = args.size() > 1 ? args[1] : "box";
    if (how == "box") { // the close box
        post(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (how == "message") {
        post(window, WM_CLOSE, 0, 0);
    } else if (how == "altf4") {
        post(window, WM_SYSKEYDOWN, VK_F4, 1 | (KF_ALTDOWN << 16)); // context code: Alt is down
        post(window, WM_SYSKEYUP, VK_F4, 1 | (KF_ALTDOWN << 16) | (KF_REPEAT << 16) | (KF_UP << 16));
    } else {
        fail("close: how is box, message or altf4");
    }
}

// Ends the process that owns the window, if there is one: the tests' clean-up of a run that
// was not started directly (start /min) or that hangs.
void terminate(const Args& args) {
    const HWND window = find_window(args[0], false);
    if (!window) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) fail("OpenProcess failed: error " + std::to_string(GetLastError()));
    TerminateProcess(process, 1);
    WaitForSingleObject(process, step_timeout_ms());
    CloseHandle(process);
}

const std::vector<Command> commands = {
    {"wait", "WINDOW", 1, 1, wait_visible},
    {"wait-hidden", "WINDOW", 1, 1, wait_hidden},
    {"wait-gone", "WINDOW", 1, 1, wait_gone},
    {"text", "WINDOW[:ID]", 1, 1, text},
    {"rect", "WINDOW[:ID]  -> left top width height", 1, 1, rect},
    {"state", "WINDOW[:ID]  -> visible, iconic, zoomed, enabled", 1, 1, state},
    {"move", "WINDOW X Y", 3, 3, move},
    {"focus", "WINDOW  -> the id of the control with the focus", 1, 1, focus},
    {"minimize", "", 0, 0, minimize},
    {"restore", "", 0, 0, restore},
    {"maximize", "", 0, 0, maximize},
    {"close", "WINDOW [box|message|altf4]", 1, 2, close},
    {"terminate", "WINDOW", 1, 1, terminate},
};

} // namespace

const std::vector<Command>& window_commands() { return commands; }

} // namespace driver
