#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>

namespace korvane {

// The readable record of every frame that went over the line, for service technicians.
class CommLog {
public:
    enum class Direction { Receive = 0, Send = 1 };

    // A file larger than this when the log opens starts afresh.
    static constexpr std::uintmax_t kMaxSizeAtOpen = 0x100000;
    static constexpr const char* kFileName = "korvaneapp.log";

    // Opens (or creates) `path` for appending unless logging is switched off. A file that
    // cannot be opened, or is held by another instance, leaves logging off for this object.
    explicit CommLog(const std::filesystem::path& path);
    ~CommLog();
    CommLog(const CommLog&) = delete;
    CommLog& operator=(const CommLog&) = delete;

    // The process-wide log in the program directory, created on first use.
    static CommLog& instance();
    // Whether instance() opens its file; set before the first logged frame.
    static void setLoggingSwitch(bool on);
    static bool loggingSwitch();

    bool isOpen() const { return fd_ >= 0; }
    // Appends one entry and hands it to the system at once, so that it survives a crash of
    // the program. Throws std::system_error when the write fails.
    void append(Direction direction, std::span<const std::uint8_t> bytes);

    // The entry text for a frame logged at `when` (local time).
    static std::string formatEntry(Direction direction, std::span<const std::uint8_t> bytes,
                                   const std::tm& when);

private:
    int fd_ = -1;
};

} // namespace korvane
