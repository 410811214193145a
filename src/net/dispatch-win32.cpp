#include "net/dispatch-win32.h"

namespace pelto::net {

void DispatchOne(MSG& msg)
{
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd) {
        const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (root && (GetWindowLongA(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageA(root, &msg))
            return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

} // namespace pelto::net
