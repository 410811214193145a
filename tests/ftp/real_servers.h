// Real FTP servers on 127.0.0.1 for the tests, each a process of its own started here and
// ended (with its process group) when the object goes.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "local_files.h"

namespace pelto::test {

class RealServer {
public:
    virtual ~RealServer();
    std::string Kind;
    std::uint16_t Port = 0;
    std::string User, Password;
    std::string Folder; // where uploads land

    // File names in Folder, as raw bytes.
    std::vector<std::string> Names() const;
    // The server's log, raw: pyftpdlib "CMD <line>", "RECEIVED <name>", "INCOMPLETE <name>";
    // vsftpd its protocol log (commands and replies).
    std::vector<std::string> Log() const;

protected:
    RealServer();
    TempDir dir_;
    pid_t pid_ = -1;
    std::string log_;
    friend std::unique_ptr<RealServer> StartPyftpdlib(std::string& whyNot);
    friend std::unique_ptr<RealServer> StartVsftpd(std::string& whyNot);
};

// Both return nothing, with the reason, when the server can't run here.
std::unique_ptr<RealServer> StartPyftpdlib(std::string& whyNot);
std::unique_ptr<RealServer> StartVsftpd(std::string& whyNot); // root only: runs setup-vsftpd.sh

} // namespace pelto::test
