#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <mutex>
#include <span>
#include <string>

namespace korvane {

// The readable record of every frame that went over the line, for service technicians.
// Logging never decides an exchange: the file is opened with the first entry, and the first
// error switches the log off for the rest of the run and is reported once.
class CommLog {
public:
    enum class Direction { Receive = 0, Send = 1 };
    // Told once, on the thread that logged, when the log switched itself off; `why` is the
    // system's error text.
    using FailureHandler = std::function<void(const std::string& why)>;

    // A file larger than this when the log opens starts afresh.
    static constexpr std::uintmax_t kMaxSizeAtOpen = 0x100000;
    static constexpr const char* kFileName = "korvaneapp.log";

    // A log at `path` (empty: logging off). Nothing is created or opened before the first
    // entry. A file held by another instance leaves logging off without a report.
    explicit CommLog(std::filesystem::path path);
    ~CommLog();
    CommLog(const CommLog&) = delete;
    CommLog& operator=(const CommLog&) = delete;

    // The process-wide log in the program directory, made on first use.
    static CommLog& instance();
    // Whether instance() logs at all; set before its first use.
    static void setLoggingSwitch(bool on);
    static bool loggingSwitch();

    // Points the log at another file (empty: off), as if newly made: the current file is
    // closed, nothing is opened before the next entry, and an earlier failure is forgotten.
    void relocate(std::filesystem::path path);
    // The file the log writes to, or empty when it is off.
    std::filesystem::path path() const;
    void setFailureHandler(FailureHandler handler);
    // The path instance() would use now (empty while the logging switch is off).
    static std::filesystem::path defaultPath();
    bool isOpen() const;
    // Whether an error switched the log off.
    bool failed() const;
    // Appends one entry and hands it to the system at once, so that it survives a crash of
    // the program. Never throws.
    void append(Direction direction, std::span<const std::uint8_t> bytes) noexcept;

    // The entry text for a frame logged at `when` (local time).
    static std::string formatEntry(Direction direction, std::span<const std::uint8_t> bytes,
                                   const std::tm& when);

private:
    enum class State { NotOpened, Open, Off, Failed };
    bool openFile();
    void fail(int error);

    std::filesystem::path path_;
    mutable std::mutex mutex_;
    State state_ = State::NotOpened;
    int fd_ = -1;
    FailureHandler onFailure_;
};

} // namespace korvane
