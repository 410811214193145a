#include "path_parts.h"

namespace pelto {

bool IsCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

namespace {

// Index just past the last delimiter, or 0 when there is none.
std::size_t NameStart(const std::string& path, LeadByteTest isLead)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (isLead(c) && i + 1 < path.size())
            ++i; // the trail byte may be 0x5C, which is no delimiter
        else if (c == '\\' || c == ':')
            start = i + 1;
    }
    return start;
}

} // namespace

std::string ExtractFilePath(const std::string& path, LeadByteTest isLead)
{
    return path.substr(0, NameStart(path, isLead));
}

std::string ExtractFileName(const std::string& path, LeadByteTest isLead)
{
    return path.substr(NameStart(path, isLead));
}

std::string ApplicationTitle(const std::string& exePath, LeadByteTest isLead)
{
    std::string name = ExtractFileName(exePath, isLead);
    name = name.substr(0, name.find('.'));
    const bool firstIsDouble = !name.empty() && isLead(static_cast<unsigned char>(name[0]));
    for (std::size_t i = firstIsDouble ? 2 : 1; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (isLead(c))
            ++i; // trail bytes 0x41-0x5A are not letters
        else if (c >= 'A' && c <= 'Z')
            name[i] = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

} // namespace pelto
