// A template file, whatever it holds, goes into the mirror and out to the processor the way
// loading a template does it: the file over the mirror, every parameter sent, everything read
// back. The processor is the simulator's model behind an in-memory line, so values no real file
// would hold also run through the command builders and the simulator's write handlers.

#include "FuzzSupport.h"
#include "core/commands/CommandFacade.h"
#include "core/commands/SendAll.h"
#include "core/commands/SynchroniseAll.h"
#include "core/link/ByteTransport.h"
#include "core/link/DeviceLink.h"
#include "core/store/TemplateFile.h"
#include "sim/SimModel.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>

namespace {

using namespace korvane;

class SimLine : public ByteTransport {
public:
    explicit SimLine(sim::SimModel& model) : model_(model) {}
    int open() override { return 1; }
    void close() override {}
    int isOpen() const override { return 1; }
    int writeAll(const std::uint8_t* bytes, std::size_t length) override {
        for (const auto& reply : model_.feed({bytes, length})) {
            incoming_.insert(incoming_.end(), reply.begin(), reply.end());
        }
        return static_cast<int>(length);
    }
    int readAll(std::uint8_t* buffer, std::size_t length) override {
        if (incoming_.size() < length) {
            incoming_.clear();
            return -1;
        }
        std::copy_n(incoming_.begin(), length, buffer);
        incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<std::ptrdiff_t>(length));
        return static_cast<int>(length);
    }
    int purgeInput() override {
        incoming_.clear();
        return 1;
    }

private:
    sim::SimModel& model_;
    std::deque<std::uint8_t> incoming_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    ParameterMirror mirror{};
    applyMirrorDefaults(mirror, 6);
    const ParameterMirror before = mirror;

    // A short file overwrites only the mirror bytes it holds; a long one only the mirror.
    const std::size_t applied = applyTemplate(file, mirror);
    const std::size_t held =
        size > templatefile::kHeaderSize ? size - templatefile::kHeaderSize : 0;
    FUZZ_CHECK(applied == std::min(held, sizeof mirror));
    const auto* m = reinterpret_cast<const std::uint8_t*>(&mirror);
    const auto* b = reinterpret_cast<const std::uint8_t*>(&before);
    FUZZ_CHECK(applied == 0 || std::memcmp(m, data + templatefile::kHeaderSize, applied) == 0);
    FUZZ_CHECK(std::memcmp(m + applied, b + applied, sizeof mirror - applied) == 0);

    sim::SimModel processor(
        [] { return std::chrono::sys_seconds{std::chrono::hours{24 * 20000}}; });
    DeviceLink link(std::make_unique<SimLine>(processor), nullptr, nullptr);
    link.setSleeper([](std::chrono::milliseconds) {});
    link.setSendSwitch(1);
    CommandFacade facade(link, mirror);
    const OperationContext ctx{link, mirror, facade, nullptr};
    // Each value goes out through its own operation, which stores it again unchanged; only the
    // audio port codes beside the four assignments are fixed ones, whatever the file held.
    ParameterMirror expected = mirror;
    SendAll send(ctx, SendAll::Mode::EveryParameter);
    FUZZ_CHECK(send.run() == 1);
    for (std::size_t i = 0; i < sizeof expected.audioPorts; i += 2) {
        expected.audioPorts[i] = mirror.audioPorts[i];
    }
    FUZZ_CHECK(std::memcmp(&mirror, &expected, sizeof mirror) == 0);
    FUZZ_CHECK(!processor.receivedFrames().empty());
    SynchroniseAll readBack(ctx, false);
    FUZZ_CHECK(readBack.run() == 1);
    return 0;
}
