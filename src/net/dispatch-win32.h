// One window message, dispatched as every message loop of the program does it: the outer
// loop, modal windows, and the waits of a print job.
#pragma once
#include <windows.h>

namespace pelto::net {

// In a window marked WS_EX_CONTROLPARENT, Tab, the arrow keys and Enter move the focus and
// press buttons as in a dialog; everything else is translated and dispatched.
void DispatchOne(MSG& msg);

} // namespace pelto::net
