#include "command_line.h"

#include "path_parts.h"

namespace pelto {

namespace {

bool IsSeparator(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

// Reads one argument starting at pos; returns false when the line has no more.
bool NextArgument(const std::string& line, std::size_t& pos, std::string& arg)
{
    const std::size_t n = line.size();
    for (;;) {
        while (pos < n && line[pos] != '\0' && IsSeparator(line[pos])) ++pos;
        if (pos + 1 < n && line[pos] == '"' && line[pos + 1] == '"')
            pos += 2;
        else
            break;
    }
    if (pos >= n || line[pos] == '\0') return false;

    arg.clear();
    // Copies one character, both bytes of a double-byte one, while the limit allows.
    auto take = [&] {
        const bool doubleByte = IsCp932LeadByte(static_cast<unsigned char>(line[pos])) && pos + 1 < n &&
                                line[pos + 1] != '\0';
        const std::size_t width = doubleByte ? 2 : 1;
        if (arg.size() + width <= MaxArgumentLength) arg.append(line, pos, width);
        pos += width;
    };
    while (pos < n && line[pos] != '\0' && !IsSeparator(line[pos])) {
        if (line[pos] != '"') {
            take();
            continue;
        }
        ++pos;
        while (pos < n && line[pos] != '\0' && line[pos] != '"') take();
        if (pos < n && line[pos] == '"') ++pos;
    }
    return true;
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> args;
    std::size_t pos = 0;
    std::string arg;
    if (!NextArgument(commandLine, pos, arg)) return args; // the program's own path
    while (NextArgument(commandLine, pos, arg)) args.push_back(arg);
    return args;
}

} // namespace pelto
