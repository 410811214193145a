// What a window holds and what the program shows at the top level; keys typed into a window.
#include <windows.h>

#include "commands.h"
#include "find.h"
#include "text.h"
#include "wait.h"

namespace driver {
namespace {

std::string item(HWND window, bool with_id) {
    std::string out = "{";
    if (with_id) out += "\"id\":" + std::to_string(GetDlgCtrlID(window)) + ",";
    return out + "\"class\":" + json_string(class_name(window)) +
           ",\"text\":" + json_string(utf8_from_wide(window_text(window))) +
           ",\"visible\":" + (IsWindowVisible(window) ? "true" : "false") + "}";
}

BOOL CALLBACK add_child(HWND child, LPARAM param) {
    auto* out = reinterpret_cast<std::vector<std::string>*>(param);
    out->push_back(item(child, true));
    return TRUE;
}

std::string joined(const std::vector<std::string>& objects) {
    std::string out = "[";
    for (size_t i = 0; i < objects.size(); ++i) out += (i ? "," : "") + objects[i];
    return out + "]";
}

// children WINDOW -> every control of the visible window, in creation order.
void children(const Args& args) {
    std::vector<std::string> out;
    EnumChildWindows(wait_window(args[0]), add_child, reinterpret_cast<LPARAM>(&out));
    print_line(joined(out));
}

struct TopLevel {
    DWORD pid;
    std::vector<std::string> found;
};

BOOL CALLBACK add_top(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopLevel*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) search->found.push_back(item(window, false));
    return TRUE;
}

// windows -> the visible top-level windows of the process that owns the main window (its
// message boxes included), whatever their class.
void windows(const Args&) {
    const HWND main = wait_until("the main window", [] { return find_window("main", false); });
    TopLevel search{0, {}};
    GetWindowThreadProcessId(main, &search.pid);
    EnumWindows(add_top, reinterpret_cast<LPARAM>(&search));
    print_line(joined(search.found));
}

// key WINDOW VK: a key pressed and released on the control that has the focus (a button).
// Returns once the program has handled it: a marker posted after the key, the button's
// pushed state, is seen, and the button is then released again.
void key(const Args& args) {
    const HWND window = wait_window(args[0]);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
        fail("no control has the focus");
    const HWND focus = info.hwndFocus;
    if (_stricmp(class_name(focus).c_str(), "Button") != 0) fail("the focus is not on a button");
    const WPARAM vk = static_cast<WPARAM>(to_int(args[1]));
    const UINT scan = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    post(focus, WM_KEYDOWN, vk, 1 | (scan << 16));
    post(focus, WM_KEYUP, vk, 1 | (scan << 16) | (KF_REPEAT << 16) | (KF_UP << 16));
    post(focus, BM_SETSTATE, TRUE, 0);
    wait_until("the key to be handled", [&] { return (send(focus, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; });
    send(focus, BM_SETSTATE, FALSE, 0);
}

const std::vector<Command> commands = {
    {"children", "WINDOW  -> id, class, text, visible of every control, as JSON", 1, 1, children},
    {"windows", "  -> class, text of the program's visible top-level windows, as JSON", 0, 0, windows},
    {"key", "WINDOW VK  (on the focused button; returns once handled)", 2, 2, key},
};

} // namespace

const std::vector<Command>& inspect_commands() { return commands; }

} // namespace driver
