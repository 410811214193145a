#include "core/settings.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "fake_main_view.h"
#include "memory_profile.h"

namespace pelto {
namespace {

using test::FakeMainView;
using test::MemoryProfile;

const std::vector<std::string> MainKeys = {
    "Window.Top",           "Window.Left",        "Window.Width",          "Window.Height",
    "Mode.Mode",            "A1Printer.A1ButtonName", "A1Printer.A1IPAddress", "A1Printer.A1User",
    "A1Printer.A1Password", "A1Printer.A1TimeOut", "A1Printer.A1Port",      "A3Printer.A3ButtonName",
    "A3Printer.A3IPAddress", "A3Printer.A3User",   "A3Printer.A3Password",  "A3Printer.A3TimeOut",
    "A3Printer.A3Port",
};

TEST(Settings, MissingFileGivesDefaultsInFileOrder)
{
    MemoryProfile profile;
    FakeMainView view;
    const MainSettings s = LoadMainSettings(profile, view);

    std::vector<std::string> expectedLog;
    for (const auto& key : MainKeys) expectedLog.push_back("read " + key);
    EXPECT_EQ(profile.Log, expectedLog);

    EXPECT_EQ(s.Window, (Rect{219, 118, 250, 259}));
    EXPECT_TRUE(s.TextMode);
    EXPECT_EQ(view.Captions[0], "Button1");
    EXPECT_EQ(view.Captions[1], "Button2");
    for (const PrinterSettings& p : s.Printer)
        EXPECT_EQ(p, (PrinterSettings{"IP Address", "User Name", "", "5", "21"}));
}

struct StoredCase {
    const char* key;
    const char* stored;
    Rect window;
    bool textMode;
};

TEST(Settings, StoredValuesTakeEffect)
{
    const StoredCase cases[] = {
        {"Window.Top", "0x40", {219, 64, 250, 259}, true},
        {"Window.Top", "abc", {219, 118, 250, 259}, true},
        {"Window.Top", "", {219, 118, 250, 259}, true},
        {"Window.Left", "-2000", {-2000, 118, 250, 259}, true},
        {"Window.Width", "$200", {219, 118, 512, 259}, true},
        {"Window.Height", "300 ", {219, 118, 250, 259}, true}, // a trailing blank is rejected
        {"Mode.Mode", "1", {219, 118, 250, 259}, true},
        {"Mode.Mode", "0x1", {219, 118, 250, 259}, true},
        {"Mode.Mode", "0", {219, 118, 250, 259}, false},
        {"Mode.Mode", "2", {219, 118, 250, 259}, false},
        {"Mode.Mode", "-1", {219, 118, 250, 259}, false},
        {"Mode.Mode", "text", {219, 118, 250, 259}, true}, // rejected: the default 1
    };
    for (const auto& c : cases) {
        MemoryProfile profile;
        profile.Values[c.key] = c.stored;
        FakeMainView view;
        const MainSettings s = LoadMainSettings(profile, view);
        EXPECT_EQ(s.Window, c.window) << c.key << "=" << c.stored;
        EXPECT_EQ(view.Window, c.window) << c.key << "=" << c.stored;
        EXPECT_EQ(s.TextMode, c.textMode) << c.key << "=" << c.stored;
    }
}

TEST(Settings, WindowIsMovedAsEachKeyIsRead)
{
    MemoryProfile profile;
    profile.Values["Window.Top"] = "10";
    profile.Values["Window.Height"] = "400";
    FakeMainView view;
    LoadMainSettings(profile, view);
    const std::vector<Rect> expected = {
        {219, 10, 250, 259}, {219, 10, 250, 259}, {219, 10, 250, 259}, {219, 10, 250, 400}};
    EXPECT_EQ(view.BoundsHistory, expected);
}

MainSettings Sample()
{
    MainSettings s;
    s.Window = {-5, 40, 300, 280};
    s.TextMode = false;
    s.ButtonName[0] = "事務所 A3";
    s.ButtonName[1] = "ｶﾗｰ";
    s.Printer[0] = {"192.168.0.10", "print", "pa ss", "5", "21"};
    s.Printer[1] = {"printer2.local", "user2", "", "30", "0x15"};
    return s;
}

TEST(Settings, SaveWritesEveryKeyInOrder)
{
    MemoryProfile profile;
    SaveMainSettings(profile, Sample());
    const std::vector<std::string> expected = {
        "write Window.Top=40",
        "write Window.Left=-5",
        "write Window.Width=300",
        "write Window.Height=280",
        "write Mode.Mode=0",
        "write A1Printer.A1ButtonName=事務所 A3",
        "write A1Printer.A1IPAddress=192.168.0.10",
        "write A1Printer.A1User=print",
        "write A1Printer.A1Password=pa ss",
        "write A1Printer.A1TimeOut=5",
        "write A1Printer.A1Port=21",
        "write A3Printer.A3ButtonName=ｶﾗｰ",
        "write A3Printer.A3IPAddress=printer2.local",
        "write A3Printer.A3User=user2",
        "write A3Printer.A3Password=",
        "write A3Printer.A3TimeOut=30",
        "write A3Printer.A3Port=0x15",
    };
    EXPECT_EQ(profile.Log, expected);
}

TEST(Settings, SaveThenLoadGivesTheSameValues)
{
    MemoryProfile profile;
    const MainSettings saved = Sample();
    SaveMainSettings(profile, saved);
    FakeMainView view;
    const MainSettings loaded = LoadMainSettings(profile, view);
    EXPECT_EQ(loaded.Window, saved.Window);
    EXPECT_EQ(loaded.TextMode, saved.TextMode);
    EXPECT_EQ(view.Captions[0], saved.ButtonName[0]);
    EXPECT_EQ(view.Captions[1], saved.ButtonName[1]);
    EXPECT_EQ(loaded.Printer[0], saved.Printer[0]);
    EXPECT_EQ(loaded.Printer[1], saved.Printer[1]);
    EXPECT_EQ(profile.Values["A3Printer.A3TimeOut"], "30");
    EXPECT_EQ(profile.Values["A1Printer.A1TimeOut"], "5");
}

TEST(Settings, FailedWriteStopsTheSave)
{
    MemoryProfile profile;
    profile.WritesLeft = 5;
    try {
        SaveMainSettings(profile, Sample());
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), "C:\\ro\\Pelto.ini に書き込めません");
    }
    EXPECT_EQ(profile.Log.size(), 5u);
    EXPECT_EQ(profile.Values.count("A1Printer.A1ButtonName"), 0u);
}

TEST(Settings, SettingWindowPlace)
{
    MemoryProfile profile;
    EXPECT_EQ(LoadSettingWindow(profile, {256, 157, 311, 406}), (Rect{256, 157, 311, 406}));
    SaveSettingWindow(profile, {10, 20, 330, 420});
    EXPECT_EQ(profile.Values["SettingWindow.Left"], "10");
    EXPECT_EQ(profile.Values["SettingWindow.Top"], "20");
    profile.Values["SettingWindow.Width"] = "x";
    EXPECT_EQ(LoadSettingWindow(profile, {256, 157, 311, 406}), (Rect{10, 20, 311, 420}));
    EXPECT_EQ(profile.Log.back(), "read SettingWindow.Height");
}

} // namespace
} // namespace pelto
