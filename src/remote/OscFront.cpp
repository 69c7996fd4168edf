#include "remote/OscFront.h"

#include "remote/RemoteHub.h"

#include <QHostAddress>
#include <QJsonValue>
#include <QMetaObject>
#include <cmath>
#include <limits>
#include <lo/lo.h>
#include <lo/lo_serverthread.h>

namespace korvane::remote {

namespace {
using Kind = RemoteAction::Kind;
using Argument = OscFront::Argument;

constexpr char kPrefix[] = "/korvane/";
constexpr char kStatePrefix[] = "/korvane/state/";
constexpr char kErrorPath[] = "/korvane/error";
constexpr char kAuthPath[] = "/korvane/auth";
constexpr char kSubscribePath[] = "/korvane/subscribe";

lo_server_thread loThread(void* p) {
    return static_cast<lo_server_thread>(p);
}

int received(const char* path, const char* types, lo_arg** argv, int argc, lo_message msg,
             void* self) {
    OscFront::Incoming in;
    in.path = path;
    for (int i = 0; i < argc; ++i) {
        switch (types[i]) {
        case LO_INT32:
            in.args.emplace_back(static_cast<long long>(argv[i]->i));
            break;
        case LO_INT64:
            in.args.emplace_back(static_cast<long long>(argv[i]->h));
            break;
        case LO_FLOAT:
            in.args.emplace_back(static_cast<double>(argv[i]->f));
            break;
        case LO_DOUBLE:
            in.args.emplace_back(argv[i]->d);
            break;
        case LO_STRING:
        case LO_SYMBOL:
            in.args.emplace_back(std::string(&argv[i]->s));
            break;
        default:
            // Neither a whole number nor text: refused as a wrong type.
            in.args.emplace_back(std::numeric_limits<double>::quiet_NaN());
            break;
        }
    }
    lo_address from = lo_message_get_source(msg);
    in.host = lo_address_get_hostname(from);
    in.port = lo_address_get_port(from);
    auto* front = static_cast<OscFront*>(self);
    QMetaObject::invokeMethod(
        front, [front, in = std::move(in)] { front->handle(in); }, Qt::QueuedConnection);
    return 0;
}

// The one argument as a whole number: an integer, or a float without a fraction (many surfaces
// send only floats).
std::optional<long long> wholeArgument(const OscFront::Incoming& in) {
    if (in.args.size() != 1) {
        return std::nullopt;
    }
    if (const auto* i = std::get_if<long long>(&in.args[0])) {
        return *i;
    }
    if (const auto* d = std::get_if<double>(&in.args[0]);
        d != nullptr && std::floor(*d) == *d && std::fabs(*d) < 1e9) {
        return static_cast<long long>(*d);
    }
    return std::nullopt;
}

const std::string* textArgument(const OscFront::Incoming& in) {
    return in.args.size() == 1 ? std::get_if<std::string>(&in.args[0]) : nullptr;
}

Checked refused(std::string text) {
    return {std::nullopt, std::move(text)};
}

Checked needsNumber(const std::string& path) {
    return refused(path + " takes one integer");
}

bool isLoopback(const std::string& host) {
    return QHostAddress(QString::fromStdString(host)).isLoopback();
}
} // namespace

OscFront::OscFront(RemoteHub& hub, QObject* parent)
    : QObject(parent), hub_(hub), isLocal_(isLoopback) {
    connect(&hub_, &RemoteHub::stateChanged, this, &OscFront::broadcast);
}

OscFront::~OscFront() {
    stop();
}

int OscFront::start(int port, bool loopbackOnly) {
    stop();
    loopbackOnly_ = loopbackOnly;
    const std::string service = std::to_string(port);
    // A busy port must fail here, not print and carry on.
    lo_server_thread st = lo_server_thread_new(port == 0 ? nullptr : service.c_str(),
                                               [](int, const char*, const char*) {});
    if (st == nullptr) {
        return 0;
    }
    lo_server_thread_add_method(st, nullptr, nullptr, received, this);
    if (lo_server_thread_start(st) != 0) {
        lo_server_thread_free(st);
        return 0;
    }
    thread_ = st;
    port_ = lo_server_thread_get_port(st);
    return port_;
}

void OscFront::stop() {
    if (thread_ != nullptr) {
        lo_server_thread_stop(loThread(thread_));
        lo_server_thread_free(loThread(thread_));
        thread_ = nullptr;
        port_ = 0;
    }
    subscribers_.clear();
    authorised_.clear();
}

bool OscFront::allowed(const Incoming& in) {
    if (isLocal_(in.host)) {
        return true;
    }
    if (loopbackOnly_) {
        return false; // not listening beyond this computer: not even an error goes back
    }
    const QString host = QString::fromStdString(in.host);
    if (in.path == kAuthPath) {
        const std::string* token = textArgument(in);
        if (token != nullptr && hub_.tokenMatches(QByteArray::fromStdString(*token))) {
            authorised_.insert(host, QDeadlineTimer(kAuthorisationLapse));
        } else {
            sendError(in.host, in.port, "wrong token");
        }
        return false;
    }
    const auto it = authorised_.constFind(host);
    if (it == authorised_.constEnd() || it->hasExpired()) {
        authorised_.remove(host);
        sendError(in.host, in.port, "send /korvane/auth with the token first");
        return false;
    }
    return true;
}

void OscFront::handle(const Incoming& in) {
    if (thread_ == nullptr || !allowed(in) || in.path == kAuthPath) {
        return;
    }
    const std::string& p = in.path;
    const auto number = wholeArgument(in);
    const std::string* text = textArgument(in);
    auto numbered = [&](Checked (*make)(long long)) {
        return number ? make(*number) : needsNumber(p);
    };
    Checked c;
    if (p == kSubscribePath) {
        subscribe(in);
        return;
    } else if (p == "/korvane/template/recall" || p == "/korvane/template/store") {
        const Kind kind = p.ends_with("recall") ? Kind::Recall : Kind::Store;
        if (number) {
            c = slotAction(kind, *number);
        } else if (text != nullptr && kind == Kind::Recall) {
            const auto slot = hub_.slotNamed(*text);
            c = slot ? slotAction(kind, *slot) : refused("no template named '" + *text + "'");
        } else {
            c = needsNumber(p);
        }
    } else if (p == "/korvane/input/1" || p == "/korvane/input/2") {
        const int picture = p.back() - '0';
        c = number ? inputAction(picture, *number)
            : text ? inputAction(picture, *text)
                   : refused(p + " takes an input code or name");
    } else if (p == "/korvane/freeze") {
        c = number ? flagAction(Kind::Freeze, *number) : needsNumber(p);
    } else if (p == "/korvane/freeze/area") {
        c = number ? flagAction(Kind::FreezeArea, *number) : needsNumber(p);
    } else if (p == "/korvane/brightness" || p == "/korvane/contrast") {
        c = number ? qualityAction(p.substr(sizeof kPrefix - 1), *number, std::nullopt)
                   : needsNumber(p);
    } else if (p == "/korvane/brightness/step") {
        c = number ? qualityAction("Brightness", std::nullopt, *number) : needsNumber(p);
    } else if (p == "/korvane/volume") {
        c = numbered(volumeAction);
    } else if (p == "/korvane/mute") {
        c = number ? flagAction(Kind::Mute, *number) : needsNumber(p);
    } else if (p == "/korvane/testpattern") {
        c = numbered(testPatternAction);
    } else if (p == "/korvane/pip") {
        c = number ? flagAction(Kind::Pip, *number) : needsNumber(p);
    } else if (p == "/korvane/sync") {
        c = in.args.empty() ? Checked{RemoteAction{}, {}} : refused(p + " takes no arguments");
    } else {
        c = refused("unknown address " + p);
    }
    runAction(in, c);
}

void OscFront::runAction(const Incoming& in, const Checked& checked) {
    if (!checked.action) {
        sendError(in.host, in.port, checked.error);
        return;
    }
    const std::string host = in.host;
    const std::string port = in.port;
    hub_.submit(QString::fromStdString(host + ":" + port), *checked.action,
                [this, host, port](const RemoteReply& reply) {
                    if (!reply.ok()) {
                        sendError(host, port, reply.error);
                    }
                });
}

void OscFront::subscribe(const Incoming& in) {
    std::string port = in.port;
    if (!in.args.empty()) {
        const auto n = wholeArgument(in);
        if (!n || *n < 1 || *n > 65535) {
            sendError(in.host, in.port, "/korvane/subscribe takes a port 1..65535 or nothing");
            return;
        }
        port = std::to_string(*n);
    }
    subscribers_.insert(QString::fromStdString(in.host + ":" + port),
                        QDeadlineTimer(kSubscriptionLapse));
    sendState(in.host, port, hub_.state());
}

void OscFront::sendError(const std::string& host, const std::string& port,
                         const std::string& text) {
    if (thread_ == nullptr) {
        return;
    }
    lo_address to = lo_address_new(host.c_str(), port.c_str());
    lo_send_from(to, lo_server_thread_get_server(loThread(thread_)), LO_TT_IMMEDIATE, kErrorPath,
                 "s", text.c_str());
    lo_address_free(to);
}

void OscFront::sendState(const std::string& host, const std::string& port,
                         const QJsonObject& state) {
    if (thread_ == nullptr) {
        return;
    }
    lo_address to = lo_address_new(host.c_str(), port.c_str());
    lo_server server = lo_server_thread_get_server(loThread(thread_));
    for (auto it = state.begin(); it != state.end(); ++it) {
        const std::string path = kStatePrefix + it.key().toStdString();
        lo_message m = lo_message_new();
        if (it.value().isDouble()) {
            lo_message_add_int32(m, static_cast<std::int32_t>(it.value().toInteger()));
        } else {
            lo_message_add_string(m, it.value().toString().toStdString().c_str());
        }
        lo_send_message_from(to, server, path.c_str(), m);
        lo_message_free(m);
    }
    lo_address_free(to);
}

void OscFront::broadcast(const QJsonObject& changes) {
    for (auto it = subscribers_.begin(); it != subscribers_.end();) {
        if (it->hasExpired()) {
            it = subscribers_.erase(it);
            continue;
        }
        const QString& who = it.key();
        const auto colon = who.lastIndexOf(QLatin1Char(':'));
        sendState(who.left(colon).toStdString(), who.mid(colon + 1).toStdString(), changes);
        ++it;
    }
}

} // namespace korvane::remote
