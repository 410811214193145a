#include "fault_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <stdexcept>

#include "core/clock.h"
#include "local_files.h"

namespace pelto::test {

namespace {

constexpr int kFailsafeMs = 20000; // only a test gone wrong waits this long

std::string DefaultReply(const std::string& verb)
{
    static const std::map<std::string, std::string> replies = {
        {"USER", "331 Password required\r\n"}, {"PASS", "230 Logged in\r\n"},
        {"TYPE", "200 Type set\r\n"},          {"PORT", "200 PORT command successful\r\n"},
        {"STOR", "150 Opening data connection\r\n"}, {"QUIT", "221 Goodbye\r\n"},
    };
    auto it = replies.find(verb);
    return it != replies.end() ? it->second : "502 Command not implemented\r\n";
}

void SendAll(int fd, const std::string& text)
{
    std::size_t off = 0;
    while (off < text.size()) {
        const ssize_t n = ::send(fd, text.data() + off, text.size() - off, MSG_NOSIGNAL);
        if (n <= 0) return; // the client went away: its business
        off += static_cast<std::size_t>(n);
    }
}

int ConnectFrom(const char* from, const std::string& host, std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from, &local.sin_addr);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    ::inet_pton(AF_INET, host.c_str(), &to.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads until the end of the stream or `limit` bytes; false once the stream has ended.
bool ReadData(int fd, Received& r, std::uint64_t limit)
{
    char buffer[1 << 16];
    while (r.size < limit) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, kFailsafeMs) <= 0) {
            r.ending = "stuck";
            return false;
        }
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer, limit - r.size));
        const ssize_t n = ::recv(fd, buffer, want, 0);
        if (n == 0) {
            r.ending = "eof";
            return false;
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            r.ending = errno == ECONNRESET ? "reset" : std::string("error ") + std::strerror(errno);
            return false;
        }
        r.hash = Hash(buffer, static_cast<std::size_t>(n), r.hash);
        r.size += static_cast<std::uint64_t>(n);
    }
    return true;
}

void ResetClose(int fd)
{
    const linger abortive{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::close(fd);
}

} // namespace

FaultServer::FaultServer(Script script) : script_(std::move(script))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0 || ::pipe2(stop_, O_CLOEXEC) != 0)
        throw std::runtime_error("fault server: cannot listen");
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Run(); });
}

FaultServer::~FaultServer()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(stop_[1], &byte, 1);
    thread_.join();
    ::close(listener_);
    ::close(stop_[0]);
    ::close(stop_[1]);
}

void FaultServer::Resume()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        resumed_ = true;
    }
    changed_.notify_all();
}

bool FaultServer::WaitIdle()
{
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, Milliseconds(kFailsafeMs), [this] { return !open_; });
}

std::vector<std::string> FaultServer::Transcript()
{
    WaitIdle();
    std::lock_guard<std::mutex> hold(lock_);
    return transcript_;
}

std::vector<Received> FaultServer::Uploads()
{
    WaitIdle();
    std::lock_guard<std::mutex> hold(lock_);
    return uploads_;
}

bool FaultServer::StrangerTurnedAway()
{
    WaitIdle();
    std::lock_guard<std::mutex> hold(lock_);
    return strangerTurnedAway_;
}

void FaultServer::Record(const std::string& entry)
{
    std::lock_guard<std::mutex> hold(lock_);
    transcript_.push_back(entry);
}

void FaultServer::Nap(int ms)
{
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, Milliseconds(ms), [this] { return stopping_; });
}

void FaultServer::Moment(bool waitForResume)
{
    if (OnMoment) OnMoment();
    if (!waitForResume) return;
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, Milliseconds(kFailsafeMs), [this] { return resumed_ || stopping_; });
    resumed_ = false;
}

void FaultServer::Run()
{
    for (;;) {
        pollfd p[2] = {{listener_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        if (::poll(p, 2, -1) < 0 && errno != EINTR) return;
        if (p[1].revents) return;
        if (!p[0].revents) continue;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        {
            std::lock_guard<std::mutex> hold(lock_);
            open_ = true;
            transcript_.push_back("<connect>");
        }
        Session(fd);
        ::close(fd);
        {
            std::lock_guard<std::mutex> hold(lock_);
            open_ = false;
        }
        changed_.notify_all();
    }
}

bool FaultServer::ReadLine(int fd, std::string& buffer, std::string& line)
{
    for (;;) {
        const std::size_t end = buffer.find("\r\n");
        if (end != std::string::npos) {
            line = buffer.substr(0, end);
            buffer.erase(0, end + 2);
            return true;
        }
        pollfd p[2] = {{fd, POLLIN, 0}, {stop_[0], POLLIN, 0}};
        if (::poll(p, 2, kFailsafeMs) <= 0 || p[1].revents) return false;
        char chunk[4096];
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) return false;
        buffer.append(chunk, static_cast<std::size_t>(n));
    }
}

void FaultServer::Session(int fd)
{
    SendAll(fd, script_.greeting);
    std::string buffer, line;
    while (ReadLine(fd, buffer, line)) {
        std::string verb = line.substr(0, line.find(' '));
        for (char& c : verb) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string entry = line;
        if (verb == "PORT") {
            // h1,h2,h3,h4,p1,p2: the address is checked by the transcript, the port by use.
            std::vector<int> n;
            std::size_t at = 5;
            while (at <= line.size() && n.size() < 6) {
                n.push_back(std::atoi(line.c_str() + at));
                const std::size_t comma = line.find(',', at);
                if (comma == std::string::npos) break;
                at = comma + 1;
            }
            if (n.size() == 6) {
                dataHost_ = std::to_string(n[0]) + "." + std::to_string(n[1]) + "." + std::to_string(n[2]) + "." +
                            std::to_string(n[3]);
                dataPort_ = static_cast<std::uint16_t>(n[4] * 256 + n[5]);
                entry = "PORT " + std::to_string(n[0]) + "," + std::to_string(n[1]) + "," + std::to_string(n[2]) + "," +
                        std::to_string(n[3]) + ",*,*";
            }
        }
        Record(entry);
        const int nth = ++verbCount_[verb];
        const auto it = script_.answers.find(verb);
        const Answer answer =
            it != script_.answers.end() && (it->second.nth == 0 || it->second.nth == nth) ? it->second : Answer{};
        if (answer.moment) Moment(true);
        if (answer.delayMs > 0) Nap(answer.delayMs);
        const std::string reply = answer.reply.empty() ? DefaultReply(verb) : answer.reply;
        SendAll(fd, reply);
        if (answer.hangUp || verb == "QUIT") return;
        if (verb == "STOR" && reply[0] == '1' && !DataPhase(fd, line.substr(5))) return;
    }
}

// After a preliminary STOR reply; false when the script hangs up afterwards.
bool FaultServer::DataPhase(int control, const std::string& name)
{
    const std::size_t index = uploadCount_++;
    const DataStep step = script_.data.empty() ? DataStep{}
                                               : script_.data[std::min(index, script_.data.size() - 1)];
    if (step.plan == DataPlan::Never) {
        Moment(false);
        return true;
    }
    if (step.plan == DataPlan::StrangerFirst) {
        const int stranger = ConnectFrom("127.0.0.2", dataHost_, dataPort_);
        if (stranger >= 0) {
            Received ignored;
            ReadData(stranger, ignored, UINT64_MAX);
            std::lock_guard<std::mutex> hold(lock_);
            strangerTurnedAway_ = ignored.ending == "eof" || ignored.ending == "reset";
        }
        if (stranger >= 0) ::close(stranger);
    }
    const int data = ConnectFrom("127.0.0.1", dataHost_, dataPort_);
    if (data < 0) {
        SendAll(control, "425 Can't open data connection\r\n");
        return true;
    }
    Received r;
    r.name = name;
    r.hash = Hash(nullptr, 0);
    if (step.plan == DataPlan::DropMidway) {
        ReadData(data, r, 64 << 10);
        ResetClose(data);
        r.ending = "dropped";
    } else {
        bool more = true;
        if (step.plan == DataPlan::PauseMidway) {
            more = ReadData(data, r, 64 << 10);
            Moment(true);
        }
        if (more) ReadData(data, r, UINT64_MAX);
        ::close(data);
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        uploads_.push_back(r);
    }
    SendAll(control, r.ending == "eof" ? script_.finalReply : "426 Connection closed; transfer aborted\r\n");
    return !step.hangUp;
}

} // namespace pelto::test
