// Failures end the driver with a message on stderr and a non-zero exit code.
#pragma once

#include <stdexcept>
#include <string>

namespace driver {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] inline void fail(const std::string& utf8_message) { throw Failure(utf8_message); }

} // namespace driver
