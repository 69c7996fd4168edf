#pragma once

#include "core/link/ParameterMirror.h"
#include "core/store/AtomicFile.h"
#include "core/store/TemplateTexts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace korvane {

class Settings;

// A template file: a 202-byte header (the word 0x0100 little-endian, then 200 zero bytes) and
// the parameter mirror byte for byte. Nothing in the header is checked when reading.
namespace templatefile {
inline constexpr std::size_t kHeaderSize = 202;
inline constexpr std::array<std::uint8_t, 2> kHeaderWord{0x00, 0x01};
inline constexpr std::size_t kFileSize = kHeaderSize + sizeof(ParameterMirror);
inline constexpr std::string_view kExtension = ".kvt";
inline constexpr std::string_view kSlotPrefix = "KorvaneTemp";
// Slot files 1..5 show as "模板N" in the window title; the others by their file name.
inline constexpr int kFirstTitledSlot = 1;
inline constexpr int kLastTitledSlot = 5;
} // namespace templatefile

static_assert(templatefile::kFileSize == 1030);

using TemplateBytes = std::array<std::uint8_t, templatefile::kFileSize>;

// The whole file for a mirror.
TemplateBytes encodeTemplate(const ParameterMirror& mirror);

// Puts the mirror part of a template file's bytes into the mirror. A short file overwrites only
// the mirror bytes it holds, from the start; the rest keeps its values. Gives the number of
// mirror bytes overwritten.
std::size_t applyTemplate(std::span<const std::uint8_t> file, ParameterMirror& mirror);

// The first kFileSize bytes of a template file (a longer file's tail is not used). Only a
// regular file of kFileSize bytes up to its size limit is a template; a shorter one gives
// message_size, another kind of file invalid_argument, a larger one file_too_large.
std::error_code readTemplateFile(const std::filesystem::path& file,
                                 std::vector<std::uint8_t>& bytes);
// The same rule without reading the file (as many checks as a schedule has template tasks).
std::error_code checkTemplateFile(const std::filesystem::path& file);
// Whether a read error means "not a template file" rather than a failing disk.
bool templateRefused(const std::error_code& ec);
// Why a template file was not read, in words.
std::string templateFileErrorText(const std::error_code& ec);

enum class SaveResult : int { Saved = 0, Refused = 1, Failed = -1 };

// Writes the mirror to `file`. An existing file is first offered to `confirmOverwrite` (no
// question: overwrite); a refusal writes nothing. The file is replaced atomically, so a failed
// save leaves an existing template whole. A saved path is stored as the recent file.
SaveResult saveTemplateFile(const std::filesystem::path& file, const ParameterMirror& mirror,
                            Settings& settings, const std::function<bool()>& confirmOverwrite = {},
                            const WriteStep& writeStep = {});

// "KorvaneTemp<slot>.kvt"; any number is taken as it is.
std::string slotFileName(int slot);
// The slot file in the program directory.
std::filesystem::path slotTemplatePath(int slot);

// The main window's title after `loadedFile` was loaded: the program title, then " - " and the
// file's name without its folder, or `slotWord` and the slot number for a name that contains
// the file name of slot 1..5. An empty path gives the program title alone.
std::string windowTitle(const std::filesystem::path& loadedFile,
                        std::string_view programTitle = templateText(TemplateText::ProgramTitle),
                        std::string_view slotWord = templateText(TemplateText::SlotTitle));

} // namespace korvane
