// Text conversions for the driver's output: the program's texts are ANSI (code page 932) or
// wide, the tests read UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace driver {

std::string utf8_from_wide(std::wstring_view text);
std::wstring wide_from_utf8(std::string_view text);
std::string utf8_from_ansi(std::string_view text); // the ANSI code page of this process

// A JSON string literal (quotes included) for UTF-8 text.
std::string json_string(std::string_view utf8);
std::string json_array(const std::vector<std::string>& utf8_items);

} // namespace driver
