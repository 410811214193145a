#include "core/int_conv.h"

#include <gtest/gtest.h>

#include "core/errors.h"

namespace pelto {
namespace {

struct Accepted {
    const char* text;
    int value;
};

TEST(IntConv, AcceptsDecimalAndHexForms)
{
    const Accepted cases[] = {
        {"0", 0},          {"21", 21},         {"+5", 5},          {"-5", -5},        {"-0", 0},
        {"   7", 7},       {"007", 7},         {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},      {"$40", 64},        {"x40", 64},       {"X40", 64},
        {"0x40", 64},      {"0X40", 64},       {"$ff", 255},       {"  0x1A", 26},    {"$7FFFFFFF", 2147483647},
        {"$FFFFFFFF", -1}, {"$00000010", 16},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(IntConv, RejectsEverythingElse)
{
    const char* const cases[] = {
        "",          " ",           "abc",          "5 ",        "\t5",    "5\t",        "1.5",
        "+",         "-",           "+-5",          "- 5",       "2147483648", "-2147483649",
        "99999999999", "$",         "0x",           "$123456789", "-$5",   "+0x5",       "$g",
        "0x 5",      "5x",          "1e3",
    };
    for (const char* text : cases) EXPECT_FALSE(TryStrToInt(text).has_value()) << '"' << text << '"';
}

TEST(IntConv, ErrorNamesTheText)
{
    try {
        StrToInt("abc");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' は整数ではありません");
    }
    try {
        StrToInt("30 ");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'30 ' は整数ではありません");
    }
}

} // namespace
} // namespace pelto
