#include "support/MemoryTransport.h"

#include <algorithm>

namespace korvane::test {

void MemoryLine::queueReply(std::span<const std::uint8_t> bytes) {
    incoming.insert(incoming.end(), bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> MemoryLine::written() const {
    std::vector<std::uint8_t> all;
    for (const auto& w : writes) {
        all.insert(all.end(), w.begin(), w.end());
    }
    return all;
}

std::vector<frame::CommandFrame> MemoryLine::frames() const {
    std::vector<frame::CommandFrame> out;
    for (const auto& w : writes) {
        frame::CommandFrame f{};
        std::copy_n(w.begin(), std::min(w.size(), f.size()), f.begin());
        out.push_back(f);
    }
    return out;
}

int MemoryTransport::open() {
    ++line_->opens;
    line_->open = true;
    return 1;
}

void MemoryTransport::close() {
    line_->open = false;
}

int MemoryTransport::isOpen() const {
    return line_->open ? 1 : 0;
}

int MemoryTransport::writeAll(const std::uint8_t* bytes, std::size_t length) {
    if (!line_->open || line_->failWrites || line_->writes.size() >= line_->writesBeforeFailure) {
        return -1;
    }
    line_->writes.emplace_back(bytes, bytes + length);
    return static_cast<int>(length);
}

int MemoryTransport::readAll(std::uint8_t* buffer, std::size_t length) {
    ++line_->readCalls;
    auto& in = line_->incoming;
    if (!line_->open || in.size() < length) {
        in.clear();
        return -1;
    }
    std::copy_n(in.begin(), length, buffer);
    in.erase(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(length));
    return static_cast<int>(length);
}

int MemoryTransport::purgeInput() {
    ++line_->purges;
    return line_->open ? 1 : 0;
}

} // namespace korvane::test
