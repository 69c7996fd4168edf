#include "ui/app/SimModelTransport.h"

namespace korvane::ui {

int SimModelTransport::writeAll(const std::uint8_t* bytes, std::size_t length) {
    feed_(std::span(bytes, length));
    return static_cast<int>(length);
}

} // namespace korvane::ui
