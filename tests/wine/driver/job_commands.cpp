// A printer button pressed while the status line is recorded: the press is sent from a
// second thread (it returns when the program's handler, the whole job, has ended) while this
// thread reads the status line again and again. Texts that last less than one read can be
// missed; the text left when the handler returns never is.
#include <windows.h>
#include <commctrl.h>

#include <win/control_ids.h>

#include <atomic>
#include <thread>

#include "commands.h"
#include "find.h"
#include "remote.h"
#include "text.h"
#include "wait.h"

namespace driver {
namespace {

// Reads the simple-mode text through a buffer inside the program (SB_GETTEXTA is a WM_USER
// message: Wine passes its pointer on unchanged). The length comes in characters: two bytes
// each is always enough.
class StatusReader {
public:
    explicit StatusReader(HWND bar) : bar_(bar), process_(bar), buffer_(process_, capacity) {}

    std::string read() {
        const size_t chars = LOWORD(send(bar_, SB_GETTEXTLENGTHA, 0, 0));
        if (chars * 2 + 1 > capacity) fail("status text longer than the reader's buffer");
        buffer_.write(zeros_.data(), zeros_.size());
        send(bar_, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer_.address()));
        return utf8_from_ansi(buffer_.read(capacity).c_str());
    }

private:
    static constexpr size_t capacity = 4096;
    HWND bar_;
    Process process_;
    RemoteMemory buffer_;
    std::string zeros_ = std::string(capacity, '\0');
};

// press-record WINDOW:ID [SECONDS] -> a JSON array of the status texts seen, in order,
// each change once; the last is the text when the press was handled.
void press_record(const Args& args) {
    const HWND button = wait_target(parse_target(args[0]));
    const UINT limit_ms = args.size() > 1 ? static_cast<UINT>(to_int(args[1])) * 1000 : 60000;
    StatusReader status(wait_target({"main", pelto::ids::StatusBar1}));

    std::vector<std::string> seen{status.read()};
    std::atomic<bool> handled{false};
    BOOL answered = FALSE;
    std::thread presser([&] {
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, limit_ms, &result) != 0;
        handled = true;
    });
    while (!handled) {
        std::string text = status.read();
        if (text != seen.back()) seen.push_back(std::move(text));
        Sleep(1);
    }
    presser.join();
    if (!answered) fail("the press was not handled within " + std::to_string(limit_ms / 1000) + " s");
    std::string last = status.read();
    if (last != seen.back()) seen.push_back(std::move(last));
    print_line(json_array(seen));
}

const std::vector<Command> commands = {
    {"press-record", "WINDOW:ID [SECONDS]  -> the status texts seen until the press was handled",
     1, 2, press_record},
};

} // namespace

const std::vector<Command>& job_commands() { return commands; }

} // namespace driver
