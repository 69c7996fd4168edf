#include "remote/CoreDevice.h"

#include "core/commands/SynchroniseAll.h"
#include "core/link/DeviceLink.h"
#include "remote/RemoteState.h"

#include <QMetaObject>
#include <memory>

namespace korvane::remote {

namespace {
constexpr char kSendFailed[] = "the processor could not be reached";
} // namespace

void CoreDevice::JobSink::report(MessageId id) {
    if (!first) {
        first = id;
    }
    if (next != nullptr) {
        next->report(id);
    }
}

CoreDevice::CoreDevice(const OperationContext& ctx, MessageSink* messages, QObject* parent)
    : RemoteDevice(parent), ctx_(ctx) {
    sink_.next = messages;
    ctx_.messages = &sink_;
    worker_ = std::thread([this] { serve(); });
    followLink(ctx_.link);
    wasLost_ = linkStatus().lost();
    connect(this, &RemoteDevice::linkChanged, this, [this](const LinkStatus& s) {
        // Back after a loss: the processor may have been switched off and on, so clients get
        // what it holds now. The mirror is not reset first.
        if (s.state == LinkState::Connected && wasLost_) {
            post([ctx = ctx_] { return SynchroniseAll(ctx, false).run(); },
                 [this](int) { emit changed(); });
        }
        wasLost_ = s.lost();
    });
}

CoreDevice::~CoreDevice() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void CoreDevice::post(std::function<int()> work, std::function<void(int)> done) {
    ++pending_;
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back({std::move(work), std::move(done)});
    }
    wake_.notify_one();
}

void CoreDevice::serve() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (stopping_) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        int result = 0;
        try {
            result = job.work();
        } catch (...) {
            result = 0;
        }
        QMetaObject::invokeMethod(
            this,
            [this, result, done = std::move(job.done)] {
                --pending_;
                if (done) {
                    done(result);
                }
            },
            Qt::QueuedConnection);
    }
}

void CoreDevice::run(const RemoteAction& action, Done done) {
    // The job's first message travels with it: the next job may start before `done` runs.
    auto message = std::make_shared<std::optional<MessageId>>();
    post(
        [this, action, message]() -> int {
            sink_.first.reset();
            if (!linkRefusalText(ctx_.link.linkStatus()).empty()) {
                return -1;
            }
            const int result = runOnCore(ctx_, action);
            *message = sink_.first;
            return result;
        },
        [this, message, done = std::move(done)](int result) {
            const std::string refusal = linkRefusalText(linkStatus());
            if (result == 1) {
                done({});
            } else if (!refusal.empty()) {
                done(RemoteReply::failure(RemoteStatus::LinkLost, refusal));
            } else {
                done(RemoteReply::failure(RemoteStatus::LinkLost,
                                          *message ? std::string(messageText(**message))
                                                   : std::string(kSendFailed)));
            }
        });
}

QJsonObject CoreDevice::state() const {
    return mirrorState(ctx_.mirror, ctx_.link);
}

} // namespace korvane::remote
