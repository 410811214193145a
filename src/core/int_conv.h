// Integer conversion of settings texts (timeouts, ports, window positions).
#pragma once
#include <optional>
#include <string>

namespace pelto {

// Leading blanks (code 32 only), then an optional sign and decimal digits, or a hexadecimal
// number of at most eight digits after "$", "x", "X", "0x" or "0X". Nothing may follow.
// Returns nothing for any other text.
std::optional<int> TryStrToInt(const std::string& text);

// As TryStrToInt; throws EConvertError "'text' は整数ではありません" for a rejected text.
int StrToInt(const std::string& text);

} // namespace pelto
