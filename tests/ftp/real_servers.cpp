#include "real_servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace pelto::test {

namespace {

constexpr int kStartMs = 20000; // failsafe for a server to come up

// Starts argv[0] with stdout (and stderr) to `out`, in a process group of its own.
pid_t Spawn(const std::vector<std::string>& args, int out)
{
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

std::uint16_t FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

// Until the server greets a connection (or it died, or the failsafe passed).
bool Greets(std::uint16_t port, pid_t pid)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
    while (std::chrono::steady_clock::now() < until) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return false;
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
            char buf[64];
            pollfd p{fd, POLLIN, 0};
            const bool greeted = ::poll(&p, 1, kStartMs) == 1 && ::recv(fd, buf, sizeof buf, 0) > 0;
            ::close(fd);
            return greeted;
        }
        ::close(fd);
        // Not listening yet: the server gives no other sign that it is ready.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

RealServer::RealServer() : dir_("pelto-ftpd") {}

RealServer::~RealServer()
{
    if (pid_ > 0) {
        ::kill(-pid_, SIGTERM); // our child's own process group: it and its sessions
        ::waitpid(pid_, nullptr, 0);
    }
}

std::vector<std::string> RealServer::Names() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> RealServer::Log() const
{
    std::vector<std::string> lines;
    std::istringstream in(Slurp(log_));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::unique_ptr<RealServer> StartPyftpdlib(std::string& whyNot)
{
    std::unique_ptr<RealServer> s(new RealServer);
    s->Kind = "pyftpdlib";
    s->User = "pelto";
    s->Password = "secret";
    s->Folder = s->dir_.Path() + "/files";
    s->log_ = s->dir_.Path() + "/log";
    std::filesystem::create_directory(s->Folder);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return whyNot = "pipe", nullptr;
    s->pid_ = Spawn({"/usr/bin/python3", std::string(PELTO_SOURCE_DIR) + "/tests/ftp/pyftpd_server.py", "--folder",
                     s->Folder, "--user", s->User, "--password", s->Password, "--log", s->log_},
                    out[1]);
    ::close(out[1]);
    // It prints "PORT <n>" once it listens.
    std::string text;
    char buf[256];
    pollfd p{out[0], POLLIN, 0};
    while (text.find('\n') == std::string::npos && ::poll(&p, 1, kStartMs) == 1) {
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n <= 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    if (text.rfind("PORT ", 0) != 0) {
        whyNot = "pyftpdlib did not start: " + text;
        return nullptr;
    }
    s->Port = static_cast<std::uint16_t>(std::atoi(text.c_str() + 5));
    return s;
}

std::unique_ptr<RealServer> StartVsftpd(std::string& whyNot)
{
    if (::geteuid() != 0) {
        whyNot = "vsftpd needs root (a local user, a PAM service)";
        return nullptr;
    }
    const std::string setup = "bash " + std::string(PELTO_SOURCE_DIR) + "/tests/ftp/setup-vsftpd.sh";
    if (std::system(setup.c_str()) != 0) {
        whyNot = "tests/ftp/setup-vsftpd.sh failed";
        return nullptr;
    }
    const passwd* user = ::getpwnam("peltoftp");
    if (!user) return whyNot = "no user peltoftp", nullptr;

    std::unique_ptr<RealServer> s(new RealServer);
    s->Kind = "vsftpd";
    s->User = "peltoftp";
    s->Password = "pelto-ftp-secret";
    s->Folder = s->dir_.Path() + "/files";
    ::chmod(s->dir_.Path().c_str(), 0755);
    std::filesystem::create_directory(s->Folder);
    ::chown(s->Folder.c_str(), user->pw_uid, user->pw_gid);
    s->Port = FreePort();
    s->log_ = s->dir_.Path() + "/protocol.log";
    const std::string conf = s->dir_.Path() + "/vsftpd.conf";
    std::ofstream(conf) << "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" << s->Port
                        << "\nbackground=NO\nanonymous_enable=NO\nlocal_enable=YES\nwrite_enable=YES\n"
                           "local_umask=022\nlocal_root="
                        << s->Folder
                        << "\nchroot_local_user=NO\npam_service_name=pelto-vsftpd\n"
                           "secure_chroot_dir=/run/pelto-vsftpd-empty\nport_enable=YES\n"
                           "connect_from_port_20=NO\n"
                           // the protocol log: commands and replies, for the tests to read
                           "xferlog_enable=YES\nxferlog_std_format=NO\nlog_ftp_protocol=YES\nvsftpd_log_file="
                        << s->dir_.Path() << "/protocol.log\n"
                           // containers: no seccomp filter, no new namespaces
                           "seccomp_sandbox=NO\nisolate=NO\nisolate_network=NO\n";
    const std::string logPath = s->dir_.Path() + "/out";
    const int out = ::open(logPath.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    s->pid_ = Spawn({"/usr/sbin/vsftpd", conf}, out);
    ::close(out);
    if (!Greets(s->Port, s->pid_)) {
        whyNot = "vsftpd did not start: " + Slurp(logPath);
        return nullptr;
    }
    return s;
}

} // namespace pelto::test
