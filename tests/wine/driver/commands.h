// The driver's subcommands: each takes its arguments (UTF-8) and prints its result as UTF-8
// lines on stdout.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* usage;
    size_t min_args;
    size_t max_args;
    void (*run)(const Args& args);
};

const std::vector<Command>& window_commands();
const std::vector<Command>& control_commands();
const std::vector<Command>& list_commands();
const std::vector<Command>& dialog_commands();
const std::vector<Command>& job_commands();
const std::vector<Command>& inspect_commands();
const std::vector<Command>& resource_commands();

// Shared by the command files.
void print_line(const std::string& utf8);
LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam); // fails on a hang
void post(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
int to_int(const std::string& text);

} // namespace driver
