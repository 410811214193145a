// Sending a print job: SendClick, its failure branches, Cancel, and the two
// events of the FTP client.
#include <climits>
#include <thread>

#include "clock.h"
#include "errors.h"
#include "int_conv.h"
#include "main_form.h"

namespace pelto {

namespace {

// The 2-millisecond pauses of NMFTP1Connect and NMFTP1Disconnect.
void Pause() { std::this_thread::sleep_for(Milliseconds(2)); }

// The timeout text in seconds as milliseconds. A value whose milliseconds do not fit a
// 32-bit int (or a negative one) is refused, like a text that is no integer, before
// anything is sent: it must never wrap around into some other limit.
int TimeOutMilliseconds(const std::string& text)
{
    const int seconds = StrToInt(text);
    if (seconds < 0 || seconds > INT_MAX / 1000)
        throw EConvertError("タイムアウト '" + text + "' は 0 から " + std::to_string(INT_MAX / 1000) +
                            " 秒の間で指定して下さい");
    return seconds * 1000;
}

} // namespace

void MainForm::SendClick(int printer)
{
    // One job at a time: a printer button pressed inside a job's wait starts nothing.
    if (Sending || Closed) return;
    struct SendingScope {
        bool& flag;
        explicit SendingScope(bool& f) : flag(f) { flag = true; }
        ~SendingScope() { flag = false; }
    } sending(Sending);

    SetStatus("");
    if (FileList.Count() == 0) {
        SetStatus("印刷するファイルを指定下さい");
        return;
    }
    const PrinterSettings settings = Printer[printer == 0 ? 0 : 1];
    NMFTP1.Host = settings.IPAddress;
    NMFTP1.UserID = settings.User;
    NMFTP1.Password = settings.Password;
    NMFTP1.TimeOut = TimeOutMilliseconds(settings.TimeOut); // conversion errors leave the click
    NMFTP1.Port = StrToInt(settings.Port);
    NMFTP1.Quitting = [this] { return Closed; };

    try {
        // A connection kept from a cancelled or failed job serves only the same login.
        if (NMFTP1.Connected() && !NMFTP1.IsConnectedTo(NMFTP1.Host, NMFTP1.Port, NMFTP1.UserID)) NMFTP1.Close();
        const bool reused = NMFTP1.Connected() && NMFTP1.CheckKept();
        if (!NMFTP1.Connected()) NMFTP1.Connect();
        try {
            NMFTP1.Mode(TextMode ? 1 : 2);
        } catch (const EAbortError&) {
            throw;
        } catch (const ESockError&) {
            // The printer closed the kept connection just as we spoke: log in afresh once.
            if (!reused || NMFTP1.Connected()) throw;
            NMFTP1.Connect();
            NMFTP1.Mode(TextMode ? 1 : 2);
        }
        // The queue may change inside a wait: its length is read again before every file,
        // and the path and name are copied before the upload.
        for (std::size_t i = 0; i < FileList.Count(); ++i) {
            const std::string path = FileList.Path(i);
            const std::string name = FileList.Name(i);
            SetStatus(name + " を送信中");
            NMFTP1.Upload(path, name);
        }
        NMFTP1.Disconnect();
        SetStatus("送信完了しました");
    } catch (const EAbortError&) {
        if (Closed) return; // the window is gone: nothing more to show
        SetStatus("送信を中止しました");
    } catch (const ESockError&) {
        if (Closed) return;
        SetStatus("ﾌﾟﾘﾝﾀに接続できません");
        if (++ConnectErrorCount >= 4)
            View.ShowMessage("一度このプログラムを終了しﾌﾟﾘﾝﾀの電源やアドレスなどを確認して下さい",
                             "Pelto[ﾌﾟﾘﾝﾀに接続できません]");
    } catch (...) {
        if (Closed) return;
        SetStatus("接続エラーです。ﾕｰｻﾞ名ﾊﾟｽﾜｰﾄﾞを確認下さい");
        try {
            NMFTP1.Disconnect(); // any other failure here is the standard error box's
        } catch (const EAbortError&) {
            // Abort has no effect on QUIT: this is the window closing (WM_QUIT) meanwhile.
        }
    }
}

void MainForm::CancelBitBtnClick()
{
    if (NMFTP1.Connected()) NMFTP1.Abort();
}

void MainForm::NMFTP1Connect()
{
    SetStatus("ﾌﾟﾘﾝﾀに接続しました");
    Pause();
}

void MainForm::NMFTP1Disconnect()
{
    Pause();
    SetStatus("接続を切断しました");
}

} // namespace pelto
