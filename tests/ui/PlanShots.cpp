// Draws the plan editor, the clock dialog and the older plan dialog offscreen, in Chinese and
// in English, as PNG files to look at: ui_plan_shots <folder>. Not a test; nothing is checked.
#include "PanelRig.h"
#include "ShotsMain.h"
#include "core/link/InputCodes.h"
#include "ui/schedule/ClockDialog.h"
#include "ui/schedule/LegacyPlanDialog.h"
#include "ui/schedule/PlanEditorDialog.h"
#include "ui/widgets/ColouredTable.h"

#include <QAbstractButton>
#include <QTest>
#include <cstdio>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {
void save(QWidget& w, const QString& file) {
    w.grab().save(file);
    std::printf("%s (%dx%d, smallest %dx%d)\n", qPrintable(file), w.width(), w.height(),
                w.minimumSizeHint().width(), w.minimumSizeHint().height());
}

void clickRow(ColouredTable& list, int row) {
    list.scrollToItem(list.item(row, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(row, 0)).center());
}

void shoot(const QString& folder, const QString& language) {
    PanelRig rig;
    if (!rig.connect()) {
        return;
    }
    const PlanItem seeded{2024,
                          5,
                          6,
                          8,
                          30,
                          0,
                          planmode::kIntervalDaily,
                          90,
                          input::kHdmi,
                          planaction::kRecallTemplate,
                          3};
    rig.facade.writePlanEntry(2, unpackPlanFields(packPlanItem(seeded, 2)));
    rig.facade.setPlanState(0, 1);

    PlanEditorDialog editor(rig.context);
    editor.show();
    (void)QTest::qWaitFor([&] { return editor.openingDone(); });
    editor.findChild<QAbstractButton*>(QStringLiteral("readButton"))->click();
    clickRow(*editor.findChild<ColouredTable*>(QStringLiteral("planList")), 2);
    QTest::qWait(50);
    save(editor, folder + QStringLiteral("/plan_editor_%1.png").arg(language));

    ClockDialog clock(rig.context);
    clock.show();
    (void)QTest::qWaitFor([&] { return clock.openingDone(); });
    QTest::qWait(50);
    save(clock, folder + QStringLiteral("/clock_%1.png").arg(language));

    LegacyPlanDialog older(rig.context);
    older.show();
    QTest::qWait(50);
    older.findChild<QAbstractButton*>(QStringLiteral("mode4"))->click();
    QTest::qWait(50);
    save(older, folder + QStringLiteral("/offline_plan_%1.png").arg(language));
}
} // namespace

int main(int argc, char** argv) {
    return runShots(argc, argv, shoot);
}
