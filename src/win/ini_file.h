// The settings file through the Windows profile functions.
#pragma once
#include <string>

#include "core/profile.h"

namespace pelto::win {

// Every read and write is one call to the profile functions on the file's full path;
// creating or releasing the object does not touch the file.
class IniFile : public Profile {
public:
    explicit IniFile(std::string fullPath) : Path(std::move(fullPath)) {}

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;

private:
    std::string Path;
};

} // namespace pelto::win
