// Buttons, menu commands, edits, radio buttons and the status line.
#include <windows.h>
#include <commctrl.h>

#include <win/control_ids.h>

#include "commands.h"
#include "find.h"
#include "remote.h"
#include "text.h"
#include "wait.h"

namespace driver {
namespace {

// Sent: returns once the program has handled the click.
void click(const Args& args) { send(wait_target(parse_target(args[0])), BM_CLICK, 0, 0); }

// Posted: for clicks that open a modal window or close one.
void click_post(const Args& args) { post(wait_target(parse_target(args[0])), BM_CLICK, 0, 0); }

// Wine cannot read another process's menus, so a menu choice is its WM_COMMAND.
void menu(const Args& args) { send(wait_window("main"), WM_COMMAND, MAKEWPARAM(to_int(args[0]), 0), 0); }
void menu_post(const Args& args) { post(wait_window("main"), WM_COMMAND, MAKEWPARAM(to_int(args[0]), 0), 0); }

void set_text(const Args& args) {
    const HWND edit = wait_target(parse_target(args[0]));
    const std::wstring text = wide_from_utf8(args[1]);
    send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// As the program would disable a control; returns once it has been repainted.
void enable(const Args& args) {
    const HWND control = wait_target(parse_target(args[0]));
    EnableWindow(control, to_int(args[1]) != 0);
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void checked(const Args& args) {
    print_line(std::to_string(send(wait_target(parse_target(args[0])), BM_GETCHECK, 0, 0)));
}

// SB_GETTEXTA is a WM_USER message: Wine hands its pointer over unchanged, so the program
// writes into memory of its own. The length comes in characters, so allow two bytes each.
void status(const Args&) {
    const HWND bar = wait_target({"main", pelto::ids::StatusBar1});
    const size_t chars = LOWORD(send(bar, SB_GETTEXTLENGTHA, 0, 0));
    Process process(bar);
    RemoteMemory buffer(process, chars * 2 + 16);
    const std::string zeros(chars * 2 + 16, '\0');
    buffer.write(zeros.data(), zeros.size());
    send(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer.address()));
    const std::string raw = buffer.read(zeros.size());
    print_line(utf8_from_ansi(raw.c_str()));
}

const std::vector<Command> commands = {
    {"click", "WINDOW:ID", 1, 1, click},
    {"click-post", "WINDOW:ID", 1, 1, click_post},
    {"menu", "COMMAND_ID", 1, 1, menu},
    {"menu-post", "COMMAND_ID", 1, 1, menu_post},
    {"set-text", "WINDOW:ID TEXT", 2, 2, set_text},
    {"checked", "WINDOW:ID  -> 0 or 1", 1, 1, checked},
    {"enable", "WINDOW:ID 0|1", 2, 2, enable},
    {"status", "  -> the main window's status line", 0, 0, status},
};

} // namespace

const std::vector<Command>& control_commands() { return commands; }

} // namespace driver
