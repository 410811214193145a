#include "profile.h"

#include "int_conv.h"

namespace pelto {

int ReadInteger(Profile& profile, const std::string& section, const std::string& key, int fallback)
{
    return TryStrToInt(profile.ReadString(section, key, "")).value_or(fallback);
}

void WriteInteger(Profile& profile, const std::string& section, const std::string& key, int value)
{
    profile.WriteString(section, key, std::to_string(value));
}

} // namespace pelto
