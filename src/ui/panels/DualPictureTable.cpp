#include "ui/panels/DualPictureTable.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

namespace korvane::ui {

namespace {

constexpr std::array<DualChoice, 4> kAutoSwitch{{
    {QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "关"), 0},
    {QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "画面1优先"), 1},
    {QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "画面2优先"), 2},
    {QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "信号优先"), 3},
}};

// Indexed by mode * 4 + above/below * 2 + and/or; the placeholders are red, green, blue.
constexpr std::array<const char*, 8> kConditions{{
    QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel",
                      "图像中所有满足以下条件的像素不透明，不满足以下条件的像素半透明。\n条件：\n"
                      "红色 > %1 并且\n绿色 > %2 并且\n蓝色 > %3"),
    QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel",
                      "图像中所有满足以下条件的像素不透明，不满足以下条件的像素半透明。\n条件：\n"
                      "红色 > %1 或者\n绿色 > %2 或者\n蓝色 > %3"),
    QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel",
                      "图像中所有满足以下条件的像素不透明，不满足以下条件的像素半透明。\n条件：\n"
                      "红色 < %1 并且\n绿色 < %2 并且\n蓝色 < %3"),
    QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel",
                      "图像中所有满足以下条件的像素不透明，不满足以下条件的像素半透明。\n条件：\n"
                      "红色 < %1 或者\n绿色 < %2 或者\n蓝色 < %3"),
    QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel",
                      "图像中所有满足以下条件的像素半透明，不满足以下条件的像素完全透明。\n条件：\n"
                      "红色 > %1 并且\n绿色 > %2 并且\n蓝色 > %3"),
    QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel",
                      "图像中所有满足以下条件的像素半透明，不满足以下条件的像素完全透明。\n条件：\n"
                      "红色 > %1 或者\n绿色 > %2 或者\n蓝色 > %3"),
    QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel",
                      "图像中所有满足以下条件的像素半透明，不满足以下条件的像素完全透明。\n条件：\n"
                      "红色 < %1 并且\n绿色 < %2 并且\n蓝色 < %3"),
    QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel",
                      "图像中所有满足以下条件的像素半透明，不满足以下条件的像素完全透明。\n条件：\n"
                      "红色 < %1 或者\n绿色 < %2 或者\n蓝色 < %3"),
}};

int bit(int v) {
    return v != 0 ? 1 : 0;
}

} // namespace

std::span<const DualChoice> autoSwitchChoices() {
    return kAutoSwitch;
}

QString overlayConditionText(int mode, int aboveBelow, int andOr, int red, int green, int blue) {
    const auto index = static_cast<std::size_t>(bit(mode) * 4 + bit(aboveBelow) * 2 + bit(andOr));
    return QCoreApplication::translate(kDualPictureContext, kConditions[index])
        .arg(red)
        .arg(green)
        .arg(blue);
}

int fadeLevel(int selectionIndex) {
    return std::clamp(selectionIndex, 0, dualpanel::kFadeLevels - 1) + 1;
}

} // namespace korvane::ui
