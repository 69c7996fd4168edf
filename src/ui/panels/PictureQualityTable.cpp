#include "ui/panels/PictureQualityTable.h"

#include "core/commands/CommandFacade.h"
#include "core/link/ParameterMirror.h"

#include <QtGlobal>

namespace korvane::ui {

namespace {

using Item = PictureQualityItem;

constexpr PqChoice kImageModes[] = {
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "用户"), 0},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "亮丽"), 1},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "柔和"), 2},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "标准"), 3}};
constexpr PqChoice kNoiseReduction[] = {
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "关"), 0},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "自动"), 1},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "低"), 2},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "中"), 3},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "高"), 4}};
constexpr PqChoice kVgaEnhancement[] = {
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "关"), 0},
    {"Level0", 1},
    {"Level1", 2},
    {"Level2", 3},
    {"Level3", 4},
    {"Level4", 5},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "自动"), 6}};
constexpr PqChoice kScenes[] = {{QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "普通"), 0},
                                {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "生动"), 1},
                                {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "剧场"), 2},
                                {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "游戏"), 3},
                                {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "运动"), 4}};
constexpr PqChoice kColourTemperatures[] = {
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "标准"), 0},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "暖色"), 1},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "冷色"), 2},
    {QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "用户"), 3}};
constexpr PqChoice kGammas[] = {{QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "关"), 0},
                                {"2.0", 3},
                                {"2.2", 4},
                                {"2.8", 5},
                                {"-1.1", 2},
                                {"-1.2", 1}};

const std::array<PqDropDown, pqpanel::kDropDownCount> kDropDowns{{
    {"imageMode", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "图像模式"), pq::kImageMode,
     Item::ImageMode, kImageModes},
    {"noiseReduction", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "3D降噪"),
     pq::kNoiseReduction3D, Item::NoiseReduction3D, kNoiseReduction},
    {"vgaEnhancement", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "VGA强化"),
     pq::kVgaEnhancement, Item::VgaEnhancement, kVgaEnhancement},
    {"sceneMode", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "场景模式"), pq::kSceneMode,
     Item::SceneMode, kScenes},
    {"colourTemperature", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "色温"),
     pq::kColourTemperature, Item::ColourTemperature, kColourTemperatures},
    {"gamma", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "Gamma调整"), pq::kGamma,
     Item::Gamma, kGammas},
}};

const std::array<PqSlider, pqpanel::kSliderCount> kSliders{{
    {"brightness", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "亮度"), pq::kBrightness,
     100, 10},
    {"contrast", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "对比度"), pq::kContrast,
     100, 10},
    {"colour", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "彩色"), pq::kColour, 100, 10},
    {"sharpness", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "锐度"), pq::kSharpness, 24,
     2},
    {"red", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "红"), pq::kRedGain, 100, 10},
    {"green", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "绿"), pq::kGreenGain, 100, 10},
    {"blue", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "蓝"), pq::kBlueGain, 100, 10},
}};

const std::array<PqCheck, pqpanel::kCheckCount> kChecks{{
    {"blackExtension", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "黑延伸"),
     pq::kBlackExtension, Item::BlackExtension},
    {"dviEnhancement", QT_TRANSLATE_NOOP("korvane::ui::PictureQualityPanel", "DVI增强"),
     pq::kDviEnhancement, Item::DviEnhancement},
}};

constexpr PqFactoryValue kFactoryValues[] = {
    {pq::kDviEnhancement, 0}, {pq::kBrightness, 50},
    {pq::kContrast, 50},      {pq::kColour, 50},
    {pq::kSharpness, 12},     {pq::kRedGain, 50},
    {pq::kGreenGain, 50},     {pq::kBlueGain, 50},
    {pq::kImageMode, 0},      {pq::kNoiseReduction3D, 0},
    {pq::kSceneMode, 1},      {pq::kColourTemperature, 0},
    {pq::kGamma, 0},
};

// The gains go out one after the other, each with the colour temperature. The scene mode comes
// last, so that the processor ends up with what the mirror and the drop-down show.
constexpr std::size_t kResetSendOrder[] = {
    pq::kDviEnhancement,    pq::kImageMode, pq::kBrightness, pq::kRedGain,  pq::kGreenGain,
    pq::kBlueGain,          pq::kSharpness, pq::kColour,     pq::kContrast, pq::kNoiseReduction3D,
    pq::kColourTemperature, pq::kGamma,     pq::kSceneMode,
};

} // namespace

const std::array<PqDropDown, pqpanel::kDropDownCount>& pqDropDowns() {
    return kDropDowns;
}
const std::array<PqSlider, pqpanel::kSliderCount>& pqSliders() {
    return kSliders;
}
const std::array<PqCheck, pqpanel::kCheckCount>& pqChecks() {
    return kChecks;
}
std::span<const PqFactoryValue> pqFactoryValues() {
    return kFactoryValues;
}
std::span<const std::size_t> pqResetSendOrder() {
    return kResetSendOrder;
}

PictureQualityItem pqItemAt(std::size_t index) {
    if (index >= pq::kColourTemperature && index <= pq::kBlueGain) {
        return Item::ColourTemperature;
    }
    for (auto i = static_cast<std::uint8_t>(Item::Brightness);
         i <= static_cast<std::uint8_t>(Item::Gamma); ++i) {
        if (CommandFacade::mirrorIndexOf(static_cast<Item>(i)) == index) {
            return static_cast<Item>(i);
        }
    }
    return Item::Brightness;
}

} // namespace korvane::ui
