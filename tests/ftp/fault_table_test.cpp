// Print jobs against the scriptable printer: one row per fault, each asserting the command
// transcript the printer got and what the window showed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "core/errors.h"
#include "core/fake_main_view.h"
#include "core/main_form.h"
#include "core/memory_profile.h"
#include "fault_server.h"
#include "local_files.h"
#include "net/socket.h"
#include "net/test_messages.h"
#include "status_texts.h"

namespace pelto::test {
namespace {

using Names = std::vector<std::string>;

const std::string kPort = "PORT 127,0,0,1,*,*";
const Names kLogin = {"<connect>", "USER pelto", "PASS secret"};

Names Join(std::initializer_list<Names> parts)
{
    Names all;
    for (const Names& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// What the harness does when the printer reaches its moment (posted as a window message).
enum class Act { None, Cancel, PressOtherButton, CloseWindow, CloseWindowAndQuit };
// Where a printer's settings point.
enum class Target { ServerA, ServerB, ClosedPort, Unresolvable };

struct Job {
    int printer = 0;
    bool afterHangUp = false; // start once printer A has closed its end (it hung up meanwhile)
};

struct QueuedFile {
    std::string name = {};
    std::uint64_t size = 1000; // from 1 MiB on: 32 MiB of zeros, so that a transfer can be cut
    bool missing = false;
};

struct FaultRow {
    std::string name = {};
    Script a = {};
    std::optional<Script> b = {};
    Target target[2] = {Target::ServerA, Target::ServerB};
    std::string timeOut = "5"; // printer 1's
    std::vector<QueuedFile> files = {{"a.txt"}};
    bool textMode = true;
    Act act = Act::None;
    std::vector<Job> jobs = {Job{}};
    // Expected:
    Names transcriptA = {}, transcriptB = {}, statuses = {};
    Names uploadsA = {}, uploadsB = {}; // "name whole" (every byte, ended orderly) or "name <ending>"
    Names boxes = {};
    int connectErrors = 0;
    std::string escaped = {}; // the standard error box's text: an exception left SendClick
    bool quitLeft = false;
};

constexpr std::uint64_t kBig = 32 << 20;

Names Uploads(const std::vector<Received>& got, const std::map<std::string, std::pair<std::uint64_t, std::uint64_t>>& local)
{
    Names out;
    for (const Received& r : got) {
        const auto it = local.find(r.name);
        const bool whole = it != local.end() && r.ending == "eof" && it->second == std::make_pair(r.size, r.hash);
        out.push_back(r.name + " " + (whole ? "whole" : r.ending));
    }
    return out;
}

std::vector<FaultRow> Rows()
{
    const Names sendA = {kPort, "STOR a.txt"};
    const Names sendBig = {kPort, "STOR big.bin"};
    const std::vector<QueuedFile> big = {{"big.bin", kBig}};
    Script pauseA;
    pauseA.data = {{DataPlan::PauseMidway}};

    std::vector<FaultRow> rows;
    auto add = [&rows](FaultRow row) { rows.push_back(std::move(row)); };

    // --- The exchange as it should be.
    add({.name = "TwoFilesInTextMode",
         .files = {{"a.txt"}, {"b c.txt", 3000}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA, {kPort, "STOR b c.txt", "QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), Sending("b c.txt"), kDisconnected, kDone},
         .uploadsA = {"a.txt whole", "b c.txt whole"}});
    add({.name = "BinaryModeSendsTypeI",
         .textMode = false,
         .transcriptA = Join({kLogin, {"TYPE I"}, sendA, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), kDisconnected, kDone},
         .uploadsA = {"a.txt whole"}});
    add({.name = "TimeOutWithLeadingBlankIsAccepted",
         .timeOut = " 5",
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), kDisconnected, kDone},
         .uploadsA = {"a.txt whole"}});
    add({.name = "EmptyQueueConnectsNowhere",
         .files = {},
         .transcriptA = {},
         .statuses = {"", kEmptyQueue}});

    // --- Login.
    add({.name = "UserRefusedWith530",
         .a = {.answers = {{"USER", {.reply = "530 Not allowed\r\n"}}}},
         .transcriptA = {"<connect>", "USER pelto", "QUIT"},
         .statuses = {"", kDisconnected, kLoginError}});
    add({.name = "PassRefusedWith530",
         .a = {.answers = {{"PASS", {.reply = "530 Login incorrect\r\n"}}}},
         .transcriptA = Join({kLogin, {"QUIT"}}),
         .statuses = {"", kDisconnected, kLoginError}});
    add({.name = "LoginWithout331SendsNoPass",
         .a = {.answers = {{"USER", {.reply = "230 No password needed\r\n"}}}},
         .transcriptA = {"<connect>", "USER pelto", "TYPE A", kPort, "STOR a.txt", "QUIT"},
         .statuses = {"", kConnected, Sending("a.txt"), kDisconnected, kDone},
         .uploadsA = {"a.txt whole"}});
    // RFC 959 4.2: a multi-line reply ends only at "code blank"; lines between may be
    // unindented, or look like other replies.
    add({.name = "MultiLineGreetingAndRepliesWithUnindentedLines",
         .a = {.greeting = "220-Welcome\r\nan unindented line\r\n220-still the greeting\r\n"
                           " 220 indented\r\n331 not a reply of its own\r\n220 Ready\r\n",
               .answers = {{"USER", {.reply = "331-Password\r\nplease\r\n331 required\r\n"}},
                           {"PASS", {.reply = "230-Hello\r\n230-again\r\n230 Logged in\r\n"}},
                           {"TYPE", {.reply = "200-Type\r\n200 set\r\n"}}}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), kDisconnected, kDone},
         .uploadsA = {"a.txt whole"}});

    // --- Refusals: the other-failure branch, whose Disconnect closes the connection.
    add({.name = "TypeRefused",
         .a = {.answers = {{"TYPE", {.reply = "504 Type not implemented\r\n"}}}},
         .transcriptA = Join({kLogin, {"TYPE A", "QUIT"}}),
         .statuses = {"", kConnected, kLoginError, kDisconnected}});
    add({.name = "PortRefused",
         .a = {.answers = {{"PORT", {.reply = "500 Illegal PORT command\r\n"}}}},
         .transcriptA = Join({kLogin, {"TYPE A", kPort, "QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), kLoginError, kDisconnected}});
    add({.name = "StorRefused",
         .a = {.answers = {{"STOR", {.reply = "553 Could not create file\r\n"}}}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), kLoginError, kDisconnected}});
    add({.name = "FinalReply552AfterTheDataIsNoSuccess",
         .a = {.finalReply = "552 Exceeded storage allocation\r\n"},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), kLoginError, kDisconnected},
         .uploadsA = {"a.txt whole"}});
    add({.name = "QuitRefusedAfterTheFiles",
         .a = {.answers = {{"QUIT", {.reply = "500 No\r\n"}}}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), kDisconnected, kLoginError},
         .uploadsA = {"a.txt whole"}});
    add({.name = "LocalFileMissing",
         .files = {{"gone.txt", 0, true}},
         .transcriptA = Join({kLogin, {"TYPE A", "QUIT"}}),
         .statuses = {"", kConnected, Sending("gone.txt"), kLoginError, kDisconnected}});

    // --- Text the printer sends unasked: dropped before TYPE, each PORT and QUIT.
    add({.name = "TextSentUnaskedIsDropped",
         .a = {.answers = {{"PASS", {.reply = "230 Logged in\r\n200 Unasked\r\n"}}},
               .finalReply = "226 Done\r\n211-Unasked\r\nstill unasked\r\n211 End\r\n"},
         .files = {{"a.txt"}, {"b.txt"}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA, {kPort, "STOR b.txt", "QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), Sending("b.txt"), kDisconnected, kDone},
         .uploadsA = {"a.txt whole", "b.txt whole"}});

    // --- Time: only the PORT and STOR replies are judged, once they have come.
    add({.name = "LatePortReply",
         .a = {.answers = {{"PORT", {.reply = "200 PORT ok\r\n", .delayMs = 1300}}}},
         .timeOut = "1",
         .transcriptA = Join({kLogin, {"TYPE A", kPort}}),
         .statuses = {"", kConnected, Sending("a.txt"), kNoPrinter},
         .connectErrors = 1});
    add({.name = "LateStorReply",
         .a = {.answers = {{"STOR", {.reply = "150 Ok\r\n", .delayMs = 1300}}}, .data = {{DataPlan::Never}}},
         .timeOut = "1",
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA}),
         .statuses = {"", kConnected, Sending("a.txt"), kNoPrinter},
         .connectErrors = 1});

    // --- Broken connections and broken replies.
    add({.name = "ConnectionDroppedMidReply",
         .a = {.answers = {{"USER", {.reply = "331-Password\r\n", .hangUp = true}}}},
         .transcriptA = {"<connect>", "USER pelto"},
         .statuses = {"", kDisconnected, kNoPrinter},
         .connectErrors = 1});
    add({.name = "DataConnectionDroppedMidTransfer",
         .a = {.data = {{DataPlan::DropMidway}}},
         .files = big,
         .transcriptA = Join({kLogin, {"TYPE A"}, sendBig}),
         .statuses = {"", kConnected, Sending("big.bin"), kNoPrinter},
         .uploadsA = {"big.bin dropped"},
         .connectErrors = 1});
    add({.name = "GarbageReply",
         .a = {.answers = {{"TYPE", {.reply = "hello there\r\n"}}}},
         .transcriptA = Join({kLogin, {"TYPE A"}}),
         .statuses = {"", kConnected, kDisconnected, kNoPrinter},
         .connectErrors = 1});
    add({.name = "OverlongReplyLine",
         .a = {.answers = {{"PASS", {.reply = "230 " + std::string(5000, 'x') + "\r\n"}}}},
         .transcriptA = kLogin,
         .statuses = {"", kDisconnected, kNoPrinter},
         .connectErrors = 1});
    add({.name = "ClosedPort",
         .target = {Target::ClosedPort, Target::ServerB},
         .statuses = {"", kNoPrinter},
         .connectErrors = 1});
    add({.name = "UnresolvableName",
         .target = {Target::Unresolvable, Target::ServerB},
         .timeOut = "2",
         .statuses = {"", kNoPrinter},
         .connectErrors = 1});

    // --- The data connection.
    add({.name = "StrangerConnectingFirstIsTurnedAway",
         .a = {.data = {{DataPlan::StrangerFirst}}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), kDisconnected, kDone},
         .uploadsA = {"a.txt whole"}});
    // Abort while the upload sets up its data connection fails with ESockError, which
    // the job counts as a socket failure.
    add({.name = "DataConnectionNeverComesThenCancel",
         .a = {.data = {{DataPlan::Never}}},
         .act = Act::Cancel,
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA}),
         .statuses = {"", kConnected, Sending("a.txt"), kNoPrinter},
         .connectErrors = 1});
    add({.name = "CancelWhileAwaitingThePortReply",
         .a = {.answers = {{"PORT", {.moment = true}}}},
         .act = Act::Cancel,
         .transcriptA = Join({kLogin, {"TYPE A", kPort}}),
         .statuses = {"", kConnected, Sending("a.txt"), kNoPrinter},
         .connectErrors = 1});
    add({.name = "CancelDuringLoginHasNoEffect",
         .a = {.answers = {{"USER", {.moment = true}}}},
         .act = Act::Cancel,
         .transcriptA = Join({kLogin, {"TYPE A"}, sendA, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("a.txt"), kDisconnected, kDone},
         .uploadsA = {"a.txt whole"}});
    add({.name = "CancelWhileBytesFlowResetsTheDataConnection",
         .a = pauseA,
         .files = big,
         .act = Act::Cancel,
         .transcriptA = Join({kLogin, {"TYPE A"}, sendBig}),
         .statuses = {"", kConnected, Sending("big.bin"), kCancelled},
         .uploadsA = {"big.bin reset"}});
    add({.name = "PrinterButtonDuringAJobStartsNoSecondJob",
         .a = pauseA,
         .files = big,
         .act = Act::PressOtherButton,
         .transcriptA = Join({kLogin, {"TYPE A"}, sendBig, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("big.bin"), kDisconnected, kDone},
         .uploadsA = {"big.bin whole"}});
    add({.name = "WindowClosedDuringTransferStopsSilently",
         .a = pauseA,
         .files = big,
         .act = Act::CloseWindow,
         .transcriptA = Join({kLogin, {"TYPE A"}, sendBig}),
         .statuses = {"", kConnected, Sending("big.bin")},
         .uploadsA = {"big.bin reset"}});
    add({.name = "WindowClosedDuringLoginWithQuitPutBack",
         .a = {.answers = {{"USER", {.moment = true}}}},
         .act = Act::CloseWindowAndQuit,
         .transcriptA = {"<connect>", "USER pelto"},
         .statuses = {""},
         .quitLeft = true});

    add({.name = "WindowClosedWhileTheFailureBranchAwaitsTheQuitReply",
         .a = {.answers = {{"TYPE", {.reply = "504 Type not implemented\r\n"}}, {"QUIT", {.moment = true}}}},
         .act = Act::CloseWindow,
         .transcriptA = Join({kLogin, {"TYPE A", "QUIT"}}),
         .statuses = {"", kConnected, kLoginError}});

    // --- Keeping and reusing a connection.
    add({.name = "CancelledJobThenSamePrinterReusesTheLogin",
         .a = {.data = {{DataPlan::PauseMidway}, {DataPlan::Normal}}},
         .files = big,
         .act = Act::Cancel,
         .jobs = {{0}, {0}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendBig, {"TYPE A"}, sendBig, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("big.bin"), kCancelled, "", Sending("big.bin"), kDisconnected, kDone},
         .uploadsA = {"big.bin reset", "big.bin whole"}});
    add({.name = "CancelledJobThenOtherPrinterClosesItAndLogsInAfresh",
         .a = pauseA,
         .b = Script{},
         .files = big,
         .act = Act::Cancel,
         .jobs = {{0}, {1}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendBig, {"QUIT"}}),
         .transcriptB = Join({kLogin, {"TYPE A"}, sendBig, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("big.bin"), kCancelled, "", kDisconnected, kConnected,
                      Sending("big.bin"), kDisconnected, kDone},
         .uploadsA = {"big.bin reset"},
         .uploadsB = {"big.bin whole"}});
    add({.name = "KeptConnectionClosedByThePrinterIsReplacedByAFreshLogin",
         .a = {.data = {{DataPlan::PauseMidway, true}, {DataPlan::Normal}}},
         .files = big,
         .act = Act::Cancel,
         .jobs = {{0}, {0, true}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendBig, kLogin, {"TYPE A"}, sendBig, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("big.bin"), kCancelled, "", kDisconnected, kConnected,
                      Sending("big.bin"), kDisconnected, kDone},
         .uploadsA = {"big.bin reset", "big.bin whole"}});

    add({.name = "KeptConnectionClosedAsTypeIsSentIsReplacedByAFreshLogin",
         .a = {.answers = {{"TYPE", {.reply = " ", .hangUp = true, .nth = 2}}},
               .data = {{DataPlan::PauseMidway}, {DataPlan::Normal}}},
         .files = big,
         .act = Act::Cancel,
         .jobs = {{0}, {0}},
         .transcriptA = Join({kLogin, {"TYPE A"}, sendBig, {"TYPE A"}, kLogin, {"TYPE A"}, sendBig, {"QUIT"}}),
         .statuses = {"", kConnected, Sending("big.bin"), kCancelled, "", kDisconnected, kConnected,
                      Sending("big.bin"), kDisconnected, kDone},
         .uploadsA = {"big.bin reset", "big.bin whole"}});

    // --- Socket failures: the box from the fourth on; a cancelled job is not one.
    add({.name = "FourthSocketFailureOnShowsTheBox",
         .a = {},
         .b = pauseA,
         .target = {Target::ClosedPort, Target::ServerB},
         .files = big,
         .act = Act::Cancel,
         .jobs = {{0}, {0}, {0}, {1}, {0}, {0}},
         .transcriptB = Join({kLogin, {"TYPE A"}, sendBig, {"QUIT"}}),
         .statuses = {"", kNoPrinter, "", kNoPrinter, "", kNoPrinter, "", kConnected, Sending("big.bin"), kCancelled,
                      "", kDisconnected, kNoPrinter, "", kNoPrinter},
         .uploadsB = {"big.bin reset"},
         .boxes = {kBox, kBox},
         .connectErrors = 5});

    // --- Settings texts that can't be used: nothing is sent, the standard error box tells.
    add({.name = "TimeOutNotAnInteger",
         .timeOut = "abc",
         .statuses = {""},
         .escaped = "'abc' は整数ではありません"});
    add({.name = "TimeOutWithTrailingBlankIsRejected",
         .timeOut = "5 ",
         .statuses = {""},
         .escaped = "'5 ' は整数ではありません"});
    add({.name = "TimeOutTooLargeForMilliseconds",
         .timeOut = "2147484",
         .statuses = {""},
         .escaped = "タイムアウト '2147484' は 0 から 2147483 秒の間で指定して下さい"});
    add({.name = "TimeOutNegative",
         .timeOut = "-1",
         .statuses = {""},
         .escaped = "タイムアウト '-1' は 0 から 2147483 秒の間で指定して下さい"});
    return rows;
}

// A port where nobody listens: bound, never listening, held for the row's life.
class ClosedPort {
public:
    ClosedPort()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~ClosedPort() { ::close(fd_); }
    std::uint16_t Port() const { return port_; }

private:
    int fd_;
    std::uint16_t port_;
};

void PrintTo(const FaultRow& row, std::ostream* os) { *os << row.name; }

class FaultTable : public ::testing::TestWithParam<FaultRow> {};

TEST_P(FaultTable, Job)
{
    const FaultRow& row = GetParam();
    TempDir dir;
    FaultServer a(row.a);
    std::optional<FaultServer> b;
    if (row.b) b.emplace(*row.b);
    ClosedPort closed;

    FakeMainView view;
    auto form = std::make_unique<MainForm>(view);
    form->TextMode = row.textMode;
    for (int p = 0; p < 2; ++p) {
        PrinterSettings& s = form->Printer[p];
        s = {"127.0.0.1", "pelto", "secret", p == 0 ? row.timeOut : "5", ""};
        switch (row.target[p]) {
        case Target::ServerA: s.Port = std::to_string(a.Port()); break;
        case Target::ServerB: s.Port = b ? std::to_string(b->Port()) : "21"; break;
        case Target::ClosedPort: s.Port = std::to_string(closed.Port()); break;
        case Target::Unresolvable:
            s.IPAddress = "no-such-printer.invalid";
            s.Port = "21";
            break;
        }
    }
    std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> local;
    for (const QueuedFile& f : row.files) {
        if (f.missing) {
            form->AddFile(dir.Path() + "/spool\\" + f.name);
            continue;
        }
        const std::string path =
            f.size >= (1u << 20) ? MakeSparseFile(dir.Path(), f.name, f.size) : MakeFile(dir.Path(), f.name, f.size);
        const std::string bytes = ReadAll(path);
        local[f.name] = {bytes.size(), Hash(bytes.data(), bytes.size())};
        form->AddFile(path);
    }

    MemoryProfile profile;
    auto act = [&] {
        switch (row.act) {
        case Act::None: break;
        case Act::Cancel: form->CancelBitBtnClick(); break;
        case Act::PressOtherButton: form->SendClick(1); break;
        case Act::CloseWindow: form->FormClose(profile); break;
        case Act::CloseWindowAndQuit:
            form->FormClose(profile);
            net::test::PostTestQuit(); // as WM_DESTROY's PostQuitMessage
            break;
        }
    };
    for (FaultServer* server : {&a, b ? &*b : nullptr}) {
        if (!server) continue;
        server->OnMoment = [&act, server] {
            net::test::PostTestMessage([&act, server] {
                act();
                server->Resume();
            });
        };
    }

    std::string escaped;
    for (const Job& job : row.jobs) {
        if (job.afterHangUp) {
            ASSERT_TRUE(a.WaitIdle());
        }
        try {
            form->SendClick(job.printer);
        } catch (const std::exception& e) {
            escaped = e.what();
        }
    }
    // A moment the job never waited for leaves its message queued: run it while what it
    // refers to still lives, so that no later test in this process meets it.
    try {
        net::Network().Pump(nullptr);
    } catch (const EAbortError&) {
        // a quit posted by the row: checked below
    }
    const int errors = form->ConnectErrorCount;
    form.reset(); // closes what the jobs kept open, so that every printer's record is complete

    EXPECT_EQ(a.Transcript(), row.transcriptA);
    EXPECT_EQ(Uploads(a.Uploads(), local), row.uploadsA);
    if (b) {
        EXPECT_EQ(b->Transcript(), row.transcriptB);
        EXPECT_EQ(Uploads(b->Uploads(), local), row.uploadsB);
    }
    EXPECT_EQ(view.Statuses, row.statuses);
    EXPECT_EQ(view.Messages, row.boxes);
    EXPECT_EQ(errors, row.connectErrors);
    EXPECT_EQ(escaped, row.escaped);
    EXPECT_EQ(net::test::TakeTestQuit(), row.quitLeft);
    const bool stranger = !row.a.data.empty() && row.a.data[0].plan == DataPlan::StrangerFirst;
    EXPECT_EQ(a.StrangerTurnedAway(), stranger);
}

INSTANTIATE_TEST_SUITE_P(Printer, FaultTable, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<FaultRow>& info) { return info.param.name; });

} // namespace
} // namespace pelto::test
