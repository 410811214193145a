// A settings file in memory that records every call in order, for tests of the file's use.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/profile.h"

namespace pelto::test {

class MemoryProfile : public Profile {
public:
    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) override
    {
        Log.push_back("read " + section + "." + key);
        auto it = Values.find(section + "." + key);
        return it == Values.end() ? fallback : it->second;
    }
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override
    {
        if (WritesLeft == 0) throw EIniFileException("C:\\ro\\Pelto.ini に書き込めません");
        if (WritesLeft > 0) --WritesLeft;
        Log.push_back("write " + section + "." + key + "=" + value);
        Values[section + "." + key] = value;
    }

    std::map<std::string, std::string> Values; // "Section.Key" -> value
    std::vector<std::string> Log;
    int WritesLeft = -1; // writes that succeed before the next one fails; -1: all succeed
};

} // namespace pelto::test
