#include "find.h"

#include <win/control_ids.h>

#include <cstdlib>
#include <vector>

#include "failure.h"
#include "text.h"
#include "wait.h"

namespace driver {

unsigned step_timeout_ms() {
    const char* value = std::getenv("PELTO_DRIVER_TIMEOUT");
    const int seconds = value ? std::atoi(value) : 0;
    return static_cast<unsigned>(seconds > 0 ? seconds : 10) * 1000;
}

Target parse_target(const std::string& name) {
    Target target;
    const auto colon = name.rfind(':');
    if (colon == std::string::npos) {
        target.window = name;
    } else {
        target.window = name.substr(0, colon);
        target.id = std::atoi(name.c_str() + colon + 1);
        if (target.id == 0) fail("bad control id in " + name);
    }
    return target;
}

std::string window_class(const std::string& alias) {
    namespace ids = pelto::ids;
    if (alias == "main") return ids::MainFormClass;
    if (alias == "app") return ids::ApplicationClass;
    if (alias == "settings") return ids::SettingFormClass;
    if (alias == "about") return ids::AboutBoxClass;
    if (alias == "msgbox") return "#32770"; // the system's dialog class: message boxes
    if (alias == "popup") return "#32768";  // an open menu
    return alias;
}

std::string class_name(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {

// PELTO_DRIVER_EXE, when set, names the executable whose windows count: each test runs its
// own copy of Pelto.exe, so a run that is still ending can never be mistaken for the next.
bool of_program_under_test(HWND window) {
    static const std::wstring wanted = [] {
        // Read wide: the narrow environment is in the ANSI code page, not UTF-8.
        const wchar_t* value = _wgetenv(L"PELTO_DRIVER_EXE");
        return value ? std::wstring(value) : std::wstring();
    }();
    if (wanted.empty()) return true;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return false;
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    const bool named = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    return named && _wcsicmp(path, wanted.c_str()) == 0;
}

struct Search {
    std::string class_name;
    bool visible_only;
    HWND found;
};

BOOL CALLBACK match_top(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (search->visible_only && !IsWindowVisible(window)) return TRUE;
    if (class_name(window) != search->class_name) return TRUE;
    if (!of_program_under_test(window)) return TRUE;
    search->found = window;
    return FALSE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK match_control(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(window) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND find_window(const std::string& alias, bool visible_only) {
    Search search{window_class(alias), visible_only, nullptr};
    EnumWindows(match_top, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND wait_window(const std::string& alias) {
    return wait_until("a visible window " + alias, [&] { return find_window(alias, true); });
}

HWND find_control(HWND parent, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(parent, match_control, reinterpret_cast<LPARAM>(&search)); // recursive
    return search.found;
}

HWND wait_target(const Target& target) {
    const HWND window = wait_window(target.window);
    if (!target.id) return window;
    return wait_until(target.window + " control " + std::to_string(target.id),
                      [&] { return find_control(window, target.id); });
}

std::wstring window_text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
        fail("no answer to WM_GETTEXTLENGTH");
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_NORMAL, 5000, &copied))
        fail("no answer to WM_GETTEXT");
    return std::wstring(buffer.data(), copied);
}

} // namespace driver
