// Start-up: the application, the main window (which queues the command-line files), the
// hidden settings window and About box, then the message loop.
#include <windows.h>
#include <commctrl.h>

#include "about.h"
#include "application.h"
#include "pelto_main.h"
#include "setting.h"

namespace pelto::win {

// The program's three windows, alive until the process ends.
TPelto_Form Pelto_Form;
TSettingForm SettingForm;
TAboutBox AboutBox;

} // namespace pelto::win

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    using namespace pelto::win;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        Application app(instance);
        try {
            Pelto_Form.Create(app);
            SettingForm.Create(app);
            AboutBox.Create(app);
            app.Run(Pelto_Form.Handle(), show);
        } catch (const std::exception& e) {
            app.ShowException(e);
        }
    } catch (const std::exception& e) {
        // Without the application window there is no owner for the box.
        MessageBoxA(nullptr, e.what(), "Pelto", MB_ICONSTOP | MB_OK);
    }
    return 0;
}
