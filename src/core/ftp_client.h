// Pelto's FTP client: login, transfer type, active-mode uploads, logout.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace pelto {

class TNMFTP {
public:
    TNMFTP();
    ~TNMFTP(); // closes a connection still open, without events
    TNMFTP(const TNMFTP&) = delete;
    TNMFTP& operator=(const TNMFTP&) = delete;

    std::string Host;
    int Port = 21;
    std::string UserID;
    std::string Password;
    int TimeOut = 0; // milliseconds for connection set-up; 0 means no limit

    std::function<void()> OnConnect;    // after a successful login, before Connect returns
    std::function<void()> OnDisconnect; // whenever the control connection closes

    bool Connected() const;
    void Connect();
    void Mode(int type); // 1: "TYPE A", 2: "TYPE I"
    void Upload(const std::string& localPath, const std::string& remoteName);
    void Disconnect();
    void Abort();

    // --- What a careful print job needs beyond the operations above.

    // Asked after the window messages of every wait: true ends the operation in progress with
    // EAbortError (the main window has closed during a job).
    std::function<bool()> Quitting;

    // Whether the open connection was logged in to this host, port and user.
    bool IsConnectedTo(const std::string& host, int port, const std::string& user) const;
    // Leaves a kept connection: "QUIT" without awaiting its reply, then closed (OnDisconnect).
    void Close();
    // Before a kept connection is reused: awaits the replies still due from an interrupted
    // upload and drops text sent unasked (waiting at most TimeOut, or 10 s without one); a
    // connection the printer closed meanwhile, or whose replies don't come, is closed
    // (OnDisconnect). Returns Connected().
    bool CheckKept();

    // Test hook: runs on the job's thread after each block of file data went out.
    std::function<void(std::uint64_t sent)> OnDataSent;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace pelto
