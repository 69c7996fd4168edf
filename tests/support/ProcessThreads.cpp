#include "support/ProcessThreads.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace korvane::test {

std::vector<ProcessThread> processThreads(pid_t pid) {
    std::vector<ProcessThread> threads;
    std::error_code ec;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto& task : std::filesystem::directory_iterator(tasks, ec)) {
        ProcessThread t;
        t.tid = static_cast<pid_t>(std::stol(task.path().filename().string()));
        std::ifstream(task.path() / "comm") >> t.name;
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("SigBlk:", 0) == 0) {
                t.blocked = std::stoull(line.substr(7), nullptr, 16);
            }
        }
        threads.push_back(std::move(t));
    }
    return threads;
}

} // namespace korvane::test
