// The program's exception classes. Messages are Shift-JIS bytes, shown as they are.
#pragma once
#include <stdexcept>
#include <string>

namespace pelto {

// Root of every failure the program reports itself.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// A text that is not an integer ("'%s' は整数ではありません").
class EConvertError : public Exception {
    using Exception::Exception;
};

// The settings file could not be written ("%s に書き込めません").
class EIniFileException : public Exception {
    using Exception::Exception;
};

// Name lookup, connection, time-out and other socket failures.
class ESockError : public Exception {
    using Exception::Exception;
};

// A transfer stopped by Abort. Derives from ESockError, so catch it first.
class EAbortError : public ESockError {
    using ESockError::ESockError;
};

// A refusal by the FTP server; carries the server's reply.
class FTPException : public Exception {
    using Exception::Exception;
};

} // namespace pelto
