// The text of the standard error box.
#pragma once
#include <string>

#include "path_parts.h"

namespace pelto {

// The message with a "." appended when its last character sorts after "." by its first
// byte (always so for a double-byte last character); an empty message stays empty.
std::string ErrorBoxText(const std::string& message, LeadByteTest isLead = IsCp932LeadByte);

} // namespace pelto
