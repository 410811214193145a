// Local files for print-job tests: a temporary folder that goes away with the test, and files
// queued under a Windows-like path so that the job's display name is the bare file name.
#pragma once
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace pelto::test {

class TempDir {
public:
    explicit TempDir(const char* prefix = "pelto-test")
    {
        std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The bytes of a test file of `size` bytes: every byte value, CR LF pairs and lone LFs too,
// so that any rewriting on the way shows.
inline std::string Content(std::uint64_t size, unsigned seed = 1)
{
    std::string s(size, '\0');
    for (std::uint64_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 7 + seed) % 256);
    for (std::uint64_t i = 10; i + 1 < size; i += 40) {
        s[i] = '\r';
        s[i + 1] = '\n';
        if (i + 20 < size) s[i + 20] = '\n';
    }
    return s;
}

// Writes `dir`/"spool\<name>" and returns that path. On POSIX the backslash is part of the
// file's own name; the job's path parts (Windows rules) make `name` its display name.
inline std::string MakeFile(const std::string& dir, const std::string& name, std::uint64_t size, unsigned seed = 1)
{
    const std::string path = dir + "/spool\\" + name;
    std::ofstream(path, std::ios::binary) << Content(size, seed);
    return path;
}

// A large file of zeros that takes no disk (a hole): for transfers that get cut.
inline std::string MakeSparseFile(const std::string& dir, const std::string& name, std::uint64_t size)
{
    const std::string path = dir + "/spool\\" + name;
    const int fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) throw std::runtime_error("sparse file");
    ::close(fd);
    return path;
}

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// FNV-1a, 64 bits.
inline std::uint64_t Hash(const char* data, std::size_t size, std::uint64_t h = 14695981039346656037ull)
{
    for (std::size_t i = 0; i < size; ++i) h = (h ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    return h;
}

} // namespace pelto::test
