// driver.exe: operates a running Pelto.exe from outside, as a user would, for the Wine tests.
//   driver.exe COMMAND ARGS...   (driver.exe help lists the commands)
// Results go to stdout in UTF-8; a failure prints a message to stderr and exits with 1.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "commands.h"
#include "failure.h"
#include "text.h"
#include "wait.h"

namespace driver {

void print_line(const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    DWORD_PTR result = 0;
    const UINT ms = step_timeout_ms();
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, ms, &result))
        fail("message " + std::to_string(message) + " was not answered in time");
    return static_cast<LRESULT>(result);
}

void post(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (!PostMessageW(window, message, wparam, lparam))
        fail("PostMessage failed: error " + std::to_string(GetLastError()));
}

int to_int(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || *end) fail("not a number: " + text);
    return static_cast<int>(value);
}

namespace {

// Arguments as wide text: file names with 表 or half-width katakana survive unchanged.
// CommandLineToArgvW is looked up at run time so that the driver links no shell32.
Args arguments() {
    using Split = LPWSTR*(WINAPI*)(LPCWSTR, int*);
    const auto split = reinterpret_cast<Split>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("shell32.dll"), "CommandLineToArgvW")));
    if (!split) fail("CommandLineToArgvW is missing");
    int count = 0;
    LPWSTR* argv = split(GetCommandLineW(), &count);
    Args args;
    for (int i = 1; i < count; ++i) args.push_back(utf8_from_wide(argv[i]));
    LocalFree(argv);
    return args;
}

std::vector<Command> all_commands() {
    std::vector<Command> all;
    for (const auto* group : {&window_commands(), &control_commands(), &list_commands(), &dialog_commands(),
                              &job_commands(), &inspect_commands(), &resource_commands()})
        all.insert(all.end(), group->begin(), group->end());
    return all;
}

void usage(const std::vector<Command>& commands) {
    for (const auto& command : commands) print_line(std::string(command.name) + " " + command.usage);
}

} // namespace
} // namespace driver

int main() {
    using namespace driver;
    _setmode(_fileno(stdout), _O_BINARY); // no \r before the \n
    try {
        Args args = arguments();
        const auto commands = all_commands();
        if (args.empty() || args[0] == "help") {
            usage(commands);
            return args.empty() ? 2 : 0;
        }
        const std::string name = args[0];
        args.erase(args.begin());
        for (const auto& command : commands) {
            if (name != command.name) continue;
            if (args.size() < command.min_args || args.size() > command.max_args)
                fail("usage: " + name + " " + command.usage);
            command.run(args);
            std::fflush(stdout);
            return 0;
        }
        fail("unknown command " + name + " (driver.exe help lists them)");
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "driver: %s\n", error.what());
        return 1;
    }
}
