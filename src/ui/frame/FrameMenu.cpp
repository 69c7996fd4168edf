#include "ui/frame/FrameMenu.h"

#include "ui/frame/MenuCommand.h"
#include "ui/widgets/UiIcons.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace korvane::ui {

using icons::Glyph;

FrameMenu::FrameMenu(QMenuBar& bar, QObject* parent) : QObject(parent) {
    using namespace menucmd;
    QMenu* file = bar.addMenu(tr("文件(&F)"));
    add(file, kOpenTemplateFile, tr("打开脚本"), icons::glyph(Glyph::Open));
    add(file, kSaveTemplateFile, tr("保存脚本"), icons::glyph(Glyph::Save));
    file->addSeparator();
    QMenu* recall = file->addMenu(icons::glyph(Glyph::TemplateLoad), tr("加载模板"));
    QMenu* store = file->addMenu(icons::glyph(Glyph::TemplateStore), tr("保存模板"));
    for (int n = 1; n <= kDeviceTemplates; ++n) {
        // In English each slot's digit is its mnemonic; the tenth takes its 0, as 1 is taken.
        const QString item = n == 10 ? tr("模板10") : tr("模板%1").arg(n);
        add(recall, kRecallTemplateFirst + n - 1, item, {});
        add(store, kStoreTemplateFirst + n - 1, item, {});
    }
    file->addSeparator();
    add(file, kExit, tr("退出(&X)"), icons::glyph(Glyph::Exit));

    QMenu* device = bar.addMenu(tr("设置(&O)"));
    add(device, kSynchronise, tr("同步数据"), icons::glyph(Glyph::Synchronise));
    add(device, kFactoryReset, tr("恢复到出厂设置"), icons::glyph(Glyph::FactoryReset));
    add(device, kAutoAdjust, tr("自动调整"), icons::glyph(Glyph::AutoAdjust));
    device->addSeparator();
    // Checkable items carry no icon: the style draws the check mark where the icon would be,
    // and beside an icon it shows only a faint frame.
    add(device, kPicture1Hollow, tr("画面1中空"), {})->setCheckable(true);
    add(device, kPicture2Hollow, tr("画面2中空"), {})->setCheckable(true);

    QMenu* tools = bar.addMenu(tr("工具(&T)"));
    add(tools, kPointLocate, tr("水平/垂直定位"), {})->setCheckable(true);
    add(tools, kTestPattern, tr("测试图卡"), icons::glyph(Glyph::TestPattern));

    QMenu* schedule = bar.addMenu(tr("时间表(&S)"));
    add(schedule, kPlanEditor, tr("定制时间表"), icons::glyph(Glyph::Plan));
    add(schedule, kScheduleRunner, tr("运行时间表"), icons::glyph(Glyph::Plan));

    QMenu* language = bar.addMenu(tr("语言(&L)"));
    auto* group = new QActionGroup(this);
    for (const int c : {kChinese, kEnglish}) {
        QAction* a = add(language, c, c == kChinese ? tr("中文") : tr("英文"), {});
        a->setCheckable(true);
        group->addAction(a);
    }

    QMenu* help = bar.addMenu(tr("帮助(&H)"));
    add(help, kHelp, tr("使用说明(&H)"), icons::glyph(Glyph::Help))->setShortcut(Qt::Key_F1);
    add(help, kAbout, tr("关于 Korvane Controller(&A)..."), icons::glyph(Glyph::About));
    // No menu shows the older plan dialog; its action is there to be triggered.
    add(nullptr, kPlanDialog, QString(), {});
}

QAction* FrameMenu::add(QMenu* menu, int command, const QString& text, const QIcon& icon) {
    QAction* a = menu != nullptr ? menu->addAction(icon, text) : new QAction(icon, text, this);
    a->setData(command);
    actions_[command] = a;
    return a;
}

QAction* FrameMenu::action(int command) const {
    const auto it = actions_.find(command);
    return it != actions_.end() ? it->second : nullptr;
}

} // namespace korvane::ui
