// Clocks and durations for the program's waits.
#pragma once
// In C++20, libstdc++ 12's <chrono> holds a "µs" literal that has no Shift-JIS form, so it
// cannot be compiled with our execution character set; <thread> brings the same clocks and
// durations without it.
#include <thread>

namespace pelto {
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;
} // namespace pelto
