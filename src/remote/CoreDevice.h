#pragma once

#include "core/base/Messages.h"
#include "core/commands/DeviceOperation.h"
#include "remote/RemoteDevice.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace korvane::remote {

// The device runner of the headless server: one worker thread runs device work, one job at a
// time and in the order given, for remote actions and schedule ticks alike. When the link comes
// back after a loss it reads the processor's whole state again.
class CoreDevice : public RemoteDevice {
    Q_OBJECT
public:
    // `messages` (may be null) also gets every message the operations report.
    CoreDevice(const OperationContext& ctx, MessageSink* messages, QObject* parent = nullptr);
    ~CoreDevice() override;

    bool busy() const override { return pending_ > 0; }
    void run(const RemoteAction& action, Done done) override;
    QJsonObject state() const override;

    // Runs `work` on the worker after the jobs before it; `done` gets its result on this
    // object's thread.
    void post(std::function<int()> work, std::function<void(int)> done);

private:
    struct Job {
        std::function<int()> work;
        std::function<void(int)> done;
    };
    // Records the first message of a job, for the client, and passes every one on.
    struct JobSink : MessageSink {
        MessageSink* next = nullptr;
        std::optional<MessageId> first;
        void report(MessageId id) override;
    };
    void serve();

    JobSink sink_;
    OperationContext ctx_;
    int pending_ = 0;
    bool wasLost_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    std::thread worker_;
};

} // namespace korvane::remote
