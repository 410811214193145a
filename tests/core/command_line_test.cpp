#include "core/command_line.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using Args = std::vector<std::string>;

struct SplitCase {
    std::string line;
    Args args;
};

TEST(CommandLine, SplitsByTheProgramsRules)
{
    const SplitCase cases[] = {
        {"Pelto.exe", {}},
        {"  Pelto.exe   a.txt  b.txt ", {"a.txt", "b.txt"}},
        {"\"C:\\Program Files\\Pelto.exe\" C:\\a.txt", {"C:\\a.txt"}},
        // every code from 1 to 32 separates
        {"p a\tb\x01" "c\nd\re\x1f" "f", {"a", "b", "c", "d", "e", "f"}},
        // quoted text is literal wherever it stands; the quotes themselves are dropped
        {"p \"C:\\my docs\\a.txt\" b", {"C:\\my docs\\a.txt", "b"}},
        {"p C:\\\"my docs\"\\a.txt", {"C:\\my docs\\a.txt"}},
        {"p abc\" \"", {"abc "}},
        {"p \" \"", {" "}},
        {"p a\"b\"c\"d e\"", {"abcd e"}},
        {"p \"unclosed quote", {"unclosed quote"}},
        // an empty pair of quotes where an argument would begin yields nothing
        {"p \"\" a", {"a"}},
        {"p \"\"a", {"a"}},
        {"p \"\" \"\"", {}},
        {"p \"\"\"\"", {}},
        {"p a\"\"", {"a"}},
        // no escape characters: backslashes stay, a quote after one still ends the quoting
        {"p \"C:\\my dir\\\\\" x", {"C:\\my dir\\\\", "x"}},
        {"p a\\\"b c\"", {"a\\b c"}},
        // 表 (95 5C) just before the closing quote, and unquoted
        {"p \"C:\\my dir\\表\" 表.txt", {"C:\\my dir\\表", "表.txt"}},
        {"p ｸﾘｱ.txt", {"ｸﾘｱ.txt"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLine, ArgumentKeepsAtMost4096Bytes)
{
    const std::string longArg(5000, 'a');
    EXPECT_EQ(SplitCommandLine("p " + longArg + " next"), (Args{std::string(4096, 'a'), "next"}));

    // A double-byte character that would straddle the limit is left out whole.
    const std::string straddling = std::string(4095, 'a') + "表";
    EXPECT_EQ(SplitCommandLine("p \"" + straddling + "\""), (Args{std::string(4095, 'a')}));
    const std::string fitting = std::string(4094, 'a') + "表";
    EXPECT_EQ(SplitCommandLine("p " + fitting), (Args{fitting}));
}

} // namespace
} // namespace pelto
