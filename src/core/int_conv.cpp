#include "int_conv.h"

#include <cstdint>

#include "errors.h"

namespace pelto {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<int> TryStrToInt(const std::string& text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    if (i == n) return std::nullopt;

    // Hexadecimal: no sign, 1 to 8 digits; eight digits fill all 32 bits ("$FFFFFFFF" is -1).
    std::size_t hexStart = 0;
    if (text[i] == '$' || text[i] == 'x' || text[i] == 'X')
        hexStart = i + 1;
    else if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0)
        hexStart = i + 2;
    if (hexStart != 0) {
        const std::size_t digits = n - hexStart;
        if (digits == 0 || digits > 8) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t k = hexStart; k < n; ++k) {
            const int d = HexValue(text[k]);
            if (d < 0) return std::nullopt;
            value = value << 4 | static_cast<std::uint32_t>(d);
        }
        return static_cast<int>(value);
    }

    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    if (i == n) return std::nullopt;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<int>(value);
}

int StrToInt(const std::string& text)
{
    if (auto value = TryStrToInt(text)) return *value;
    throw EConvertError("'" + text + "' は整数ではありません");
}

} // namespace pelto
