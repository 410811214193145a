// The file list: items, selection, the pop-up menu and dropped files.
#include <windows.h>
#include <shlobj.h>

#include <win/control_ids.h>

#include "commands.h"
#include "find.h"
#include "remote.h"
#include "text.h"
#include "wait.h"

namespace driver {
namespace {

HWND list_box() { return wait_target({"main", pelto::ids::ListBox1}); }

int count(HWND list) { return static_cast<int>(send(list, LB_GETCOUNT, 0, 0)); }

// SendMessageA(LB_GETTEXT) from another process returns the UTF-16 text unconverted in Wine:
// the wide call is the reliable one.
void items(const Args&) {
    const HWND list = list_box();
    std::vector<std::string> names;
    for (int i = 0, n = count(list); i < n; ++i) {
        const auto length = send(list, LB_GETTEXTLEN, i, 0);
        std::wstring text(static_cast<size_t>(length) * 2 + 16, L'\0');
        const auto got = send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 ? static_cast<size_t>(got) : 0);
        names.push_back(utf8_from_wide(text));
    }
    print_line(json_array(names));
}

void selection(const Args&) {
    const HWND list = list_box();
    std::string out = "[";
    for (int i = 0, n = count(list); i < n; ++i) {
        if (send(list, LB_GETSEL, i, 0) <= 0) continue;
        if (out.size() > 1) out += ",";
        out += std::to_string(i);
    }
    print_line(out + "]");
}

void select(const Args& args) {
    const HWND list = list_box();
    send(list, LB_SETSEL, FALSE, -1);
    for (const auto& index : args)
        if (send(list, LB_SETSEL, TRUE, to_int(index)) == LB_ERR) fail("no item " + index);
}

HWND open_menu() { return find_window("popup", true); }

// A real right click on the item (the list box turns it into WM_CONTEXTMENU), then the
// first entry of the pop-up menu, chosen with the keyboard: its only entry, "取り消し".
// Returns when the menu has closed and its command is queued for the program.
void popup_delete(const Args& args) {
    const HWND list = list_box();
    const int index = to_int(args[0]);
    const int height = static_cast<int>(send(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(send(list, LB_GETTOPINDEX, 0, 0));
    const LPARAM at = MAKELPARAM(4, (index - top) * height + height / 2);
    post(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    post(list, WM_RBUTTONUP, 0, at);
    const HWND menu = wait_until("the pop-up menu", [&] { return open_menu(); });
    post(menu, WM_KEYDOWN, VK_DOWN, 1);
    post(menu, WM_KEYDOWN, VK_RETURN, 1);
    wait_until("the pop-up menu to close", [&] { return !open_menu(); });
}

// As the shell drops files: a DROPFILES block with the wide paths. WM_DROPFILES carries no
// data across processes, so the block is written into the program's memory. The program
// owns it then (its DragFinish releases it). Waits until the list has grown by the count.
void drop(const Args& paths) {
    const HWND list = list_box();
    const HWND main = wait_window("main");
    std::wstring names;
    for (const auto& path : paths) names += wide_from_utf8(path) + L'\0';
    names += L'\0';

    DROPFILES header{};
    header.pFiles = sizeof header;
    header.pt = {20, 20};
    header.fNC = FALSE;
    header.fWide = TRUE;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    block.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));

    Process process(main);
    RemoteMemory memory(process, block.size());
    memory.write(block.data(), block.size());
    const int before = count(list);
    post(main, WM_DROPFILES, reinterpret_cast<WPARAM>(memory.address()), 0);
    memory.release();
    const int expected = before + static_cast<int>(paths.size());
    wait_until("the list to hold " + std::to_string(expected) + " items", [&] { return count(list) >= expected; });
}

const std::vector<Command> commands = {
    {"items", "  -> the file list's names, a JSON array", 0, 0, items},
    {"selection", "  -> the selected indexes, a JSON array", 0, 0, selection},
    {"select", "[INDEX...]  (nothing: clear the selection)", 0, 1000, select},
    {"popup-delete", "INDEX  (right click on that item, choose the pop-up's entry)", 1, 1, popup_delete},
    {"drop", "WINDOWS_PATH...", 1, 1000, drop},
};

} // namespace

const std::vector<Command>& list_commands() { return commands; }

} // namespace driver
