// POSIX sockets: non-blocking descriptors and poll(). There are no window messages here; the
// closures of test_messages.h stand in for them, through a pipe that every wait also polls.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/sendfile.h>
#endif

#include <cerrno>
#include <climits>
#include <deque>
#include <cstring>
#include <mutex>
#include <thread>
#include <system_error>
#include <vector>

#include "core/errors.h"
#include "net/file.h"
#include "net/socket.h"
#include "net/test_messages.h"

namespace pelto::net {

struct Socket::Impl {
    int fd = -1;
    ~Impl()
    {
        if (fd >= 0) ::close(fd);
    }
};

namespace {

std::string ErrorText(int err) { return std::system_category().message(err); }

[[noreturn]] void Fail(const std::string& what, int err) { throw ESockError(what + ": " + ErrorText(err)); }

// The stand-in for the thread's message queue (tests only post to it).
struct MessageQueue {
    std::mutex lock;
    std::deque<std::function<void()>> messages;
    bool quit = false;
    int wake[2] = {-1, -1}; // a byte in the pipe: something was posted

    MessageQueue()
    {
        if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) Fail("pipe", errno);
    }
    void Poke()
    {
        const char byte = 1;
        [[maybe_unused]] ssize_t n = ::write(wake[1], &byte, 1); // a full pipe is poked already
    }
};

MessageQueue& Queue()
{
    static MessageQueue queue;
    return queue;
}

// Runs what was posted, as a PeekMessage loop dispatches; a quit ends the wait (EAbortError)
// and stays for the outer loop, as PostQuitMessage puts WM_QUIT back.
void Dispatch(const AfterMessages& after)
{
    MessageQueue& q = Queue();
    char drain[64];
    while (::read(q.wake[0], drain, sizeof drain) > 0) {
    }
    for (;;) {
        std::function<void()> message;
        {
            std::lock_guard<std::mutex> hold(q.lock);
            if (q.messages.empty()) {
                if (q.quit) throw EAbortError("WM_QUIT"); // as PeekMessage, after the others
                break;
            }
            message = std::move(q.messages.front());
            q.messages.pop_front();
        }
        message();
    }
    if (after) after();
}

bool QuitPosted()
{
    std::lock_guard<std::mutex> hold(Queue().lock);
    return Queue().quit;
}

// Milliseconds for poll(): -1 without a deadline, rounded up so that it never wakes early.
int PollTimeout(const Deadline& deadline)
{
    if (!deadline) return -1;
    const auto left = *deadline - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    const auto ms = std::chrono::duration_cast<Milliseconds>(left).count() + 1;
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

// Sleeps until fd has `events` or the deadline passes; posted messages run meanwhile.
Woke WaitFd(int fd, short events, const Deadline& deadline, const AfterMessages& after)
{
    MessageQueue& q = Queue();
    for (;;) {
        if (QuitPosted()) Dispatch(after);
        pollfd fds[2] = {{fd, events, 0}, {q.wake[0], POLLIN, 0}};
        const int n = ::poll(fds, 2, PollTimeout(deadline));
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("poll", errno);
        }
        if (fds[1].revents) Dispatch(after);
        if (fds[0].revents) return Woke::Ready; // POLLERR and POLLHUP too: the next call tells
        if (deadline && Clock::now() >= *deadline) return Woke::TimedOut;
    }
}

Socket NewSocket()
{
    auto impl = std::make_unique<Socket::Impl>();
    impl->fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (impl->fd < 0) Fail("socket", errno);
    return Socket(std::move(impl));
}

sockaddr_in ToSockaddr(const Endpoint& e)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(e.Port);
    std::memcpy(&a.sin_addr, e.Address.Bytes.data(), 4);
    return a;
}

Endpoint FromSockaddr(const sockaddr_in& a)
{
    Endpoint e;
    std::memcpy(e.Address.Bytes.data(), &a.sin_addr, 4);
    e.Port = ntohs(a.sin_port);
    return e;
}

// A name lookup on a thread of its own, so that the wait can keep its deadline and messages;
// a lookup given up on finishes by itself and frees this (the last owner).
struct Lookup {
    std::string host;
    std::mutex lock;
    int rc = EAI_AGAIN;
    std::optional<Ipv4> address;
    int done[2] = {-1, -1};
    ~Lookup()
    {
        for (int fd : done)
            if (fd >= 0) ::close(fd);
    }
};

// SIGPIPE blocked on this thread for the duration: sendfile() has no MSG_NOSIGNAL, and a
// broken connection must be an error, not the end of the process. A SIGPIPE raised meanwhile
// is taken away before the old mask returns.
class NoSigpipe {
public:
    NoSigpipe()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
    }
    ~NoSigpipe()
    {
        if (!wasPending_) {
            const timespec none{0, 0};
            while (sigtimedwait(&pipe_, nullptr, &none) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }

private:
    sigset_t pipe_, old_;
    bool wasPending_;
};

} // namespace

// --- Socket

Socket::Socket() = default;
Socket::Socket(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Socket::Socket(Socket&&) noexcept = default;
Socket& Socket::operator=(Socket&&) noexcept = default;
Socket::~Socket() = default;

Socket::operator bool() const { return impl_ && impl_->fd >= 0; }

std::optional<std::size_t> Socket::Send(const char* data, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::send(impl_->fd, data, size, MSG_NOSIGNAL);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return std::nullopt;
        Fail("send", errno);
    }
}

std::optional<std::size_t> Socket::Receive(char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::recv(impl_->fd, buffer, size, 0);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return std::nullopt;
        Fail("recv", errno);
    }
}

std::optional<Socket> Socket::Accept()
{
    for (;;) {
        const int fd = ::accept4(impl_->fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            auto impl = std::make_unique<Impl>();
            impl->fd = fd;
            return Socket(std::move(impl));
        }
        if (errno == EINTR) continue;
        // A caller that gave up before we took it: as if none had come.
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ECONNABORTED) return std::nullopt;
        Fail("accept", errno);
    }
}

Endpoint Socket::Local() const
{
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (::getsockname(impl_->fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) Fail("getsockname", errno);
    return FromSockaddr(a);
}

Endpoint Socket::Peer() const
{
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (::getpeername(impl_->fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) Fail("getpeername", errno);
    return FromSockaddr(a);
}

void Socket::Close()
{
    if (impl_ && impl_->fd >= 0) {
        ::close(impl_->fd);
        impl_->fd = -1;
    }
}

void Socket::Reset()
{
    if (impl_ && impl_->fd >= 0) {
        const linger abortive{1, 0};
        ::setsockopt(impl_->fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
        Close();
    }
}

// --- Network

struct Network::Session {};

Network::Network() : session_(std::make_unique<Session>()) { Queue(); }
Network::~Network() = default;

Ipv4 Network::Resolve(const std::string& host, Deadline deadline, const AfterMessages& after)
{
    if (auto ip = ParseDottedIpv4(host)) return *ip;
    auto lookup = std::make_shared<Lookup>();
    lookup->host = host;
    if (::pipe2(lookup->done, O_CLOEXEC | O_NONBLOCK) != 0) Fail("pipe", errno);
    std::thread([lookup] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const int rc = ::getaddrinfo(lookup->host.c_str(), nullptr, &hints, &found);
        {
            std::lock_guard<std::mutex> hold(lookup->lock);
            lookup->rc = rc;
            if (rc == 0 && found)
                lookup->address = FromSockaddr(*reinterpret_cast<const sockaddr_in*>(found->ai_addr)).Address;
        }
        if (found) ::freeaddrinfo(found);
        const char byte = 1;
        [[maybe_unused]] ssize_t n = ::write(lookup->done[1], &byte, 1);
    }).detach();

    if (WaitFd(lookup->done[0], POLLIN, deadline, after) == Woke::TimedOut)
        throw ESockError(host + ": 名前解決が時間切れです");
    std::lock_guard<std::mutex> hold(lookup->lock);
    if (lookup->rc != 0 || !lookup->address) throw ESockError(host + ": " + ::gai_strerror(lookup->rc));
    return *lookup->address;
}

Socket Network::Connect(const Endpoint& to, Deadline deadline, const AfterMessages& after)
{
    Socket s = NewSocket();
    const sockaddr_in a = ToSockaddr(to);
    const std::string where = to.Address.Text() + ":" + std::to_string(to.Port);
    if (::connect(s.impl_->fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) return s;
    if (errno != EINPROGRESS && errno != EINTR) Fail(where, errno);
    if (WaitFd(s.impl_->fd, POLLOUT, deadline, after) == Woke::TimedOut)
        throw ESockError(where + ": 接続が時間切れです");
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(s.impl_->fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
    if (err != 0) Fail(where, err);
    return s;
}

Socket Network::Listen(const Ipv4& local)
{
    Socket s = NewSocket();
    const sockaddr_in a = ToSockaddr({local, 0});
    if (::bind(s.impl_->fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) Fail("bind", errno);
    if (::listen(s.impl_->fd, 4) != 0) Fail("listen", errno);
    return s;
}

Woke Network::Wait(const Socket& socket, Want want, Deadline deadline, const AfterMessages& after)
{
    return WaitFd(socket.impl_->fd, want == Want::Read ? POLLIN : POLLOUT, deadline, after);
}

void Network::Pump(const AfterMessages& after) { Dispatch(after); }

void Network::SendFile(Socket& to, File& file, const std::function<void(std::uint64_t)>& afterBlock,
                       const AfterMessages& after)
{
    const int out = to.impl_->fd;
    const int in = static_cast<int>(file.Native());
    std::uint64_t sent = 0;
    NoSigpipe noSigpipe;
#ifdef __linux__
    // The kernel copies from the page cache to the socket; we only ask for more.
    constexpr std::size_t kBlock = 16 << 20;
    for (;;) {
        off_t offset = static_cast<off_t>(sent);
        const ssize_t n = ::sendfile(out, in, &offset, kBlock);
        if (n > 0) {
            sent += static_cast<std::uint64_t>(n);
            if (afterBlock) afterBlock(sent);
            Dispatch(after);
            continue;
        }
        if (n == 0) return; // end of file
        if (errno == EINTR) continue;
        if (errno == EAGAIN) {
            WaitFd(out, POLLOUT, std::nullopt, after);
            continue;
        }
        if ((errno == EINVAL || errno == ENOSYS) && sent == 0) break; // a file sendfile can't read
        Fail("sendfile", errno);
    }
#endif
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::pread(in, buffer.data(), buffer.size(), static_cast<off_t>(sent));
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail("read", errno);
        }
        if (got == 0) return;
        std::size_t off = 0;
        while (off < static_cast<std::size_t>(got)) {
            auto n = to.Send(buffer.data() + off, static_cast<std::size_t>(got) - off);
            if (!n) {
                WaitFd(out, POLLOUT, std::nullopt, after);
                continue;
            }
            off += *n;
        }
        sent += static_cast<std::uint64_t>(got);
        if (afterBlock) afterBlock(sent);
        Dispatch(after);
    }
}

// --- test messages

namespace test {

void PostTestMessage(std::function<void()> message)
{
    MessageQueue& q = Queue();
    {
        std::lock_guard<std::mutex> hold(q.lock);
        q.messages.push_back(std::move(message));
    }
    q.Poke();
}

void PostTestQuit()
{
    MessageQueue& q = Queue();
    {
        std::lock_guard<std::mutex> hold(q.lock);
        q.quit = true;
    }
    q.Poke();
}

bool TakeTestQuit()
{
    MessageQueue& q = Queue();
    std::lock_guard<std::mutex> hold(q.lock);
    const bool quit = q.quit;
    q.quit = false;
    return quit;
}

} // namespace test
} // namespace pelto::net
