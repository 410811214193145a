// Message boxes: what they say and which buttons they offer.
#include <windows.h>

#include "commands.h"
#include "find.h"
#include "text.h"
#include "wait.h"

namespace driver {
namespace {

struct Box {
    std::string text;
    std::vector<std::pair<HWND, std::string>> buttons;
    bool icon = false;
};

BOOL CALLBACK collect(HWND child, LPARAM param) {
    auto* box = reinterpret_cast<Box*>(param);
    if (!IsWindowVisible(child)) return TRUE;
    const std::string kind = class_name(child);
    if (_stricmp(kind.c_str(), "Button") == 0) {
        box->buttons.emplace_back(child, utf8_from_wide(window_text(child)));
    } else if (_stricmp(kind.c_str(), "Static") == 0) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            box->icon = box->icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else
            box->text += utf8_from_wide(window_text(child));
    }
    return TRUE;
}

Box read_box(HWND window) {
    Box box;
    EnumChildWindows(window, collect, reinterpret_cast<LPARAM>(&box));
    return box;
}

void msgbox(const Args&) {
    const HWND window = wait_window("msgbox");
    const Box box = read_box(window);
    std::vector<std::string> labels;
    for (const auto& button : box.buttons) labels.push_back(button.second);
    print_line("{\"caption\":" + json_string(utf8_from_wide(window_text(window))) +
               ",\"text\":" + json_string(box.text) + ",\"buttons\":" + json_array(labels) +
               ",\"icon\":" + (box.icon ? "true" : "false") + "}");
}

void msgbox_press(const Args& args) {
    const HWND window = wait_window("msgbox");
    for (const auto& [button, label] : read_box(window).buttons) {
        if (label != args[0]) continue;
        post(button, BM_CLICK, 0, 0);
        wait_until("the message box to close", [&] { return !IsWindow(window) || !IsWindowVisible(window); });
        return;
    }
    fail("the message box has no button " + args[0]);
}

const std::vector<Command> commands = {
    {"msgbox", "  -> caption, text, buttons, icon of the message box, as JSON", 0, 0, msgbox},
    {"msgbox-press", "LABEL", 1, 1, msgbox_press},
};

} // namespace

const std::vector<Command>& dialog_commands() { return commands; }

} // namespace driver
