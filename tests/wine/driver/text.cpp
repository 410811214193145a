#include "text.h"

#include <windows.h>

#include <cstdio>

namespace driver {

std::string utf8_from_wide(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring wide_from_utf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, out.data(), n);
    return out;
}

std::string utf8_from_ansi(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), n);
    return utf8_from_wide(wide);
}

std::string json_string(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string json_array(const std::vector<std::string>& utf8_items) {
    std::string out = "[";
    for (size_t i = 0; i < utf8_items.size(); ++i) {
        if (i) out += ",";
        out += json_string(utf8_items[i]);
    }
    return out + "]";
}

} // namespace driver
