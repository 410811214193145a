// Winsock: every socket has an event (WSAEventSelect), and every wait is one
// MsgWaitForMultipleObjectsEx on that event and the thread's message queue, so that the
// window's messages are dispatched the moment they come and a silent printer costs no CPU.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601 // Windows 7: CancelIoEx
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>
#include <windows.h>

#include <climits>
#include <cstring>

#include "core/errors.h"
#include "net/file.h"
#include "net/dispatch-win32.h"
#include "net/socket.h"
#include "net/system_text.h"

namespace pelto::net {

namespace {

constexpr long kEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

[[noreturn]] void Fail(const std::string& what, int err)
{
    throw ESockError(what + ": " + SystemText(static_cast<DWORD>(err)));
}

// One reference to Winsock: WSAStartup now, WSACleanup when released (it counts).
class WinsockUse {
public:
    WinsockUse()
    {
        WSADATA data;
        const int rc = WSAStartup(MAKEWORD(2, 2), &data);
        if (rc != 0) Fail("WSAStartup", rc);
    }
    ~WinsockUse() { WSACleanup(); }
    WinsockUse(const WinsockUse&) = delete;
    WinsockUse& operator=(const WinsockUse&) = delete;
};

// Dispatches what is in the queue, as the message loop would. WM_QUIT is put back for the
// outer loop and ends the wait: the job stops, the program goes on to its end.
void DispatchMessages(const AfterMessages& after)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            throw EAbortError("WM_QUIT");
        }
        DispatchOne(msg);
    }
    if (after) after();
}

// Milliseconds to the deadline, rounded up; INFINITE without one.
DWORD WaitTimeout(const Deadline& deadline)
{
    if (!deadline) return INFINITE;
    const auto left = *deadline - Clock::now();
    if (left <= Clock::duration::zero()) return 0;
    const long long ms = std::chrono::duration_cast<Milliseconds>(left).count() + 1;
    return ms >= static_cast<long long>(INFINITE) ? INFINITE - 1 : static_cast<DWORD>(ms);
}

// Sleeps until `handle` is signalled (true) or the deadline passes (false); window messages
// are dispatched as they arrive.
bool WaitHandle(HANDLE handle, const Deadline& deadline, const AfterMessages& after)
{
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjectsEx(1, &handle, WaitTimeout(deadline), QS_ALLINPUT,
                                                    MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0) return true;
        if (r == WAIT_OBJECT_0 + 1) {
            DispatchMessages(after);
            continue;
        }
        if (r == WAIT_TIMEOUT) {
            if (deadline && Clock::now() >= *deadline) return false;
            continue;
        }
        Fail("MsgWaitForMultipleObjectsEx", static_cast<int>(GetLastError()));
    }
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

// A name lookup on a thread of its own (getaddrinfo blocks and has no time limit); the one
// who lets go last frees it, so a lookup given up on ends by itself. It holds its own
// Winsock reference for as long as the thread may use it.
struct Lookup {
    WinsockUse winsock;
    std::string host;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int rc = WSAHOST_NOT_FOUND;
    Ipv4 address;
    ~Lookup()
    {
        if (done) CloseHandle(done);
    }
};

DWORD WINAPI LookupThread(void* param)
{
    auto* lookup = static_cast<std::shared_ptr<Lookup>*>(param);
    Lookup& l = **lookup;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    l.rc = getaddrinfo(l.host.c_str(), nullptr, &hints, &found);
    if (l.rc == 0 && found) l.address = FromSockaddr(*reinterpret_cast<const sockaddr_in*>(found->ai_addr)).Address;
    if (found) freeaddrinfo(found);
    SetEvent(l.done); // rc and address are written before: the event orders them
    delete lookup;
    return 0;
}

} // namespace

struct Socket::Impl {
    SOCKET s = INVALID_SOCKET;
    WSAEVENT event = WSA_INVALID_EVENT;

    void Release(bool abortive)
    {
        if (s != INVALID_SOCKET) {
            if (abortive) {
                const linger now{1, 0};
                setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&now), sizeof now);
            }
            closesocket(s);
            s = INVALID_SOCKET;
        }
        if (event != WSA_INVALID_EVENT) {
            WSACloseEvent(event);
            event = WSA_INVALID_EVENT;
        }
    }
    ~Impl() { Release(false); }
};

namespace {

// Gives a socket its own event for every network event; Winsock makes it non-blocking.
Socket Adopt(SOCKET s)
{
    auto impl = std::make_unique<Socket::Impl>();
    impl->s = s;
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    impl->event = WSACreateEvent();
    if (impl->event == WSA_INVALID_EVENT) Fail("WSACreateEvent", WSAGetLastError());
    if (WSAEventSelect(s, impl->event, kEvents) != 0) Fail("WSAEventSelect", WSAGetLastError());
    return Socket(std::move(impl));
}

Socket NewSocket()
{
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) Fail("socket", WSAGetLastError());
    return Adopt(s);
}

} // namespace

// --- Socket

Socket::Socket() = default;
Socket::Socket(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Socket::Socket(Socket&&) noexcept = default;
Socket& Socket::operator=(Socket&&) noexcept = default;
Socket::~Socket() = default;

Socket::operator bool() const { return impl_ && impl_->s != INVALID_SOCKET; }

std::optional<std::size_t> Socket::Send(const char* data, std::size_t size)
{
    const int chunk = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    const int n = send(impl_->s, data, chunk, 0);
    if (n != SOCKET_ERROR) return static_cast<std::size_t>(n);
    const int err = WSAGetLastError();
    if (err == WSAEWOULDBLOCK) return std::nullopt;
    Fail("send", err);
}

std::optional<std::size_t> Socket::Receive(char* buffer, std::size_t size)
{
    const int chunk = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    const int n = recv(impl_->s, buffer, chunk, 0);
    if (n != SOCKET_ERROR) return static_cast<std::size_t>(n);
    const int err = WSAGetLastError();
    if (err == WSAEWOULDBLOCK) return std::nullopt;
    Fail("recv", err);
}

std::optional<Socket> Socket::Accept()
{
    const SOCKET s = accept(impl_->s, nullptr, nullptr);
    if (s == INVALID_SOCKET) {
        const int err = WSAGetLastError();
        if (err == WSAEWOULDBLOCK || err == WSAECONNRESET) return std::nullopt;
        Fail("accept", err);
    }
    // It shares the listener's event until it gets its own.
    return Adopt(s);
}

Endpoint Socket::Local() const
{
    sockaddr_in a{};
    int len = sizeof a;
    if (getsockname(impl_->s, reinterpret_cast<sockaddr*>(&a), &len) != 0) Fail("getsockname", WSAGetLastError());
    return FromSockaddr(a);
}

Endpoint Socket::Peer() const
{
    sockaddr_in a{};
    int len = sizeof a;
    if (getpeername(impl_->s, reinterpret_cast<sockaddr*>(&a), &len) != 0) Fail("getpeername", WSAGetLastError());
    return FromSockaddr(a);
}

void Socket::Close()
{
    if (impl_) impl_->Release(false);
}

void Socket::Reset()
{
    if (impl_) impl_->Release(true);
}

// --- Network

struct Network::Session {
    WinsockUse winsock;
};

Network::Network() : session_(std::make_unique<Session>()) {}
Network::~Network() = default;

Ipv4 Network::Resolve(const std::string& host, Deadline deadline, const AfterMessages& after)
{
    if (auto ip = ParseDottedIpv4(host)) return *ip;
    auto lookup = std::make_shared<Lookup>();
    lookup->host = host;
    if (!lookup->done) Fail("CreateEvent", static_cast<int>(GetLastError()));
    auto* forThread = new std::shared_ptr<Lookup>(lookup);
    const HANDLE thread = CreateThread(nullptr, 0, LookupThread, forThread, 0, nullptr);
    if (!thread) {
        delete forThread;
        Fail("CreateThread", static_cast<int>(GetLastError()));
    }
    CloseHandle(thread);
    if (!WaitHandle(lookup->done, deadline, after)) throw ESockError(host + ": 名前解決が時間切れです");
    if (lookup->rc != 0) Fail(host, lookup->rc);
    return lookup->address;
}

Socket Network::Connect(const Endpoint& to, Deadline deadline, const AfterMessages& after)
{
    Socket sock = NewSocket();
    const sockaddr_in a = ToSockaddr(to);
    const std::string where = to.Address.Text() + ":" + std::to_string(to.Port);
    if (connect(sock.impl_->s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) return sock;
    const int err = WSAGetLastError();
    if (err != WSAEWOULDBLOCK) Fail(where, err);
    for (;;) {
        if (!WaitHandle(sock.impl_->event, deadline, after)) throw ESockError(where + ": 接続が時間切れです");
        WSANETWORKEVENTS events{};
        if (WSAEnumNetworkEvents(sock.impl_->s, sock.impl_->event, &events) != 0)
            Fail(where, WSAGetLastError());
        if (events.lNetworkEvents & FD_CONNECT) {
            if (events.iErrorCode[FD_CONNECT_BIT] != 0) Fail(where, events.iErrorCode[FD_CONNECT_BIT]);
            return sock;
        }
    }
}

Socket Network::Listen(const Ipv4& local)
{
    Socket sock = NewSocket();
    const sockaddr_in a = ToSockaddr({local, 0});
    if (bind(sock.impl_->s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) Fail("bind", WSAGetLastError());
    if (listen(sock.impl_->s, 4) != 0) Fail("listen", WSAGetLastError());
    return sock;
}

Woke Network::Wait(const Socket& socket, Want want, Deadline deadline, const AfterMessages& after)
{
    // The caller tried first and was told "would block", so the event it needs is still to
    // come; FD_CLOSE wakes either kind of wait (the next call reports it).
    const long wanted = (want == Want::Read ? FD_READ | FD_ACCEPT : FD_WRITE | FD_CONNECT) | FD_CLOSE;
    for (;;) {
        if (!WaitHandle(socket.impl_->event, deadline, after)) return Woke::TimedOut;
        WSANETWORKEVENTS events{};
        if (WSAEnumNetworkEvents(socket.impl_->s, socket.impl_->event, &events) != 0)
            Fail("WSAEnumNetworkEvents", WSAGetLastError());
        if (events.lNetworkEvents & wanted) return Woke::Ready;
        // Other events are dropped with the reset: every caller tries before it waits.
    }
}

void Network::Pump(const AfterMessages& after) { DispatchMessages(after); }

void Network::SendFile(Socket& to, File& file, const std::function<void(std::uint64_t)>& afterBlock,
                       const AfterMessages& after)
{
    // TransmitFile, overlapped, in blocks: the kernel reads the file and sends it, and our
    // thread waits on the block's completion event and the message queue at once, so Cancel
    // is seen at once even when the printer stops reading. An abort cancels the block in
    // flight and waits for it to end before the caller resets the socket.
    constexpr std::uint64_t kBlock = 8 << 20;
    const SOCKET s = to.impl_->s;
    // Overlapped I/O wants the socket out of event-select mode.
    WSAEventSelect(s, nullptr, 0);
    u_long blocking = 0;
    ioctlsocket(s, FIONBIO, &blocking);

    const HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!done) Fail("CreateEvent", static_cast<int>(GetLastError()));
    struct CloseOnExit {
        HANDLE h;
        ~CloseOnExit() { CloseHandle(h); }
    } closeDone{done};

    const HANDLE source = reinterpret_cast<HANDLE>(file.Native());
    std::uint64_t sent = 0;
    while (sent < file.Size()) {
        const std::uint64_t left = file.Size() - sent;
        const DWORD block = static_cast<DWORD>(left < kBlock ? left : kBlock);
        OVERLAPPED ov{};
        ov.Offset = static_cast<DWORD>(sent & 0xFFFFFFFFu);
        ov.OffsetHigh = static_cast<DWORD>(sent >> 32);
        ov.hEvent = done;
        ResetEvent(done);
        if (!TransmitFile(s, source, block, 0, &ov, nullptr, 0)) {
            const int err = WSAGetLastError();
            if (err != WSA_IO_PENDING && err != ERROR_IO_PENDING) Fail("TransmitFile", err);
        }
        try {
            WaitHandle(done, std::nullopt, after);
        } catch (...) {
            CancelIoEx(reinterpret_cast<HANDLE>(s), &ov);
            DWORD ignored = 0, flags = 0;
            WSAGetOverlappedResult(s, &ov, &ignored, TRUE, &flags);
            throw;
        }
        DWORD n = 0, flags = 0;
        if (!WSAGetOverlappedResult(s, &ov, &n, FALSE, &flags)) Fail("TransmitFile", WSAGetLastError());
        if (n == 0) break; // the file got shorter meanwhile
        sent += n;
        if (afterBlock) afterBlock(sent);
        DispatchMessages(after);
    }
}

} // namespace pelto::net
