// The target process and memory inside it: messages of the WM_USER range and WM_DROPFILES
// carry pointers that Wine passes on unchanged, so their buffers must live in the target.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace driver {

class Process {
public:
    explicit Process(HWND window); // the process that owns the window
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

class RemoteMemory {
public:
    RemoteMemory(const Process& process, size_t size);
    // Leaves the block where it is: the target owns it from now on (a drop's DragFinish).
    void release() { address_ = nullptr; }
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* address() const { return address_; }
    void write(const void* data, size_t size) const;
    std::string read(size_t size) const;

private:
    HANDLE process_;
    void* address_ = nullptr;
};

} // namespace driver
