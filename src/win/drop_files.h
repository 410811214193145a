// The paths of a shell drop.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace pelto::win {

// Every dropped path in order, each whole however long; releases the drop handle.
std::vector<std::string> TakeDroppedFiles(HDROP drop);

} // namespace pelto::win
