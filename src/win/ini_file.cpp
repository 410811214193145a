#include "ini_file.h"

#include <windows.h>

#include <cstring>

#include "core/errors.h"

namespace pelto::win {

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback)
{
    // Zeroed first, length by strlen: a value cut in the middle of a double-byte character
    // may leave the returned count past the last byte written.
    char buffer[2048] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer, sizeof buffer, Path.c_str());
    return std::string(buffer, strnlen(buffer, sizeof buffer - 1));
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), Path.c_str()))
        throw EIniFileException(Path + " に書き込めません");
}

} // namespace pelto::win
