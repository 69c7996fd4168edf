#include "remote/RemoteHub.h"

#include "remote/RemoteSettings.h"
#include "remote/RemoteState.h"
#include "tools/ArgRule.h"

#include <algorithm>

namespace korvane::remote {

namespace {
// How often a waiting action looks whether the device became free.
constexpr int kPumpMs = 10;
constexpr char kBusy[] = "the processor is busy with another operation";
constexpr char kThrottled[] = "too many requests; slow down";
} // namespace

RemoteHub::RemoteHub(RemoteDevice& device, RemoteSettings& settings, QObject* parent)
    : QObject(parent), device_(device), settings_(settings) {
    pump_.setSingleShot(true);
    pump_.setInterval(kPumpMs);
    connect(&pump_, &QTimer::timeout, this, [this] { pump(); });
    connect(&device_, &RemoteDevice::changed, this, [this] { refresh(); });
    connect(&device_, &RemoteDevice::linkChanged, this, &RemoteHub::linkChanged);
    link_ = device_.linkStatus();
    refresh();
}

bool RemoteHub::admit(const QString& client) {
    Bucket& b = buckets_[client];
    if (b.since.isValid()) {
        const double seconds = static_cast<double>(b.since.restart()) / 1000.0;
        b.tokens = std::min<double>(kBurst, b.tokens + seconds * kPerSecond);
    } else {
        b.since.start();
    }
    if (b.tokens < 1.0) {
        return false;
    }
    b.tokens -= 1.0;
    return true;
}

void RemoteHub::submit(const QString& client, const RemoteAction& action, RemoteDevice::Done done) {
    if (!admit(client)) {
        RemoteReply r = RemoteReply::failure(RemoteStatus::Busy, kThrottled);
        r.retryAfter = kRetryAfterSeconds;
        done(r);
        return;
    }
    Pending p{client, action, std::move(done), {}};
    if (const auto refusal = linkRefusal()) {
        finished(p, *refusal);
        return;
    }
    p.waiting.start();
    queue_.push_back(std::move(p));
    pump();
}

void RemoteHub::schedulePump() {
    if (!pump_.isActive()) {
        pump_.start();
    }
}

void RemoteHub::pump() {
    // Actions that waited too long for someone else's operation give up, oldest first.
    while (!queue_.empty() && (running_ || device_.busy()) &&
           std::chrono::milliseconds(queue_.front().waiting.elapsed()) >= busyWait_) {
        Pending p = std::move(queue_.front());
        queue_.pop_front();
        RemoteReply r = RemoteReply::failure(RemoteStatus::Busy, kBusy);
        r.retryAfter = kRetryAfterSeconds;
        finished(p, r);
    }
    if (running_ || device_.busy()) {
        if (!queue_.empty() || refreshWanted_) {
            schedulePump();
        }
        return;
    }
    if (refreshWanted_) {
        refreshWanted_ = false;
        updateState();
    }
    if (queue_.empty()) {
        return;
    }
    auto p = std::make_shared<Pending>(std::move(queue_.front()));
    queue_.pop_front();
    // The link may have gone while the action waited.
    if (const auto refusal = linkRefusal()) {
        finished(*p, *refusal);
        schedulePump();
        return;
    }
    running_ = true;
    device_.run(p->action, [this, p](const RemoteReply& reply) {
        running_ = false;
        finished(*p, reply);
        if (device_.busy()) {
            refreshWanted_ = true;
        } else {
            updateState();
        }
        // The next action waits for the pump's pause, so that the operator's own input, which
        // the device runner holds back during an exchange, comes in before another remote one.
        schedulePump();
    });
}

void RemoteHub::finished(const Pending& p, const RemoteReply& reply) {
    const QString what = QString::fromStdString(p.action.describe());
    emit activity(
        reply.ok()
            ? QStringLiteral("%1: %2").arg(p.client, what)
            : QStringLiteral("%1: %2: %3").arg(p.client, what, QString::fromStdString(reply.error)),
        !reply.ok());
    p.done(reply);
}

void RemoteHub::refresh() {
    refreshWanted_ = true;
    pump();
}

std::optional<RemoteReply> RemoteHub::linkRefusal() const {
    std::string why = linkRefusalText(device_.linkStatus());
    if (why.empty()) {
        return std::nullopt;
    }
    return RemoteReply::failure(RemoteStatus::LinkLost, std::move(why));
}

void RemoteHub::linkChanged(const LinkStatus& status) {
    // Announced at once, whatever runs: clients learn of a loss while an operation fails.
    link_ = status;
    QJsonObject now = state_;
    addLinkState(now, status);
    const QJsonObject changes = changedEntries(state_, now);
    state_ = now;
    if (!changes.isEmpty()) {
        emit stateChanged(changes);
    }
}

void RemoteHub::updateState() {
    QJsonObject now = device_.state();
    addLinkState(now, link_);
    addTemplateNames(now, settings_.templateNames());
    const QJsonObject changes = changedEntries(state_, now);
    state_ = now;
    if (!changes.isEmpty()) {
        emit stateChanged(changes);
    }
}

RemoteReply RemoteHub::renameTemplate(int slot, const std::string& name) {
    if (slot < limits::kFirstSlot || slot > limits::kLastSlot) {
        return RemoteReply::failure(RemoteStatus::NotFound, "no template " + std::to_string(slot));
    }
    if (const std::string why = RemoteSettings::nameError(name); !why.empty()) {
        return RemoteReply::failure(RemoteStatus::BadRequest, why);
    }
    if (!settings_.writeTemplateName(slot, name)) {
        return RemoteReply::failure(RemoteStatus::BadRequest, "the name could not be stored");
    }
    const QString key = statekey::templateKey(slot);
    const QJsonValue value = QString::fromStdString(name);
    if (state_.value(key) != value) {
        state_.insert(key, value);
        emit stateChanged({{key, value}});
    }
    return {};
}

std::optional<int> RemoteHub::slotNamed(const std::string& name) const {
    if (const auto n = ctl::parseInteger(name)) {
        return static_cast<int>(std::clamp<long long>(*n, -1, limits::kLastSlot + 1));
    }
    return settings_.slotNamed(name);
}

bool RemoteHub::tokenMatches(const QByteArray& token) const {
    if (token.size() != token_.size() || token_.isEmpty()) {
        return false;
    }
    unsigned char diff = 0;
    for (qsizetype i = 0; i < token.size(); ++i) {
        diff |= static_cast<unsigned char>(token[i] ^ token_[i]);
    }
    return diff == 0;
}

} // namespace korvane::remote
