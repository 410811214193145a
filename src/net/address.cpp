// Platform-independent parts of the socket layer.
#include "net/socket.h"

namespace pelto::net {

std::string Ipv4::Text() const
{
    return std::to_string(Bytes[0]) + "." + std::to_string(Bytes[1]) + "." + std::to_string(Bytes[2]) + "." +
           std::to_string(Bytes[3]);
}

std::optional<Ipv4> ParseDottedIpv4(const std::string& text)
{
    Ipv4 ip;
    std::size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (i >= text.size() || text[i] != '.') return std::nullopt;
            ++i;
        }
        int value = 0, digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            value = value * 10 + (text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return std::nullopt;
        ip.Bytes[static_cast<std::size_t>(part)] = static_cast<std::uint8_t>(value);
    }
    if (i != text.size()) return std::nullopt;
    return ip;
}

Deadline DeadlineAfter(int milliseconds)
{
    if (milliseconds <= 0) return std::nullopt;
    return Clock::now() + Milliseconds(milliseconds);
}

} // namespace pelto::net
