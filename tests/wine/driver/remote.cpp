#include "remote.h"

#include "failure.h"

namespace driver {

Process::Process(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    handle_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                              PROCESS_QUERY_INFORMATION,
                          FALSE, pid);
    if (!handle_) fail("OpenProcess failed: error " + std::to_string(GetLastError()));
}

Process::~Process() { CloseHandle(handle_); }

RemoteMemory::RemoteMemory(const Process& process, size_t size) : process_(process.get()) {
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) fail("VirtualAllocEx failed: error " + std::to_string(GetLastError()));
}

RemoteMemory::~RemoteMemory() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

void RemoteMemory::write(const void* data, size_t size) const {
    SIZE_T written = 0;
    if (!WriteProcessMemory(process_, address_, data, size, &written) || written != size)
        fail("WriteProcessMemory failed: error " + std::to_string(GetLastError()));
}

std::string RemoteMemory::read(size_t size) const {
    std::string data(size, '\0');
    SIZE_T got = 0;
    if (!ReadProcessMemory(process_, address_, data.data(), size, &got) || got != size)
        fail("ReadProcessMemory failed: error " + std::to_string(GetLastError()));
    return data;
}

} // namespace driver
