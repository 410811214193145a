#include "core/path_parts.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

struct PathCase {
    const char* path;
    const char* dir;
    const char* name;
};

TEST(PathParts, SplitsAtLastBackslashOrColon)
{
    const PathCase cases[] = {
        {"C:\\docs\\a.txt", "C:\\docs\\", "a.txt"},
        {"C:a.txt", "C:", "a.txt"},
        {"a.txt", "", "a.txt"},
        {"C:\\docs\\", "C:\\docs\\", ""},
        {"\\\\server\\share\\b c.pdf", "\\\\server\\share\\", "b c.pdf"},
        {"dir/sub/a.txt", "", "dir/sub/a.txt"},           // a forward slash is no delimiter
        {"C:\\x/y.txt", "C:\\", "x/y.txt"},
        {"", "", ""},
        // 表 is 95 5C: its trail byte is not a delimiter, in the folder or in the name.
        {"C:\\表\\表.txt", "C:\\表\\", "表.txt"},
        {"C:\\dir\\表", "C:\\dir\\", "表"},
        {"表", "", "表"},
        {"C:\\ｸﾘｱ\\ﾌﾟﾘﾝﾀ.doc", "C:\\ｸﾘｱ\\", "ﾌﾟﾘﾝﾀ.doc"}, // half-width katakana are single bytes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
    }
}

TEST(PathParts, LeadByteTestIsPassedIn)
{
    // Without a double-byte code page the 5C of 表 is an ordinary backslash.
    auto singleByte = [](unsigned char) { return false; };
    EXPECT_EQ(ExtractFileName("C:\\dir\\表.txt", singleByte), ".txt");
}

TEST(PathParts, ApplicationTitle)
{
    const PathCase cases[] = {
        {"C:\\Program Files\\Pelto\\Pelto.exe", nullptr, "Pelto"},
        {"Z:\\tmp\\PELTO.EXE", nullptr, "Pelto"},
        {"C:\\x\\my.Tool.exe", nullptr, "my"},
        {"C:\\x\\pelto", nullptr, "pelto"},
        // 帰 is 8B 41: its trail byte "A" must not be lowered; ASCII after it still is.
        {"C:\\x\\帰AB.exe", nullptr, "帰ab"},
    };
    for (const auto& c : cases) EXPECT_EQ(ApplicationTitle(c.path), c.name) << c.path;
}

} // namespace
} // namespace pelto
