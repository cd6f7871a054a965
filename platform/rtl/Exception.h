#pragma once
// Base of every exception the program raises: a message text, as the user or
// the log will see it. Library folders derive their own classes from it
// (EExtGridError, EBadZipFile, ...).
#include <stdexcept>
#include <string>

namespace cb::rtl {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// An input/output failure: the message names the file and what failed.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// A text that is not a valid number, date or colour.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index or argument outside what a list holds.
class EListError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace cb::rtl
