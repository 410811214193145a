#include "about.h"

#include "control_ids.h"
#include "about_layout.h"

namespace pelto::win {

void TAboutBox::Create(Application& app)
{
    CreateForm(app, app.Handle(), AboutDescription(), WindowProc);
    SetFocusTarget(ids::OKButton);
}

LRESULT TAboutBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        // "OK" and Enter end the box; there is no cancel button, so Escape does nothing.
        if (LOWORD(wParam) == ids::OKButton || LOWORD(wParam) == IDOK) CloseWith(mrOk);
        return 0;
    case WM_SHOWWINDOW:
        // Centred on the screen the first time; later where it was left.
        if (wParam && !Placed) {
            Placed = true;
            Rect r = Bounds();
            r.Left = (GetSystemMetrics(SM_CXSCREEN) - r.Width) / 2;
            r.Top = (GetSystemMetrics(SM_CYSCREEN) - r.Height) / 2;
            SetBounds(r);
        }
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

} // namespace pelto::win
