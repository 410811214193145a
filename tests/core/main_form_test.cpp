#include "core/main_form.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "fake_main_view.h"
#include "memory_profile.h"

namespace pelto {
namespace {

using test::FakeMainView;
using test::MemoryProfile;
using Names = std::vector<std::string>;

Names QueuedPaths(const MainForm& form)
{
    Names paths;
    for (std::size_t i = 0; i < form.FileList.Count(); ++i) paths.push_back(form.FileList.Path(i));
    return paths;
}

// Both lists stay in step: display name i belongs to path i.
void ExpectInStep(const MainForm& form, const FakeMainView& view)
{
    ASSERT_EQ(form.FileList.Count(), view.Items.size());
    for (std::size_t i = 0; i < view.Items.size(); ++i) EXPECT_EQ(form.FileList.Name(i), view.Items[i]);
}

TEST(FileQueue, CommandLineQueuesEveryArgumentInOrder)
{
    FakeMainView view;
    view.Items = {"stale"};
    MainForm form(view);
    form.FormCreate("\"Z:\\opt\\Pelto.exe\" C:\\a.txt \"C:\\my docs\\b c.pdf\" rel\\表.txt C:\\a.txt");
    EXPECT_EQ(QueuedPaths(form), (Names{"C:\\a.txt", "C:\\my docs\\b c.pdf", "rel\\表.txt", "C:\\a.txt"}));
    EXPECT_EQ(view.Items, (Names{"a.txt", "b c.pdf", "表.txt", "a.txt"}));
}

TEST(FileQueue, DropAddsEveryPathAndClearsTheStatus)
{
    FakeMainView view;
    MainForm form(view);
    const Names dropped = {"C:\\in\\one.txt", "C:\\in\\two.pdf"};
    form.WMDropFiles(dropped);
    form.WMDropFiles(dropped);
    EXPECT_EQ(view.Items, (Names{"one.txt", "two.pdf", "one.txt", "two.pdf"}));
    EXPECT_EQ(view.Statuses, (Names{"", ""}));
    ExpectInStep(form, view);

    // A path longer than 255 bytes is kept whole.
    const std::string longPath = "C:\\" + std::string(300, 'd') + "\\long.txt";
    form.WMDropFiles({longPath});
    EXPECT_EQ(form.FileList.Path(4), longPath);
    EXPECT_EQ(view.Items.back(), "long.txt");
}

struct RemoveCase {
    std::set<int> selected;
    Names remaining;
    std::set<int> selectedAfter;
};

TEST(FileQueue, RemoveSelectedKeepsTheRestInOrder)
{
    const RemoveCase cases[] = {
        {{1, 3}, {"0", "2", "4"}, {}},
        {{}, {"0", "1", "2", "3", "4"}, {}},
        {{0, 1, 2, 3, 4}, {}, {}},
        {{4}, {"0", "1", "2", "3"}, {}},
    };
    for (const auto& c : cases) {
        FakeMainView view;
        MainForm form(view);
        for (const char* n : {"0", "1", "2", "3", "4"}) form.AddFile(std::string("C:\\q\\") + n);
        view.Selected = c.selected;
        form.DeletePopClick();
        EXPECT_EQ(view.Items, c.remaining);
        Names paths;
        for (const auto& n : c.remaining) paths.push_back("C:\\q\\" + n);
        EXPECT_EQ(QueuedPaths(form), paths);
        EXPECT_TRUE(view.Statuses.empty());
    }
}

TEST(FileQueue, ClearEmptiesBothListsAndTheStatus)
{
    FakeMainView view;
    MainForm form(view);
    form.ClearBitBtnClick(); // an empty queue stays empty
    form.AddFile("C:\\a.txt");
    form.AddFile("C:\\b.txt");
    form.ClearBitBtnClick();
    EXPECT_EQ(form.FileList.Count(), 0u);
    EXPECT_TRUE(view.Items.empty());
    EXPECT_EQ(view.Statuses, (Names{"", ""}));
}

TEST(MainFormLife, FirstShowLoadsOnceAndCloseSaves)
{
    MemoryProfile profile;
    profile.Values["Mode.Mode"] = "2";
    profile.Values["A1Printer.A1ButtonName"] = "事務所";
    profile.Values["A3Printer.A3TimeOut"] = "30";
    FakeMainView view;
    MainForm form(view);
    form.FormShow(profile);
    EXPECT_FALSE(form.TextMode);
    EXPECT_EQ(view.Captions[0], "事務所");
    EXPECT_EQ(form.Printer[1].TimeOut, "30");

    // A second show (a restore) reads nothing: values changed meanwhile stay.
    form.TextMode = true;
    const std::size_t reads = profile.Log.size();
    form.FormShow(profile);
    EXPECT_EQ(profile.Log.size(), reads);
    EXPECT_TRUE(form.TextMode);

    form.TextMode = false;
    view.Window = {0, 0, 640, 480};
    form.FormClose(profile);
    EXPECT_EQ(profile.Values["Mode.Mode"], "0"); // anything but 1 is written back as 0
    EXPECT_EQ(profile.Values["Window.Width"], "640");
    EXPECT_EQ(profile.Values["A1Printer.A1ButtonName"], "事務所");
    EXPECT_EQ(profile.Values["A3Printer.A3TimeOut"], "30");
    EXPECT_EQ(profile.Values["A1Printer.A1TimeOut"], "5");
    EXPECT_TRUE(form.Closed);
}

TEST(MainFormLife, CloseBeforeFirstShowKeepsTheFile)
{
    MemoryProfile profile;
    profile.Values["A1Printer.A1User"] = "kept";
    FakeMainView view;
    MainForm form(view);
    form.FormClose(profile);
    EXPECT_TRUE(profile.Log.empty());
    EXPECT_EQ(profile.Values["A1Printer.A1User"], "kept");
}

TEST(MainFormLife, FailedSaveStillCloses)
{
    MemoryProfile profile;
    FakeMainView view;
    MainForm form(view);
    form.FormShow(profile);
    profile.WritesLeft = 0;
    EXPECT_THROW(form.FormClose(profile), EIniFileException);
    EXPECT_TRUE(form.Closed);
    form.SetStatus("after close");
    EXPECT_TRUE(view.Statuses.empty());
}

} // namespace
} // namespace pelto
