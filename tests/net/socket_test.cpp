// The socket layer: addresses, lookups, connections, the wait and its stand-in messages,
// orderly and abortive closes, and files handed to the kernel.
#include "net/socket.h"

#include <sys/resource.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <thread>

#include "core/errors.h"
#include "net/file.h"
#include "net/test_messages.h"
#include "ftp/local_files.h"

namespace pelto::net {
namespace {

TEST(ParseDottedIpv4, AcceptsOnlyFourDecimalParts)
{
    struct Row {
        const char* text;
        std::optional<std::array<std::uint8_t, 4>> want;
    };
    const Row rows[] = {
        {"127.0.0.1", {{127, 0, 0, 1}}},  {"0.0.0.0", {{0, 0, 0, 0}}},   {"255.255.255.255", {{255, 255, 255, 255}}},
        {"010.1.2.3", {{10, 1, 2, 3}}},  {"256.0.0.1", std::nullopt},   {"1.2.3", std::nullopt},
        {"1.2.3.4.5", std::nullopt},     {"1.2.3.4 ", std::nullopt},    {" 1.2.3.4", std::nullopt},
        {"1..3.4", std::nullopt},        {"printer.local", std::nullopt}, {"", std::nullopt},
        {"1.2.3.0004", std::nullopt},    {"IP Address", std::nullopt},
    };
    for (const Row& r : rows) {
        const auto got = ParseDottedIpv4(r.text);
        ASSERT_EQ(got.has_value(), r.want.has_value()) << r.text;
        if (got) {
            EXPECT_EQ(got->Bytes, *r.want) << r.text;
        }
    }
}

std::chrono::microseconds ThreadCpu()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return std::chrono::seconds(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           std::chrono::microseconds(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

struct Pair {
    Network net;
    Socket listener, client, server;
    Pair()
    {
        listener = net.Listen(*ParseDottedIpv4("127.0.0.1"));
        client = net.Connect(listener.Local(), DeadlineAfter(5000), nullptr);
        while (!server) {
            auto s = listener.Accept();
            if (s) server = std::move(*s);
            else net.Wait(listener, Want::Read, DeadlineAfter(5000), nullptr);
        }
    }
};

TEST(Wait, ASilentPeerCostsNoCpu)
{
    Pair p;
    const auto cpu = ThreadCpu();
    const auto start = Clock::now();
    EXPECT_EQ(p.net.Wait(p.client, Want::Read, DeadlineAfter(300), nullptr), Woke::TimedOut);
    EXPECT_GE(Clock::now() - start, Milliseconds(300));
    EXPECT_LT(ThreadCpu() - cpu, std::chrono::milliseconds(20));
}

TEST(Wait, DispatchesMessagesThenLetsTheCallerSeeWhatTheyDid)
{
    Pair p;
    bool cancelled = false;
    std::thread poster([] { test::PostTestMessage([] {}); });
    poster.join();
    test::PostTestMessage([&] { cancelled = true; });
    struct Stop {};
    EXPECT_THROW(p.net.Wait(p.client, Want::Read, std::nullopt,
                            [&] {
                                if (cancelled) throw Stop{};
                            }),
                 Stop);
    EXPECT_TRUE(cancelled);
}

TEST(Wait, QuitEndsTheWaitAndStaysForTheOuterLoop)
{
    Pair p;
    test::PostTestQuit();
    EXPECT_THROW(p.net.Wait(p.client, Want::Read, std::nullopt, nullptr), EAbortError);
    EXPECT_THROW(p.net.Pump(nullptr), EAbortError); // still there: nothing took it
    EXPECT_TRUE(test::TakeTestQuit());
    EXPECT_FALSE(test::TakeTestQuit());
}

TEST(Resolve, DottedAddressesNeedNoLookup)
{
    Network net;
    EXPECT_EQ(net.Resolve("192.0.2.7", DeadlineAfter(1), nullptr).Text(), "192.0.2.7");
    EXPECT_EQ(net.Resolve("localhost", DeadlineAfter(5000), nullptr).Text(), "127.0.0.1");
    EXPECT_THROW(net.Resolve("no-such-printer.invalid", DeadlineAfter(5000), nullptr), ESockError);
}

TEST(Connect, ClosedPortAndUnreachableAddressFailWithinTheLimit)
{
    Network net;
    Endpoint closed;
    {
        Socket l = net.Listen(*ParseDottedIpv4("127.0.0.1"));
        closed = l.Local();
    }
    EXPECT_THROW(net.Connect(closed, DeadlineAfter(5000), nullptr), ESockError);
    const auto start = Clock::now();
    // TEST-NET-1 (RFC 5737): never answers, or is unreachable at once.
    EXPECT_THROW(net.Connect({*ParseDottedIpv4("192.0.2.1"), 21}, DeadlineAfter(200), nullptr), ESockError);
    EXPECT_LT(Clock::now() - start, Milliseconds(3000));
}

TEST(Close, OrderlyEndsTheStreamAndResetBreaksIt)
{
    Pair orderly;
    orderly.server.Send("x", 1);
    orderly.server.Close();
    char c;
    while (!orderly.client.Receive(&c, 1)) orderly.net.Wait(orderly.client, Want::Read, DeadlineAfter(5000), nullptr);
    std::optional<std::size_t> n;
    while (!(n = orderly.client.Receive(&c, 1))) orderly.net.Wait(orderly.client, Want::Read, DeadlineAfter(5000), nullptr);
    EXPECT_EQ(*n, 0u);

    Pair abortive;
    abortive.server.Reset();
    EXPECT_EQ(abortive.net.Wait(abortive.client, Want::Read, DeadlineAfter(5000), nullptr), Woke::Ready);
    EXPECT_THROW(abortive.client.Receive(&c, 1), ESockError);
}

TEST(SendFile, EveryByteArrivesAndProgressIsReported)
{
    pelto::test::TempDir dir;
    const std::string path = pelto::test::MakeFile(dir.Path(), "f.bin", (3 << 20) + 17);
    Pair p;
    File file = File::OpenForReading(path);
    std::thread sender([&] {
        Network net;
        std::uint64_t last = 0;
        net.SendFile(
            p.client, file,
            [&](std::uint64_t sent) {
                EXPECT_GT(sent, last);
                last = sent;
            },
            nullptr);
        EXPECT_EQ(last, file.Size());
        p.client.Close();
    });
    std::string got;
    char buffer[65536];
    for (;;) {
        auto n = p.server.Receive(buffer, sizeof buffer);
        if (!n) {
            p.net.Wait(p.server, Want::Read, DeadlineAfter(10000), nullptr);
            continue;
        }
        if (*n == 0) break;
        got.append(buffer, *n);
    }
    sender.join();
    EXPECT_TRUE(got == pelto::test::ReadAll(path)) << got.size();
}

TEST(File, MissingFileAndFolderFailWithThePlatformText)
{
    pelto::test::TempDir dir;
    try {
        File::OpenForReading(dir.Path() + "/none");
        ADD_FAILURE();
    } catch (const ESockError&) {
        ADD_FAILURE() << "not a socket failure";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos) << e.what();
    }
    EXPECT_THROW(File::OpenForReading(dir.Path()), Exception);
}

} // namespace
} // namespace pelto::net
