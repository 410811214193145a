// The socket layer under the FTP client: IPv4 TCP sockets, name lookup, files handed to the
// kernel, and the one wait that keeps the window's messages flowing while a job waits.
// Failures are thrown as ESockError; a window closing during a wait (WM_QUIT) as EAbortError.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/clock.h"

namespace pelto::net {

class File;

struct Ipv4 {
    std::array<std::uint8_t, 4> Bytes{};
    bool operator==(const Ipv4&) const = default;
    std::string Text() const; // "a.b.c.d"
};

struct Endpoint {
    Ipv4 Address;
    std::uint16_t Port = 0;
};

// Four decimal numbers from 0 to 255 separated by dots, nothing else; never a lookup.
std::optional<Ipv4> ParseDottedIpv4(const std::string& text);

// When a wait gives up; no value: never.
using Deadline = std::optional<Clock::time_point>;
// A deadline that many milliseconds from now; 0 (or less) means none.
Deadline DeadlineAfter(int milliseconds);

// Runs on the waiting thread after the window messages that woke a wait were dispatched, so
// that the caller can see what they did (an Abort, a closed window); it may throw to end the
// wait. A WM_QUIT among the messages is put back for the outer loop and the wait throws
// EAbortError without calling it.
using AfterMessages = std::function<void()>;

enum class Want { Read, Write }; // Read includes a waiting connection on a listening socket
enum class Woke { Ready, TimedOut };

// One TCP socket, non-blocking, owned; closed (orderly) when destroyed.
class Socket {
public:
    struct Impl;
    Socket();
    explicit Socket(std::unique_ptr<Impl> impl);
    Socket(Socket&&) noexcept;
    Socket& operator=(Socket&&) noexcept;
    ~Socket();

    explicit operator bool() const;

    // How many bytes went out or came in; no value: it would block. Receive gives 0 when the
    // peer has closed the connection.
    std::optional<std::size_t> Send(const char* data, std::size_t size);
    std::optional<std::size_t> Receive(char* buffer, std::size_t size);
    // A connection waiting on a listening socket; no value: none yet.
    std::optional<Socket> Accept();

    Endpoint Local() const;
    Endpoint Peer() const;

    void Close(); // orderly: the peer reads the end of the stream
    void Reset(); // abortive (SO_LINGER 0): the peer sees the stream broken, not ended

private:
    friend class Network;
    std::unique_ptr<Impl> impl_;
};

// The platform's sockets for one user (on Windows it holds a Winsock reference).
class Network {
public:
    Network();
    ~Network();
    Network(const Network&) = delete;
    Network& operator=(const Network&) = delete;

    // A dotted address as it is; any other name is looked up (IPv4) until the deadline.
    Ipv4 Resolve(const std::string& host, Deadline deadline, const AfterMessages& after);
    // A connection to `to`, set up before the deadline.
    Socket Connect(const Endpoint& to, Deadline deadline, const AfterMessages& after);
    // A listening socket on `local` with a port chosen by the system.
    Socket Listen(const Ipv4& local);

    // Sleeps until the socket is ready for `want` or the deadline passes, dispatching window
    // messages as they come (see AfterMessages). Never spins: a silent peer costs no CPU.
    Woke Wait(const Socket& socket, Want want, Deadline deadline, const AfterMessages& after);
    // Dispatches the window messages already waiting, without sleeping, then calls `after`.
    void Pump(const AfterMessages& after);

    // Sends the whole file, handed to the kernel block by block (sendfile, TransmitFile).
    // After each block: afterBlock(bytes sent so far), then Pump(after), so that an Abort
    // takes effect between blocks; while the peer does not read, it waits as Wait does.
    void SendFile(Socket& to, File& file, const std::function<void(std::uint64_t)>& afterBlock,
                  const AfterMessages& after);

private:
    struct Session;
    std::unique_ptr<Session> session_;
};

} // namespace pelto::net
