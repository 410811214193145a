#include "core/error_text.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

TEST(ErrorBoxText, AppendsPeriodAfterCharactersSortingAfterIt)
{
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"'abc' は整数ではありません", "'abc' は整数ではありません."}, // double-byte last char
        {"C:\\Pelto\\Pelto.ini に書き込めません", "C:\\Pelto\\Pelto.ini に書き込めません."},
        {"Not Connected", "Not Connected."},
        {"ｸﾘｱ", "ｸﾘｱ."},          // half-width katakana: single bytes above "."
        {"Done.", "Done."},       // "." itself does not sort after "."
        {"Is it?", "Is it?."},    // "?" (0x3F) does
        {"Failed!", "Failed!"},   // "!" (0x21) sorts before "."
        {"code 550-", "code 550-"}, // "-" (0x2D) too
        {"a)", "a)"},
        {"x 1", "x 1."},
        {"", ""},
        // 表 is 95 5C: the lead byte decides.
        {"表", "表."},
        {"a\\", "a\\."},
        // A last lead byte without its trail byte is a character of its own.
        {"ab\x81", "ab\x81."},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
}

TEST(ErrorBoxText, FindsTheLastCharacterWithTheLeadByteTest)
{
    // With a lead byte before it, "!" is a trail byte and the lead byte decides; with a
    // single-byte code page "!" is the last character and no period follows.
    auto singleByte = [](unsigned char) { return false; };
    EXPECT_EQ(ErrorBoxText("x\x82!"), "x\x82!.");           // double-byte: 0x82 decides
    EXPECT_EQ(ErrorBoxText("x\x82!", singleByte), "x\x82!"); // single-byte: "!" decides
}

} // namespace
} // namespace pelto
