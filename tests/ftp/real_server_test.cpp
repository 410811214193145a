// Print jobs against real FTP servers on 127.0.0.1 (pyftpdlib and vsftpd, active mode), driven
// through MainForm::SendClick with a window that records what it is shown.
#include <gtest/gtest.h>

#include <memory>

#include "core/fake_main_view.h"
#include "core/main_form.h"
#include "local_files.h"
#include "net/test_messages.h"
#include "status_texts.h"
#include "real_servers.h"

namespace pelto::test {
namespace {

using Names = std::vector<std::string>;


// Compares file contents without printing them: sizes and the first differing offset.
::testing::AssertionResult SameBytes(const std::string& got, const std::string& want)
{
    if (got == want) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
    return ::testing::AssertionFailure() << "got " << got.size() << " bytes, want " << want.size()
                                         << "; first difference at byte " << at;
}

class RealServerJob : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        std::string whyNot;
        server = GetParam() == "pyftpdlib" ? StartPyftpdlib(whyNot) : StartVsftpd(whyNot);
        if (!server && whyNot.find("needs root") != std::string::npos) GTEST_SKIP() << whyNot;
        ASSERT_TRUE(server) << whyNot;
        form = std::make_unique<MainForm>(view);
        form->Printer[0] = {"127.0.0.1", server->User, server->Password, "5", std::to_string(server->Port)};
    }

    std::string Queue(const std::string& name, std::uint64_t size, unsigned seed = 1)
    {
        const std::string path = MakeFile(dir.Path(), name, size, seed);
        form->AddFile(path);
        return path;
    }

    std::string OnServer(const std::string& name) const { return ReadAll(server->Folder + "/" + name); }

    // pyftpdlib's record of the command lines, the PORT arguments left out; none from vsftpd.
    Names Commands() const
    {
        Names commands;
        for (const std::string& line : server->Log()) {
            if (line.rfind("CMD ", 0) != 0) continue;
            commands.push_back(line.rfind("CMD PORT 127,0,0,1,", 0) == 0 ? "PORT 127,0,0,1,*,*" : line.substr(4));
        }
        return commands;
    }
    bool Logs() const { return server->Kind == "pyftpdlib"; }

    TempDir dir;
    FakeMainView view;
    std::unique_ptr<RealServer> server;
    std::unique_ptr<MainForm> form;
};

TEST_P(RealServerJob, TwoFilesInTextModeArriveByteForByte)
{
    form->TextMode = true;
    const std::string one = Queue("one.txt", 5000, 1);
    const std::string two = Queue("two.txt", 70000, 2);
    form->SendClick(0);
    EXPECT_EQ(view.Statuses, (Names{"", kConnected, Sending("one.txt"), Sending("two.txt"), kDisconnected, kDone}));
    EXPECT_TRUE(SameBytes(OnServer("one.txt"), ReadAll(one)));
    EXPECT_TRUE(SameBytes(OnServer("two.txt"), ReadAll(two)));
    if (Logs()) {
        EXPECT_EQ(Commands(), (Names{"USER " + server->User, "PASS " + server->Password, "TYPE A", "PORT 127,0,0,1,*,*",
                                     "STOR one.txt", "PORT 127,0,0,1,*,*", "STOR two.txt", "QUIT"}));
    }
}

TEST_P(RealServerJob, TwoFilesInBinaryModeArriveByteForByte)
{
    form->TextMode = false;
    const std::string one = Queue("one.bin", 4096, 3);
    const std::string two = Queue("two.bin", 1 << 20, 4);
    form->SendClick(0);
    EXPECT_EQ(view.Statuses, (Names{"", kConnected, Sending("one.bin"), Sending("two.bin"), kDisconnected, kDone}));
    EXPECT_TRUE(SameBytes(OnServer("one.bin"), ReadAll(one)));
    EXPECT_TRUE(SameBytes(OnServer("two.bin"), ReadAll(two)));
    if (Logs()) {
        EXPECT_EQ(Commands().at(2), "TYPE I");
    }
}

TEST_P(RealServerJob, FileQueuedTwiceIsSentTwice)
{
    const std::string path = Queue("twice.txt", 3000);
    form->AddFile(path);
    form->SendClick(0);
    EXPECT_EQ(view.Statuses, (Names{"", kConnected, Sending("twice.txt"), Sending("twice.txt"), kDisconnected, kDone}));
    EXPECT_TRUE(SameBytes(OnServer("twice.txt"), ReadAll(path)));
    if (Logs()) {
        const Names log = server->Log();
        EXPECT_EQ(std::count(log.begin(), log.end(), "RECEIVED twice.txt"), 2);
    }
}

TEST_P(RealServerJob, NameWithBlanksIsSentUnchanged)
{
    const std::string path = Queue("my report  1.txt", 2000);
    form->SendClick(0);
    EXPECT_EQ(view.Statuses.back(), kDone);
    EXPECT_EQ(server->Names(), (Names{"my report  1.txt"}));
    EXPECT_TRUE(SameBytes(OnServer("my report  1.txt"), ReadAll(path)));
}

TEST_P(RealServerJob, ShiftJisNameReachesStorByteForByte)
{
    const std::string name = "表示テスト.txt"; // Shift-JIS here: 95 5C 8E A6 83 65 83 58 83 67
    ASSERT_EQ(name.substr(0, 2), "\x95\x5C");
    const std::string path = Queue(name, 1500);
    form->SendClick(0);
    EXPECT_EQ(view.Statuses, (Names{"", kConnected, Sending(name), kDisconnected, kDone}));
    EXPECT_EQ(server->Names(), (Names{name}));
    EXPECT_TRUE(SameBytes(OnServer(name), ReadAll(path)));
    if (Logs()) {
        EXPECT_EQ(Commands().at(4), "STOR " + name);
    }
}

TEST_P(RealServerJob, EmptyFileArrivesEmpty)
{
    Queue("empty.txt", 0);
    form->SendClick(0);
    EXPECT_EQ(view.Statuses, (Names{"", kConnected, Sending("empty.txt"), kDisconnected, kDone}));
    EXPECT_EQ(server->Names(), (Names{"empty.txt"}));
    EXPECT_EQ(OnServer("empty.txt"), "");
}

TEST_P(RealServerJob, TimeOutOfZeroSetsNoLimit)
{
    form->Printer[0].TimeOut = "0";
    const std::string path = Queue("a.txt", 100);
    form->SendClick(0);
    EXPECT_EQ(view.Statuses, (Names{"", kConnected, Sending("a.txt"), kDisconnected, kDone}));
    EXPECT_TRUE(SameBytes(OnServer("a.txt"), ReadAll(path)));
}

TEST_P(RealServerJob, CancelDuringALargeUploadThenTheNextJobReusesTheConnection)
{
    constexpr std::uint64_t kSize = 256ull << 20;
    form->AddFile(MakeSparseFile(dir.Path(), "big.bin", kSize));
    // "印刷中止" is clicked (a window message) once the first MiB has gone out.
    bool clicked = false;
    form->NMFTP1.OnDataSent = [&](std::uint64_t sent) {
        if (clicked || sent < (1u << 20)) return;
        clicked = true;
        net::test::PostTestMessage([&] { form->CancelBitBtnClick(); });
    };
    form->SendClick(0);
    EXPECT_EQ(view.Statuses, (Names{"", kConnected, Sending("big.bin"), kCancelled}));
    EXPECT_TRUE(form->NMFTP1.Connected());

    form->NMFTP1.OnDataSent = nullptr;
    form->ClearBitBtnClick();
    view.Statuses.clear();
    const std::string after = Queue("after.txt", 5000);
    form->SendClick(0);
    // No "ﾌﾟﾘﾝﾀに接続しました": the kept login served.
    EXPECT_EQ(view.Statuses, (Names{"", Sending("after.txt"), kDisconnected, kDone}));
    EXPECT_TRUE(SameBytes(OnServer("after.txt"), ReadAll(after)));
    EXPECT_LT(OnServer("big.bin").size(), kSize);
    const Names log = server->Log();
    auto lines = [&](const std::string& part) {
        return std::count_if(log.begin(), log.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
    };
    if (server->Kind == "pyftpdlib") {
        EXPECT_EQ(lines("CMD USER "), 1);
        // Its receiving side takes a reset for an orderly end (226): it can't show the cut.
    } else {
        EXPECT_EQ(lines("\"USER "), 1);
        // The reset told vsftpd the file was cut, not whole.
        EXPECT_EQ(lines("\"426 "), 1) << ::testing::PrintToString(log);
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, RealServerJob, ::testing::Values("pyftpdlib", "vsftpd"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace pelto::test
