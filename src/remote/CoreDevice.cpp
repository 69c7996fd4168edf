#include "remote/CoreDevice.h"

#include "core/link/DeviceLink.h"
#include "remote/RemoteState.h"

#include <QMetaObject>
#include <memory>

namespace korvane::remote {

namespace {
constexpr char kLinkClosed[] = "the link to the processor is closed";
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
            if (ctx_.link.isOpen() == 0) {
                return -1;
            }
            const int result = runOnCore(ctx_, action);
            *message = sink_.first;
            return result;
        },
        [message, done = std::move(done)](int result) {
            if (result == 1) {
                done({});
            } else if (result < 0) {
                done(RemoteReply::failure(RemoteStatus::LinkLost, kLinkClosed));
            } else {
                done(RemoteReply::failure(RemoteStatus::LinkLost,
                                          *message ? std::string(messageText(**message))
                                                   : std::string(kSendFailed)));
            }
        });
}

QJsonObject CoreDevice::state() const {
    QJsonObject s = mirrorState(ctx_.mirror, ctx_.link);
    const QJsonObject link = linkState(ctx_.link.isOpen() != 0);
    for (auto it = link.begin(); it != link.end(); ++it) {
        s.insert(it.key(), it.value());
    }
    return s;
}

} // namespace korvane::remote
