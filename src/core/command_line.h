// Splitting the process command line into the files to queue.
#pragma once
#include <string>
#include <vector>

namespace pelto {

// Splits a command line as the program reads its arguments: outside double quotes every
// character from 1 to 32 separates; quoted text is literal wherever it stands and the quotes
// are dropped; an empty pair of quotes where an argument would begin yields nothing; there
// are no escape characters; an argument keeps at most 4096 bytes (a double-byte character
// is never cut). The first argument, the program's own path, is not returned.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

inline constexpr std::size_t MaxArgumentLength = 4096;

} // namespace pelto
