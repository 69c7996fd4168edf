#pragma once

#include "SimModel.h"

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace korvane::sim {

// Puts a SimModel behind a pseudo-terminal so that the program (or a test) talks to it as to a
// serial port. One thread serves the line; the model is shared with callers under a mutex.
class SimPtyServer {
public:
    // `link`, when given, becomes a symbolic link to the terminal device for as long as the
    // server runs (an existing symbolic link there is replaced).
    explicit SimPtyServer(SimModel model = SimModel{}, std::filesystem::path link = {});
    ~SimPtyServer();
    SimPtyServer(const SimPtyServer&) = delete;
    SimPtyServer& operator=(const SimPtyServer&) = delete;

    // Opens the terminal and starts serving. Throws std::system_error (or
    // std::filesystem::filesystem_error for the link) when that is impossible.
    void start();
    // Stops serving, closes the terminal and removes the link. Safe to call more than once.
    // The model keeps its state, so stop() then start() is a processor whose line was pulled
    // and plugged back in: the client sees a hang-up, then a new terminal behind the link.
    void stop();
    // stop() then start(): the line comes back (also after the hang-up fault has dropped it).
    void restart();

    // The terminal device a client opens (valid after start).
    std::string devicePath() const;
    const std::filesystem::path& linkPath() const { return link_; }
    // True once the hang-up fault has closed the line.
    bool hungUp() const { return hungUp_.load(); }

    // Runs `f` on the model while the server is kept away from it.
    template <class F> decltype(auto) withModel(F&& f) {
        std::lock_guard lock(mutex_);
        return std::forward<F>(f)(model_);
    }
    std::vector<frame::CommandFrame> receivedFrames() const;
    SimState state() const;
    void setFaults(const SimFaults& faults);

private:
    void serve();
    // Waits up to `timeoutMs` (-1: no limit) for `fd` (-1: none) to get `events`; true when a
    // stop was requested meanwhile (or waiting failed), so the caller should quit.
    bool stoppedWhileWaiting(int fd, short events, int timeoutMs);
    bool writeAll(const std::vector<std::uint8_t>& bytes);
    void hangUp();
    void closeLine();
    void placeLink();
    void removeLink();

    mutable std::mutex mutex_;
    SimModel model_;
    std::filesystem::path link_;
    std::string device_;
    int master_ = -1;
    int slave_ = -1;
    int stopFd_ = -1;
    std::thread thread_;
    std::atomic<bool> hungUp_{false};
};

} // namespace korvane::sim
