#include "error_text.h"

namespace pelto {

std::string ErrorBoxText(const std::string& message, LeadByteTest isLead)
{
    // The last character starts where a scan from the front says so: a trail byte is
    // never taken for a character of its own.
    std::size_t last = message.size();
    for (std::size_t i = 0; i < message.size(); ++i) {
        last = i;
        if (isLead(static_cast<unsigned char>(message[i])) && i + 1 < message.size()) ++i;
    }
    std::string shown = message;
    if (last < message.size() && static_cast<unsigned char>(message[last]) > '.') shown += '.';
    return shown;
}

} // namespace pelto
