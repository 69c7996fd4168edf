#pragma once

#include <atomic>

namespace korvane {

// Holds the read-in-progress flag for the whole of a read, whatever its outcome.
class ReadInProgress {
public:
    explicit ReadInProgress(std::atomic<int>& flag) : flag_(flag) { flag_.store(1); }
    ~ReadInProgress() { flag_.store(0); }
    ReadInProgress(const ReadInProgress&) = delete;
    ReadInProgress& operator=(const ReadInProgress&) = delete;

private:
    std::atomic<int>& flag_;
};

} // namespace korvane
