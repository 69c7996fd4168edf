#include "core/store/TemplateFile.h"

#include "core/store/ProgramDirectory.h"
#include "core/store/Settings.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <type_traits>
#include <unistd.h>

namespace korvane {

namespace tf = templatefile;

static_assert(std::is_trivially_copyable_v<ParameterMirror>,
              "the mirror is copied to and from files as raw bytes");

TemplateBytes encodeTemplate(const ParameterMirror& mirror) {
    TemplateBytes bytes{};
    std::copy(tf::kHeaderWord.begin(), tf::kHeaderWord.end(), bytes.begin());
    std::memcpy(bytes.data() + tf::kHeaderSize, &mirror, sizeof mirror);
    return bytes;
}

std::size_t applyTemplate(std::span<const std::uint8_t> file, ParameterMirror& mirror) {
    if (file.size() <= tf::kHeaderSize) {
        return 0;
    }
    const std::size_t count = std::min(file.size() - tf::kHeaderSize, sizeof mirror);
    std::memcpy(&mirror, file.data() + tf::kHeaderSize, count);
    return count;
}

std::error_code readTemplateFile(const std::filesystem::path& file,
                                 std::vector<std::uint8_t>& bytes) {
    bytes.assign(tf::kFileSize, 0);
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        bytes.clear();
        return {errno, std::generic_category()};
    }
    std::size_t got = 0;
    std::error_code ec;
    while (got < bytes.size()) {
        const ::ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ec = {errno, std::generic_category()};
            break;
        }
    }
    ::close(fd);
    bytes.resize(ec ? 0 : got);
    return ec;
}

SaveResult saveTemplateFile(const std::filesystem::path& file, const ParameterMirror& mirror,
                            Settings& settings, const std::function<bool()>& confirmOverwrite,
                            const WriteStep& writeStep) {
    if (Settings::fileExists(file) && confirmOverwrite && !confirmOverwrite()) {
        return SaveResult::Refused;
    }
    const TemplateBytes bytes = encodeTemplate(mirror);
    if (writeFileAtomically(file, bytes, writeStep)) {
        return SaveResult::Failed;
    }
    settings.writeRecentFile(file);
    return SaveResult::Saved;
}

std::string slotFileName(int slot) {
    return std::string(tf::kSlotPrefix) + std::to_string(slot) + std::string(tf::kExtension);
}

std::filesystem::path slotTemplatePath(int slot) {
    return programDirectory() / slotFileName(slot);
}

std::string windowTitle(const std::filesystem::path& loadedFile, std::string_view programTitle,
                        std::string_view slotWord) {
    std::string title(programTitle);
    const std::string name = loadedFile.filename().string();
    if (name.empty()) {
        return title;
    }
    title += " - ";
    for (int slot = tf::kFirstTitledSlot; slot <= tf::kLastTitledSlot; ++slot) {
        if (name.find(slotFileName(slot)) != std::string::npos) {
            return title.append(slotWord).append(std::to_string(slot));
        }
    }
    return title + name;
}

} // namespace korvane
