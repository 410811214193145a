#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601 // Windows 7
#endif
#include <windows.h>

#include "core/errors.h"
#include "net/file.h"
#include "net/system_text.h"

namespace pelto::net {

namespace {

HANDLE AsHandle(std::intptr_t native) { return reinterpret_cast<HANDLE>(native); }

} // namespace

File File::OpenForReading(const std::string& path)
{
    // Share mode 0: no other program may hold the file open while it is sent.
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw Exception("ファイル " + path + " を開けません。" + SystemText(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size)) {
        const DWORD err = GetLastError();
        CloseHandle(h);
        throw Exception("ファイル " + path + " を開けません。" + SystemText(err));
    }
    return File(reinterpret_cast<std::intptr_t>(h), static_cast<std::uint64_t>(size.QuadPart));
}

File::File(File&& other) noexcept : native_(other.native_), size_(other.size_)
{
    other.native_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (AsHandle(native_) != INVALID_HANDLE_VALUE) CloseHandle(AsHandle(native_));
        native_ = other.native_;
        size_ = other.size_;
        other.native_ = reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE);
    }
    return *this;
}

File::~File()
{
    if (AsHandle(native_) != INVALID_HANDLE_VALUE) CloseHandle(AsHandle(native_));
}

} // namespace pelto::net
