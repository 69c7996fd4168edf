#include "ui/app/SimModelTransport.h"

#include "sim/SimPtyServer.h"

#include <span>

namespace korvane::ui {

int SimModelTransport::writeAll(const std::uint8_t* bytes, std::size_t length) {
    server_.withModel([&](sim::SimModel& model) { model.feed(std::span(bytes, length)); });
    return static_cast<int>(length);
}

} // namespace korvane::ui
