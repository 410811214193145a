// Every step waits for the state it needs, polling until a deadline: Wine gives another
// process no event for "a window appeared" or "a text changed".
// (No <chrono> here: its "µs" literal has no Shift-JIS form and the sources are compiled for
// code page 932.)
#pragma once

#include <windows.h>

#include <string>

#include "failure.h"

namespace driver {

// Milliseconds a step may wait; PELTO_DRIVER_TIMEOUT (seconds) overrides the default of 10.
unsigned step_timeout_ms();

// Calls probe until it returns something true-ish and returns that; fails with "timed out
// waiting for <what>" at the deadline.
template <class Probe>
auto wait_until(const std::string& what, Probe probe) {
    const ULONGLONG deadline = GetTickCount64() + step_timeout_ms();
    for (;;) {
        if (auto result = probe()) return result;
        if (GetTickCount64() >= deadline) fail("timed out waiting for " + what);
        Sleep(20);
    }
}

} // namespace driver
