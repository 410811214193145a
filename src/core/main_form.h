// The main window's state and the work of its commands, apart from any window system.
#pragma once
#include <string>
#include <vector>

#include "file_queue.h"
#include "ftp_client.h"
#include "main_view.h"
#include "settings.h"

namespace pelto {

class MainForm {
public:
    explicit MainForm(MainView& view);

    // Queues every argument of the command line (the program's own path excluded).
    void FormCreate(const std::string& commandLine);
    // First show only: loads the settings file.
    void FormShow(Profile& profile);
    // Every close: saves the settings file, unless it was never loaded. Afterwards the
    // window is gone: a job still running stops without touching it.
    void FormClose(Profile& profile);

    void AddFile(const std::string& path);
    void WMDropFiles(const std::vector<std::string>& paths);
    void DeletePopClick();
    void ClearBitBtnClick();

    // A print job on printer 0 (A1BitBtn) or 1 (A3BitBtn).
    void SendClick(int printer);
    void CancelBitBtnClick();

    void SetStatus(const std::string& text);

    FileQueue FileList;
    PrinterSettings Printer[2];
    bool TextMode = false;
    int ConnectErrorCount = 0;
    bool Shown = false;
    bool Sending = false;  // a job is running
    bool Closed = false;   // the window has closed
    TNMFTP NMFTP1;

private:
    void NMFTP1Connect();
    void NMFTP1Disconnect();
    MainSettings CurrentSettings() const;

    MainView& View;
};

} // namespace pelto
