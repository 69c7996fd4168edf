#include "core/store/TemplateTexts.h"

#include "core/base/Version.h"

#include <array>
#include <utility>

namespace korvane {

namespace {
constexpr std::array<std::pair<TemplateText, std::string_view>, 11> kTexts{{
    {TemplateText::ProgramTitle, KORVANE_PROGRAM_TITLE},
    {TemplateText::SlotTitle, "模板"},
    {TemplateText::LoadingCaption, "正在加载模板..."},
    {TemplateText::SynchroniseCaption, "同步数据"},
    {TemplateText::OverwriteQuestion, "文件已经存在,是否覆盖?"},
    {TemplateText::FileMissing, "文件不存在!"},
    {TemplateText::LoadFailed, "模板文件加载失败!"},
    {TemplateText::Saved, "文件已保存!"},
    {TemplateText::SaveFailed, "文件保存失败!"},
    {TemplateText::OpenFailed, "文件打开失败!"},
    {TemplateText::FileError, "文件读写错误!"},
}};
} // namespace

std::string_view templateText(TemplateText t) {
    for (const auto& [id, text] : kTexts) {
        if (id == t) {
            return text;
        }
    }
    return {};
}

} // namespace korvane
