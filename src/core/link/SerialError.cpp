#include "core/link/SerialError.h"

#include <algorithm>
#include <cstring>

namespace korvane {

SerialError::SerialError(int errorCode) : errorCode_(errorCode), text_(std::strerror(errorCode)) {}

int SerialError::getErrorMessage(char* buffer, std::size_t maxLength) const {
    if (buffer == nullptr || maxLength == 0) {
        return 0;
    }
    if (text_.empty()) {
        buffer[0] = '\0';
        return 0;
    }
    const std::size_t n = std::min(text_.size(), maxLength - 1);
    std::memcpy(buffer, text_.data(), n);
    buffer[n] = '\0';
    return 1;
}

} // namespace korvane
