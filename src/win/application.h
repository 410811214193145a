// The application: the hidden owner of the program's windows that carries the task-bar button
// and the application icon, the message loop, and the standard error box.
#pragma once
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace pelto::win {

class Application {
public:
    explicit Application(HINSTANCE instance);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HINSTANCE Instance() const { return InstanceHandle; }
    HWND Handle() const { return Window; }
    // The executable's name without folder and extension, "Pelto" for Pelto.exe.
    const std::string& Title() const { return TitleText; }

    // Shows the main window (or only the minimised task-bar button) and dispatches messages
    // until the main window has gone.
    void Run(HWND mainWindow, int show);

    // The standard error box: stop icon, OK, captioned with the title; the exception's
    // message with a final period as ErrorBoxText gives it.
    void ShowException(const std::exception& e);
    // A message box owned by the application, modal to all the program's windows.
    int ModalMessage(const std::string& text, const std::string& caption, UINT flags);

    // Minimising any window minimises the application: its windows hide with it.
    void Minimize();
    void Restore();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    HINSTANCE InstanceHandle;
    HWND Window = nullptr;
    HWND MainWindow = nullptr;
    std::string TitleText;
    HICON Icon = nullptr;      // shared resource icons: not destroyed
    HICON SmallIcon = nullptr;
    std::vector<HWND> HiddenByMinimize;
};

// Disables every visible, enabled top-level window of the thread except `except` and the
// application window for its lifetime, as a modal box or window requires; then enables them
// again and gives the activation back.
class TaskWindowsDisabled {
public:
    TaskWindowsDisabled(const Application& app, HWND except);
    ~TaskWindowsDisabled();
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    std::vector<HWND> Disabled;
    HWND Active;
};

} // namespace pelto::win
