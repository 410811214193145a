#include "main_form.h"

#include "command_line.h"

namespace pelto {

MainForm::MainForm(MainView& view) : View(view)
{
    NMFTP1.OnConnect = [this] { NMFTP1Connect(); };
    NMFTP1.OnDisconnect = [this] { NMFTP1Disconnect(); };
}

void MainForm::SetStatus(const std::string& text)
{
    if (!Closed) View.SetStatus(text);
}

void MainForm::FormCreate(const std::string& commandLine)
{
    View.ClearItems();
    for (const std::string& path : SplitCommandLine(commandLine)) AddFile(path);
}

void MainForm::FormShow(Profile& profile)
{
    if (Shown) return;
    Shown = true;
    const MainSettings s = LoadMainSettings(profile, View);
    TextMode = s.TextMode;
    Printer[0] = s.Printer[0];
    Printer[1] = s.Printer[1];
}

MainSettings MainForm::CurrentSettings() const
{
    MainSettings s;
    s.Window = View.Bounds();
    s.TextMode = TextMode;
    for (int p = 0; p < 2; ++p) {
        s.ButtonName[p] = View.ButtonCaption(p);
        s.Printer[p] = Printer[p];
    }
    return s;
}

void MainForm::FormClose(Profile& profile)
{
    // Before the first show nothing was loaded: saving would overwrite the file with blanks.
    // The window goes whether or not the save succeeds, so that the user can always quit.
    struct MarkClosed {
        bool& closed;
        ~MarkClosed() { closed = true; }
    } mark{Closed};
    if (Shown) SaveMainSettings(profile, CurrentSettings());
}

void MainForm::AddFile(const std::string& path)
{
    FileList.Add(path);
    View.AddItem(FileList.Name(FileList.Count() - 1));
}

void MainForm::WMDropFiles(const std::vector<std::string>& paths)
{
    SetStatus("");
    for (const std::string& path : paths) AddFile(path);
}

void MainForm::DeletePopClick()
{
    for (int i = View.FirstSelected(); i >= 0; i = View.FirstSelected()) {
        View.DeleteItem(i);
        FileList.RemoveAt(static_cast<std::size_t>(i));
    }
}

void MainForm::ClearBitBtnClick()
{
    FileList.Clear();
    View.ClearItems();
    SetStatus("");
}

} // namespace pelto
