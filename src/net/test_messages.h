// POSIX builds have no window messages. Tests stand in for them: a closure posted here (from
// any thread) is run by the next wait on the waiting thread, as Windows dispatches a window
// message inside a wait; a posted quit makes every wait fail as WM_QUIT does, until the
// "outer loop" takes it. Implemented in socket-posix.cpp only.
#pragma once
#include <functional>

namespace pelto::net::test {

void PostTestMessage(std::function<void()> message);
void PostTestQuit();
// True if a quit was posted; it is taken away.
bool TakeTestQuit();

} // namespace pelto::net::test
