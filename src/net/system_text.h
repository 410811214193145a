// The operating system's own message for an error code.
#pragma once
#include <string>

namespace pelto::net {

// The message text without its line end; "error N" when the system has none.
std::string SystemText(unsigned long code);

} // namespace pelto::net
