#pragma once

#include <cstddef>
#include <exception>
#include <string>

namespace korvane {

// A failed serial port operation, carrying the system error code (errno).
class SerialError : public std::exception {
public:
    explicit SerialError(int errorCode);
    int errorCode() const { return errorCode_; }
    // Copies the system's text for the code into `buffer` (truncated, always terminated);
    // returns 0 and empties the buffer when there is no text.
    int getErrorMessage(char* buffer, std::size_t maxLength) const;
    const char* what() const noexcept override { return text_.c_str(); }

private:
    int errorCode_;
    std::string text_;
};

} // namespace korvane
