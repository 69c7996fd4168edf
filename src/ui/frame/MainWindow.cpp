#include "ui/frame/MainWindow.h"

#include "core/link/DeviceLink.h"
#include "core/schedule/ScheduleExecutor.h"
#include "core/store/Settings.h"
#include "ui/device/BusyRunner.h"
#include "ui/device/DeviceGate.h"
#include "ui/device/MessagePresenter.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/FrameCommands.h"
#include "ui/frame/FrameMenu.h"
#include "ui/frame/FrameMessageEvent.h"
#include "ui/frame/FrameMessageTable.h"
#include "ui/frame/FrameScheduleActions.h"
#include "ui/frame/FrameSynchroniser.h"
#include "ui/frame/FrameTemplateHost.h"
#include "ui/frame/FrameTimers.h"
#include "ui/frame/LinkStatusField.h"
#include "ui/frame/LinkStatusView.h"
#include "ui/frame/MenuCommand.h"
#include "ui/frame/SideColumn.h"
#include "ui/frame/SidePaneStack.h"
#include "ui/i18n/Language.h"
#include "ui/panels/ICapturePanel.h"
#include "ui/panels/ICentrePane.h"
#include "ui/panels/ICommPanel.h"
#include "ui/panels/IDualPicturePanel.h"
#include "ui/panels/IInputBar.h"
#include "ui/panels/ILayoutControl.h"
#include "ui/panels/IOutputPanel.h"
#include "ui/panels/IPanelFactory.h"
#include "ui/panels/IPictureQualityPanel.h"
#include "ui/panels/IPointLocateWindow.h"
#include "ui/panels/PanelContext.h"
#include "ui/schedule/ScheduleRunnerDialog.h"
#include "ui/widgets/UiIcons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <stdexcept>

namespace korvane::ui {

namespace {
void requireEveryPanel(const PanelSet& p) {
    if (p.inputBar == nullptr || p.pictureQuality == nullptr || p.capture == nullptr ||
        p.sound == nullptr || p.output == nullptr || p.dualPicture == nullptr ||
        p.communication == nullptr || p.centre == nullptr) {
        throw std::logic_error("the panel factory left a pane out");
    }
}

int arrowDirection(int key) {
    switch (key) {
    case Qt::Key_Left:
        return 0;
    case Qt::Key_Right:
        return 1;
    case Qt::Key_Up:
        return 2;
    case Qt::Key_Down:
        return 3;
    default:
        return -1;
    }
}
} // namespace

MainWindow::MainWindow(const FrameServices& services, QWidget* parent)
    : QMainWindow(parent), s_(services) {
    setObjectName(QStringLiteral("mainFrame"));
    setContextMenuPolicy(Qt::PreventContextMenu);
    setWindowIcon(icons::programIcon());
    panels_ = s_.panels.create(PanelContext{s_.link, s_.mirror, s_.facade, s_.settings,
                                            s_.presenter, s_.messages, s_.busy});
    requireEveryPanel(panels_);

    timers_ =
        std::make_unique<FrameTimers>([this] { scheduleTick(); }, [this] { displayRepaint(); },
                                      [this] { pendingPaneRefresh(); }, this);
    synchroniser_ = std::make_unique<FrameSynchroniser>(*this, *this, s_, panels_);
    templates_ = std::make_unique<FrameTemplateHost>(*this, *this, s_, panels_, *synchroniser_);
    scheduleActions_ = std::make_unique<FrameScheduleActions>(s_, *templates_);
    executor_ = std::make_unique<ScheduleExecutor>(*scheduleActions_);
    callbacks_ = std::make_unique<FrameCallbacks>(*this, s_, state_, *timers_, *executor_);
    messages_ = std::make_unique<FrameMessageTable>(FrameMessageTable::Parts{
        *this, *this, s_, state_, panels_, *synchroniser_, *templates_, *callbacks_, *timers_});
    commands_ = std::make_unique<FrameCommands>(*this, *this, s_, state_, panels_, *synchroniser_,
                                                *templates_);
    menu_ = std::make_unique<FrameMenu>(*menuBar());
    connectMenu();
    menu_->action(menucmd::kPointLocate)->setEnabled(panels_.pointLocate != nullptr);
    menu_->action(menucmd::kTestPattern)->setEnabled(panels_.testPattern != nullptr);

    buildClientArea();
    buildInputBar();
    buildStatusBar();
    // Below this the side columns and the drawing can no longer show their texts whole; the
    // side panes scroll inside it.
    fitMinimumToScreen();
    updateMenuChecks();
    linkView_ = std::make_unique<LinkStatusView>(
        s_.link, s_.busy, panels_, *synchroniser_, *linkStatus_,
        [this](const QString& text) { setStatusText(text); }, this);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::geometryChanged, this, [this] { postDisplayChange(); });
        connect(screen, &QScreen::availableGeometryChanged, this, [this] { fitMinimumToScreen(); });
    }
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    timers_->stopSchedule();
}

void MainWindow::buildClientArea() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("frameSplitter"));
    splitter_->setChildrenCollapsible(false);
    leftColumn_ = new SideColumn(splitter_);
    splitter_->addWidget(leftColumn_);
    splitter_->addWidget(panels_.centre->widget());
    rightColumn_ = new SideColumn(splitter_);
    splitter_->addWidget(rightColumn_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kInitialColumnWidth, 0, kInitialColumnWidth});
    setCentralWidget(splitter_);

    for (int i : {kLeftStack, kRightStack}) {
        stacks_[i] = new SidePaneStack(this);
        stacks_[i]->setObjectName(i == kLeftStack ? QStringLiteral("leftStack")
                                                  : QStringLiteral("rightStack"));
        stacks_[i]->setPresenter(&s_.presenter);
        stacks_[i]->resize(110, 410);
    }
    leftColumn_->setHostedChild(stacks_[kLeftStack]);
    rightColumn_->setHostedChild(stacks_[kRightStack]);

    using icons::Glyph;
    SidePaneStack& left = *stacks_[kLeftStack];
    left.addPane(tr("画质调整"), icons::glyph(Glyph::PictureQuality),
                 panels_.pictureQuality->widget());
    left.addPane(tr("图像截取"), icons::glyph(Glyph::Capture), panels_.capture->widget());
    left.addPane(tr("声音"), icons::glyph(Glyph::Sound), panels_.sound->widget());
    SidePaneStack& right = *stacks_[kRightStack];
    right.addPane(tr("输出设置"), icons::glyph(Glyph::Output), panels_.output->widget());
    right.addPane(tr("双画面"), icons::glyph(Glyph::DualPicture), panels_.dualPicture->widget());
    right.addPane(tr("通讯设置"), icons::glyph(Glyph::Communication),
                  panels_.communication->widget());
    for (int i : {kLeftStack, kRightStack}) {
        stacks_[i]->setStackIndex(i);
        stacks_[i]->setOwner(this);
    }

    wirePanels();
    state_.laidOut = true;
    // The start-up synchronisation runs once the event loop does, after the window is shown.
    postSynchronise(true);
    panels_.centre->layoutControl().setBoxSizes(
        s_.settings.readBoxWidth(), s_.settings.readBoxHeight(), s_.settings.readModuleWidth(),
        s_.settings.readModuleHeight());
    state_.chinese = Language::isChinese(s_.settings.readLanguage());
}

void MainWindow::wirePanels() {
    for (IPanel* p : std::initializer_list<IPanel*>{
             panels_.centre, panels_.capture, panels_.communication, panels_.dualPicture,
             panels_.sound, panels_.inputBar, panels_.output}) {
        p->attachFrame(this);
    }
    // The tool windows live as long as the frame, hidden until their menu items show them.
    QWidget* locate = panels_.pointLocate != nullptr ? panels_.pointLocate->widget() : nullptr;
    for (QWidget* tool : {locate, panels_.testPattern}) {
        if (tool != nullptr) {
            tool->setParent(this, tool->windowFlags());
        }
    }
    if (panels_.pointLocate != nullptr) {
        panels_.pointLocate->attachFrame(this);
    }
    panels_.output->setResolutionCallback(callbacks_.get());
}

void MainWindow::buildInputBar() {
    auto* rebar = new QToolBar(this);
    rebar->setObjectName(QStringLiteral("inputBarBand"));
    rebar->setMovable(false);
    rebar->setFloatable(false);
    rebar->addWidget(panels_.inputBar->widget());
    addToolBar(Qt::TopToolBarArea, rebar);
}

void MainWindow::buildStatusBar() {
    statusText_ = new QLabel(this);
    statusText_->setObjectName(QStringLiteral("statusText"));
    statusBar()->addWidget(statusText_, 1);
    // One permanent field for the link, whatever its state; the left keeps the latest message.
    linkStatus_ = new LinkStatusField(s_.link, this);
    statusBar()->addPermanentWidget(linkStatus_);
    // The lock-key panes; X11 offers no portable way to read the lock states, so they only
    // name the keys.
    for (const QString& key : {tr("大写"), tr("数字"), tr("滚动")}) {
        auto* pane = new QLabel(key, this);
        pane->setEnabled(false);
        pane->setMinimumWidth(36);
        pane->setAlignment(Qt::AlignCenter);
        statusBar()->addPermanentWidget(pane);
    }
}

void MainWindow::fitMinimumToScreen() {
    QSize least(kMinimumWidth, kMinimumHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // A frame larger than the screen would put its right column and status bar out of
        // reach; the frame's edges take what they need beyond the client area.
        const QSize frame = frameGeometry().size() - geometry().size();
        least = least.boundedTo(screen->availableGeometry().size() - frame);
    }
    setMinimumSize(least);
}

void MainWindow::setStatusText(const QString& text) {
    statusText_->setText(text);
}

QAction* MainWindow::action(int command) const {
    return menu_->action(command);
}

SidePaneStack& MainWindow::stack(int index) const {
    return *stacks_[index == kLeftStack ? kLeftStack : kRightStack];
}

void MainWindow::post(FrameMessage m, long long first, long long second) {
    QCoreApplication::postEvent(this, new FrameMessageEvent(m, first, second));
}

int MainWindow::send(FrameMessage m, long long first, long long second) {
    return deliver(m, first, second);
}

int MainWindow::deliver(FrameMessage m, long long first, long long second) {
    const int result = messages_->dispatch(m, first, second);
    emit messageHandled(messageNumber(m), result);
    return result;
}

bool MainWindow::event(QEvent* event) {
    if (event->type() != FrameMessageEvent::eventType()) {
        return QMainWindow::event(event);
    }
    const auto* e = static_cast<FrameMessageEvent*>(event);
    const FrameMessage m = e->message();
    const long long first = e->first();
    const long long second = e->second();
    if (FrameMessageTable::waitsForDevice(m)) {
        QPointer<MainWindow> self(this);
        s_.busy.gate().whenIdle([self, m, first, second] {
            if (self != nullptr) {
                self->deliver(m, first, second);
            }
        });
    } else {
        deliver(m, first, second);
    }
    return true;
}

void MainWindow::openPane(int stackIndex, int pane) {
    stack(stackIndex).openPane(pane);
}

void MainWindow::reannounceOpenPane(int stackIndex) {
    stack(stackIndex).reannounce();
}

void MainWindow::runCommand(int command) {
    if (QAction* a = action(command)) {
        a->trigger();
    }
}

void MainWindow::connectMenu() {
    using namespace menucmd;
    const auto on = [this](int command, auto handler) {
        connect(action(command), &QAction::triggered, this, handler);
    };
    on(kOpenTemplateFile, [this] { commands_->openTemplateFile(); });
    on(kSaveTemplateFile, [this] { commands_->saveTemplateFile(); });
    for (int n = 1; n <= kDeviceTemplates; ++n) {
        on(kRecallTemplateFirst + n - 1, [this, n] { commands_->recallDeviceTemplate(n); });
        on(kStoreTemplateFirst + n - 1, [this, n] { commands_->storeDeviceTemplate(n); });
    }
    on(kExit, [this] { close(); });
    on(kSynchronise, [this] { postSynchronise(false); });
    on(kFactoryReset, [this] { commands_->factoryReset(); });
    on(kAutoAdjust, [this] { commands_->autoAdjust(); });
    for (const Picture p : {Picture::One, Picture::Two}) {
        on(p == Picture::One ? kPicture1Hollow : kPicture2Hollow, [this, p] {
            commands_->toggleHollow(p);
            updateMenuChecks();
        });
    }
    for (const bool chinese : {true, false}) {
        on(chinese ? kChinese : kEnglish, [this, chinese] {
            commands_->switchLanguage(chinese);
            updateMenuChecks();
        });
    }
    on(kPlanEditor, [this] { s_.panels.runPlanEditor(this); });
    on(kScheduleRunner, [this] { sendOpenScheduleRunner(false); });
    on(kPointLocate, [this] {
        if (panels_.pointLocate != nullptr) {
            panels_.pointLocate->runTool();
        }
        updateMenuChecks();
    });
    on(kTestPattern, [this] { showTestPattern(); });
    on(kPlanDialog, [this] { s_.panels.runPlanDialog(this); });
    on(kHelp, [this] {
        if (s_.help) {
            s_.help();
        }
    });
    on(kAbout, [this] {
        if (s_.about) {
            s_.about();
        }
    });
}

void MainWindow::updateMenuChecks() {
    using namespace menucmd;
    action(kPicture1Hollow)->setChecked(state_.hollow[0]);
    action(kPicture2Hollow)->setChecked(state_.hollow[1]);
    action(kPointLocate)
        ->setChecked(panels_.pointLocate != nullptr && panels_.pointLocate->isShown());
    action(kChinese)->setChecked(state_.chinese);
    action(kEnglish)->setChecked(!state_.chinese);
}

void MainWindow::showTestPattern() {
    QWidget* w = panels_.testPattern;
    if (w == nullptr) {
        return;
    }
    w->adjustSize();
    if (const QScreen* screen = this->screen()) {
        QRect r(QPoint(0, 0), w->size());
        r.moveCenter(screen->availableGeometry().center());
        w->move(r.topLeft());
    }
    w->show();
    w->raise();
    w->activateWindow();
}

void MainWindow::scheduleTick() {
    // Nothing can be sent: a task that falls due now runs once the link is back.
    if (s_.link.linkStatus().lost()) {
        return;
    }
    const TickResult r = executor_->tick();
    if (r.outcome == TickOutcome::Ran && r.task.action == scheduleaction::kSwitchInput) {
        // The input went out with the task; the input bar and the drawing's label follow it
        // without sending it again.
        const SendSwitchOff quiet(s_.link);
        sendPictureInput(Picture::One, static_cast<std::uint8_t>(r.task.channel & 0xFF));
    }
    if (state_.runner == nullptr) {
        return;
    }
    if (r.outcome == TickOutcome::Ran) {
        state_.runner->taskExecuted(r.task);
    } else if (r.outcome == TickOutcome::MissingTemplate) {
        state_.runner->taskSkipped(r.task, r.problem);
    }
}

void MainWindow::displayRepaint() {
    splitter_->update();
    for (QWidget* w : splitter_->findChildren<QWidget*>()) {
        w->update();
    }
}

void MainWindow::pendingPaneRefresh() {
    QPointer<MainWindow> self(this);
    s_.busy.gate().whenIdle([self] {
        if (self == nullptr || !self->state_.pendingRefresh.pending) {
            return;
        }
        const PendingPaneRefresh p = self->state_.pendingRefresh;
        self->state_.pendingRefresh = {};
        self->synchroniser_->refreshPane(p.stack, p.pane, PaneRefreshPath::Timer);
    });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!state_.laidOut) {
        return;
    }
    const int centre = width() - kSideColumnsReserve;
    if (centre > 0) {
        splitter_->setSizes({kLeftColumnWidth, std::max(10, centre), kRightColumnWidth});
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!state_.restarting && !s_.presenter.confirm(this, tr("确定要退出系统吗?"))) {
        event->ignore();
        return;
    }
    // The next start uses the default icon file name again.
    s_.settings.writeIcon(kDefaultIcon);
    timers_->stopSchedule();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // "水平/垂直定位" is checked while the point-locate window shows, however it was closed.
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) &&
        panels_.pointLocate != nullptr && watched == panels_.pointLocate->widget()) {
        updateMenuChecks();
    }
    // An open menu or drop-down list keeps its arrow keys, or it could not be worked by keyboard.
    if (event->type() == QEvent::KeyPress && panels_.pointLocate != nullptr &&
        panels_.pointLocate->isShown() && QApplication::activePopupWidget() == nullptr) {
        const int direction = arrowDirection(static_cast<QKeyEvent*>(event)->key());
        if (direction >= 0) {
            panels_.pointLocate->arrow(direction);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace korvane::ui
