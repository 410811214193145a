// A local file opened for sending.
#pragma once
#include <cstdint>
#include <string>

namespace pelto::net {

class File {
public:
    // Opens for reading, shared with nobody (Windows: share mode 0, so a file another program
    // holds open fails too). A missing file or a folder fails as well: Exception with the
    // platform's own text.
    static File OpenForReading(const std::string& path);

    File(File&&) noexcept;
    File& operator=(File&&) noexcept;
    ~File();

    std::uint64_t Size() const { return size_; }
    // The platform's handle (POSIX descriptor, Windows HANDLE), for the socket layer.
    std::intptr_t Native() const { return native_; }

private:
    File(std::intptr_t native, std::uint64_t size) : native_(native), size_(size) {}
    std::intptr_t native_;
    std::uint64_t size_;
};

} // namespace pelto::net
