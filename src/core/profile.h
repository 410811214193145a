// The settings file as the program sees it: one value read or written per call.
#pragma once
#include <string>

namespace pelto {

class Profile {
public:
    virtual ~Profile() = default;
    // The value text with blanks and one pair of enclosing quotes dropped; fallback when missing.
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& fallback) = 0;
    // Throws EIniFileException "<full path> に書き込めません" when the value cannot be written.
    virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
};

// An integer through the integer conversion; an empty or rejected text gives the fallback.
int ReadInteger(Profile& profile, const std::string& section, const std::string& key, int fallback);
// Plain decimal text.
void WriteInteger(Profile& profile, const std::string& section, const std::string& key, int value);

} // namespace pelto
