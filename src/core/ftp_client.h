// Pelto's FTP client: login, transfer type, active-mode uploads, logout.
#pragma once
#include <functional>
#include <string>

namespace pelto {

class TNMFTP {
public:
    TNMFTP();
    ~TNMFTP();
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
};

} // namespace pelto
