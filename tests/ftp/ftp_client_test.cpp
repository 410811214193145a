// The FTP client's own promises that the print-job
// table does not show.
#include "core/ftp_client.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "fault_server.h"
#include "local_files.h"
#include "net/test_messages.h"

namespace pelto::test {
namespace {

void Aim(TNMFTP& ftp, const FaultServer& server)
{
    ftp.Host = "127.0.0.1";
    ftp.Port = server.Port();
    ftp.UserID = "pelto";
    ftp.Password = "secret";
    ftp.TimeOut = 5000;
}

TEST(TNMFTP, ModeWhileNotConnectedIsTheGeneralErrorNotConnected)
{
    TNMFTP ftp;
    try {
        ftp.Mode(1);
        ADD_FAILURE();
    } catch (const ESockError&) {
        ADD_FAILURE() << "must not be a socket failure";
    } catch (const FTPException&) {
        ADD_FAILURE() << "must not be a refusal";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Not Connected");
    }
    ftp.Disconnect(); // not connected: nothing happens
    EXPECT_FALSE(ftp.Connected());
}

TEST(TNMFTP, ConnectedFromTheTcpConnectionOnEventsInOrder)
{
    FaultServer server(Script{.answers = {{"USER", {.moment = true}}}});
    TNMFTP ftp;
    Aim(ftp, server);
    std::vector<std::string> events;
    ftp.OnConnect = [&] { events.push_back(ftp.Connected() ? "connect (connected)" : "connect"); };
    ftp.OnDisconnect = [&] { events.push_back(ftp.Connected() ? "disconnect (connected)" : "disconnect"); };
    server.OnMoment = [&] {
        net::test::PostTestMessage([&] {
            events.push_back(ftp.Connected() ? "login (connected)" : "login");
            server.Resume();
        });
    };
    ftp.Connect();
    events.push_back("returned");
    ftp.Disconnect();
    EXPECT_EQ(events, (std::vector<std::string>{"login (connected)", "connect (connected)", "returned", "disconnect"}));
}

TEST(TNMFTP, AbortOutsideAnUploadIsNotRemembered)
{
    TempDir dir;
    FaultServer server(Script{});
    TNMFTP ftp;
    Aim(ftp, server);
    ftp.Abort();
    ftp.Connect();
    ftp.Abort();
    ftp.Mode(2);
    ftp.Abort();
    ftp.Upload(MakeFile(dir.Path(), "a.txt", 100), "a.txt");
    ftp.Disconnect();
    EXPECT_EQ(server.Uploads().size(), 1u);
    EXPECT_EQ(server.Uploads()[0].ending, "eof");
}

TEST(TNMFTP, PortOutOfRangeIsASocketFailureWithoutConnecting)
{
    TNMFTP ftp;
    ftp.Host = "127.0.0.1";
    for (int port : {0, 65536, -21}) {
        ftp.Port = port;
        EXPECT_THROW(ftp.Connect(), ESockError) << port;
        EXPECT_FALSE(ftp.Connected());
    }
}

TEST(TNMFTP, RefusedLoginCarriesTheReply)
{
    FaultServer server(Script{.answers = {{"PASS", {.reply = "530-Login incorrect\r\n530 Try again\r\n"}}}});
    TNMFTP ftp;
    Aim(ftp, server);
    try {
        ftp.Connect();
        ADD_FAILURE();
    } catch (const FTPException& e) {
        EXPECT_STREQ(e.what(), "530-Login incorrect\r\n530 Try again");
    }
    EXPECT_FALSE(ftp.Connected());
}

TEST(TNMFTP, ControlLineBreaksInANameAreRefusedNotSent)
{
    TempDir dir;
    FaultServer server(Script{});
    TNMFTP ftp;
    Aim(ftp, server);
    ftp.Connect();
    EXPECT_THROW(ftp.Upload(MakeFile(dir.Path(), "a.txt", 10), "a.txt\r\nDELE x"), Exception);
    ftp.Disconnect();
    const auto t = server.Transcript();
    EXPECT_EQ(std::count(t.begin(), t.end(), "DELE x"), 0);
}

} // namespace
} // namespace pelto::test
