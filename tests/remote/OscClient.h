#pragma once

#include <QHostAddress>
#include <QUdpSocket>
#include <cstdlib>
#include <lo/lo.h>
#include <lo/lo_serverthread.h>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace korvane::test {

// An OSC sender and receiver on loopback, as a button surface would be: it sends from its own
// port, where the server's answers and state messages come back.
class OscClient {
public:
    struct Received {
        std::string path;
        std::string value; // the one argument as text
    };

    OscClient() {
        thread_ = lo_server_thread_new(nullptr, nullptr);
        lo_server_thread_add_method(thread_, nullptr, nullptr, &OscClient::received, this);
        lo_server_thread_start(thread_);
    }
    ~OscClient() {
        lo_server_thread_stop(thread_);
        lo_server_thread_free(thread_);
        if (to_ != nullptr) {
            lo_address_free(to_);
        }
    }
    OscClient(const OscClient&) = delete;
    OscClient& operator=(const OscClient&) = delete;

    int port() const { return lo_server_thread_get_port(thread_); }
    void target(int port) {
        if (to_ != nullptr) {
            lo_address_free(to_);
        }
        to_ = lo_address_new("127.0.0.1", std::to_string(port).c_str());
    }
    // One message; `build` adds the arguments.
    template <class F> void send(const std::string& path, F&& build) {
        lo_message m = lo_message_new();
        build(m);
        lo_send_message_from(to_, lo_server_thread_get_server(thread_), path.c_str(), m);
        lo_message_free(m);
    }
    void sendInt(const std::string& path, int v) {
        send(path, [v](lo_message m) { lo_message_add_int32(m, v); });
    }
    void sendText(const std::string& path, const std::string& v) {
        send(path, [&v](lo_message m) { lo_message_add_string(m, v.c_str()); });
    }
    void sendNothing(const std::string& path) {
        send(path, [](lo_message) {});
    }

    std::vector<Received> received() const {
        const std::lock_guard lock(mutex_);
        return got_;
    }
    std::size_t count(const std::string& path) const {
        std::size_t n = 0;
        for (const auto& r : received()) {
            n += r.path == path ? 1 : 0;
        }
        return n;
    }
    // The last value that came for `path`, or "-" when none did.
    std::string last(const std::string& path) const {
        std::string v = "-";
        for (const auto& r : received()) {
            if (r.path == path) {
                v = r.value;
            }
        }
        return v;
    }
    void clear() {
        const std::lock_guard lock(mutex_);
        got_.clear();
    }

private:
    static int received(const char* path, const char* types, lo_arg** argv, int argc, lo_message,
                        void* self) {
        auto* c = static_cast<OscClient*>(self);
        std::string value;
        if (argc == 1 && types[0] == LO_INT32) {
            value = std::to_string(argv[0]->i);
        } else if (argc == 1 && types[0] == LO_STRING) {
            value = &argv[0]->s;
        }
        const std::lock_guard lock(c->mutex_);
        c->got_.push_back({path, value});
        return 0;
    }

    lo_server_thread thread_ = nullptr;
    lo_address to_ = nullptr;
    mutable std::mutex mutex_;
    std::vector<Received> got_;
};

// An OSC sender on a loopback address of the test's choosing (127.0.0.2 plays a sender on
// another computer), with a plain UDP socket: messages are built and read with liblo.
class ForeignOscSender {
public:
    bool bind(const char* address) {
        return socket_.bind(QHostAddress(QString::fromLatin1(address)), 0);
    }
    void target(int port) { port_ = static_cast<quint16>(port); }
    template <class F> void send(const std::string& path, F&& build) {
        lo_message m = lo_message_new();
        build(m);
        std::size_t size = 0;
        void* bytes = lo_message_serialise(m, path.c_str(), nullptr, &size);
        socket_.writeDatagram(static_cast<const char*>(bytes), static_cast<qint64>(size),
                              QHostAddress::LocalHost, port_);
        std::free(bytes);
        lo_message_free(m);
    }
    void sendText(const std::string& path, const std::string& v) {
        send(path, [&](lo_message m) { lo_message_add_string(m, v.c_str()); });
    }
    void sendInt(const std::string& path, int v) {
        send(path, [&](lo_message m) { lo_message_add_int32(m, v); });
    }
    // Every message that came back: path and its one text argument (empty for others).
    std::vector<std::pair<std::string, std::string>> received() {
        while (socket_.hasPendingDatagrams()) {
            QByteArray d(static_cast<qsizetype>(socket_.pendingDatagramSize()), '\0');
            socket_.readDatagram(d.data(), d.size());
            int result = 0;
            lo_message m =
                lo_message_deserialise(d.data(), static_cast<std::size_t>(d.size()), &result);
            if (m == nullptr) {
                got_.emplace_back("(not OSC)", std::string());
                continue;
            }
            const char* types = lo_message_get_types(m);
            std::string text;
            if (lo_message_get_argc(m) == 1 && types[0] == LO_STRING) {
                text = &lo_message_get_argv(m)[0]->s;
            }
            got_.emplace_back(lo_get_path(d.data(), d.size()), text);
            lo_message_free(m);
        }
        return got_;
    }

private:
    QUdpSocket socket_;
    quint16 port_ = 0;
    std::vector<std::pair<std::string, std::string>> got_;
};

} // namespace korvane::test
