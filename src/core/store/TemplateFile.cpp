#include "core/store/TemplateFile.h"

#include "core/store/InputFile.h"
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
    bytes.clear();
    std::string text;
    if (const auto ec = readRegularFile(file, filelimit::kTemplate, text)) {
        return ec;
    }
    if (text.size() < tf::kFileSize) {
        return std::make_error_code(std::errc::message_size);
    }
    bytes.assign(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(tf::kFileSize));
    return {};
}

std::error_code checkTemplateFile(const std::filesystem::path& file) {
    std::uintmax_t size = 0;
    if (const auto ec = checkRegularFile(file, filelimit::kTemplate, size)) {
        return ec;
    }
    return size < tf::kFileSize ? std::make_error_code(std::errc::message_size) : std::error_code{};
}

bool templateRefused(const std::error_code& ec) {
    return ec == std::errc::message_size || ec == std::errc::invalid_argument ||
           ec == std::errc::file_too_large;
}

std::string templateFileErrorText(const std::error_code& ec) {
    if (ec == std::errc::message_size) {
        return "shorter than " + std::to_string(tf::kFileSize) + " bytes";
    }
    return inputFileErrorText(ec, filelimit::kTemplate);
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
