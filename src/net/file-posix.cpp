#include "net/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "core/errors.h"

namespace pelto::net {

File File::OpenForReading(const std::string& path)
{
    auto fail = [&](int err) -> File {
        throw Exception("ファイル " + path + " を開けません。" + std::system_category().message(err));
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return fail(err);
    }
    return File(fd, static_cast<std::uint64_t>(st.st_size));
}

File::File(File&& other) noexcept : native_(other.native_), size_(other.size_) { other.native_ = -1; }

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (native_ >= 0) ::close(static_cast<int>(native_));
        native_ = other.native_;
        size_ = other.size_;
        other.native_ = -1;
    }
    return *this;
}

File::~File()
{
    if (native_ >= 0) ::close(static_cast<int>(native_));
}

} // namespace pelto::net
