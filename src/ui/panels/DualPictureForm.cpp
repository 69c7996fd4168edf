#include "ui/panels/DualPictureForm.h"

#include "ui/panels/DualPictureTable.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QVBoxLayout>

namespace korvane::ui {

namespace {
using namespace dualform;
using namespace dualpanel;

// The texts are the panel's, marked here where the panel's tr() cannot reach.
QString text(const char* source) {
    return QCoreApplication::translate(kDualPictureContext, source);
}

QLineEdit* numberEdit(QWidget* owner, int length) {
    auto* e = new QLineEdit(owner);
    e->setMaxLength(length);
    e->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(length)), e));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    return e;
}
} // namespace

void DualPictureForm::build(QWidget* owner) {
    const auto pair = [&](Pair p, const QString& first, const QString& second) {
        auto* buttons = new QButtonGroup(owner);
        for (int i = 0; i < 2; ++i) {
            auto* r = new QRadioButton(i == 0 ? first : second, owner);
            buttons->addButton(r, i);
            radios[p][static_cast<std::size_t>(i)] = r;
        }
    };
    const auto pairRow = [&](QGridLayout* grid, int row, Pair p, const QString& caption) {
        grid->addWidget(new QLabel(caption, owner), row, 0);
        auto* line = new QHBoxLayout;
        line->addWidget(radios[p][0]);
        line->addWidget(radios[p][1]);
        line->addStretch(1);
        grid->addLayout(line, row, 1, 1, 3);
    };

    pair(Picture2, text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "开")),
         text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "关")));
    pair(OverlayState, text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "开")),
         text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "关")));
    pair(Mode, text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "模式1")),
         text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "模式2")));
    pair(AboveBelow, QStringLiteral("Above"), QStringLiteral("Below"));
    pair(AndOr, QStringLiteral("And"), QStringLiteral("Or"));
    pair(Effect, text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "瞬切")),
         text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "淡入淡出")));
    pair(TopLayer, text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "画面1")),
         text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "画面2")));
    source = new QComboBox(owner);
    transparency = new QComboBox(owner);
    autoSwitch = new QComboBox(owner);

    auto* top = new QGridLayout;
    top->setColumnStretch(1, 1);
    top->setColumnStretch(3, 1);
    pairRow(top, 0, Picture2, text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "画中画")));
    top->addWidget(
        new QLabel(text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "输入源")), owner), 1,
        0);
    top->addWidget(source, 1, 1, 1, 3);
    const QString windowLabels[] = {
        text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "水平位置")),
        text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "水平宽度")),
        text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "垂直位置")),
        text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "垂直高度"))};
    for (std::size_t i = 0; i < window.size(); ++i) {
        window[i] = numberEdit(owner, kWindowTextLength);
        const int row = 2 + static_cast<int>(i) / 2;
        const int column = static_cast<int>(i) % 2 * 2;
        top->addWidget(new QLabel(windowLabels[i], owner), row, column);
        top->addWidget(window[i], row, column + 1);
    }
    top->addWidget(
        new QLabel(text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "透明度")), owner), 4,
        0);
    top->addWidget(transparency, 4, 1, 1, 3);

    group =
        new QGroupBox(text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "图文叠加")), owner);
    auto* grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    grid->addWidget(
        new QLabel(text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "自动切换")), owner), 0,
        0);
    grid->addWidget(autoSwitch, 0, 1, 1, 3);
    pairRow(grid, 1, OverlayState,
            text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "状态")));
    pairRow(grid, 2, Mode, text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "半透明模式")));
    pairRow(grid, 3, AboveBelow, QStringLiteral("Above/Below"));
    pairRow(grid, 4, AndOr, QStringLiteral("And/Or"));
    const QString colours[] = {text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "红")),
                               text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "绿")),
                               text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "蓝"))};
    for (std::size_t t = 0; t < kThresholdCount; ++t) {
        sliders[t] = new QSlider(Qt::Horizontal, owner);
        sliders[t]->setRange(0, kThresholdMaximum);
        sliders[t]->setTickInterval(kThresholdTick);
        sliders[t]->setPageStep(kThresholdTick);
        sliders[t]->setTickPosition(QSlider::TicksBelow);
        thresholdEdits[t] = numberEdit(owner, kThresholdTextLength);
        const int row = 5 + static_cast<int>(t);
        grid->addWidget(new QLabel(colours[t], owner), row, 0);
        grid->addWidget(sliders[t], row, 1, 1, 2);
        grid->addWidget(thresholdEdits[t], row, 3);
    }
    condition = new QLabel(owner);
    condition->setObjectName(QStringLiteral("overlayCondition"));
    condition->setWordWrap(true);
    condition->setMinimumHeight(condition->fontMetrics().lineSpacing() * 6);
    condition->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(condition, 8, 0, 1, 4);
    pairRow(grid, 9, Effect, text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "特效")));
    fade = new QComboBox(owner);
    for (int level = 1; level <= kFadeLevels; ++level) {
        fade->addItem(QStringLiteral("Level%1").arg(level));
    }
    fade->setCurrentIndex(0);
    grid->addWidget(
        new QLabel(text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "淡入淡出时间")), owner),
        10, 0);
    grid->addWidget(fade, 10, 1, 1, 3);
    pairRow(grid, 11, TopLayer,
            text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "顶层显示")));
    switchButton =
        new QPushButton(text(QT_TRANSLATE_NOOP("korvane::ui::DualPicturePanel", "切换")), owner);
    switchButton->setAutoDefault(false);
    grid->addWidget(switchButton, 12, 1, 1, 3, Qt::AlignLeft);

    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->addStretch(1);

    picture2Controls = {source, transparency};
    for (QLineEdit* e : window) {
        picture2Controls.push_back(e);
    }
    overlayControls = {autoSwitch, condition, fade, switchButton};
    for (Pair p : {OverlayState, Mode, AboveBelow, AndOr, Effect, TopLayer}) {
        overlayControls.push_back(radios[p][0]);
        overlayControls.push_back(radios[p][1]);
    }
    for (std::size_t t = 0; t < kThresholdCount; ++t) {
        overlayControls.push_back(sliders[t]);
        overlayControls.push_back(thresholdEdits[t]);
    }
}

} // namespace korvane::ui
