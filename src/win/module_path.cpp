#include "module_path.h"

#include <windows.h>

#include "core/path_parts.h"

namespace pelto::win {

namespace {
bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }
} // namespace

std::string ModuleFileName()
{
    // A path may exceed MAX_PATH; a full buffer means the name was cut.
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return buffer.substr(0, n);
        buffer.resize(buffer.size() * 2);
    }
}

std::string SettingsFilePath()
{
    return ExtractFilePath(ModuleFileName(), IsLeadByte) + "Pelto.ini";
}

std::string HelpFilePath()
{
    return ExtractFilePath(ModuleFileName(), IsLeadByte) + "PeltoHelp.html";
}

} // namespace pelto::win
