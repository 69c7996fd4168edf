#include "core/store/TemplateFile.h"

#include "FrameRig.h"
#include "core/link/Frame.h"
#include "support/TempFolder.h"
#include "ui/frame/FrameCallbacks.h"
#include "ui/frame/MenuCommand.h"
#include "ui/panels/PanelContext.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTranslator>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {
const QString kProgramTitle = QStringLiteral("Korvane Controller v3.0");

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray templateBytes(const ParameterMirror& mirror) {
    const TemplateBytes b = encodeTemplate(mirror);
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

// A centre pane whose layout fails once armed, so that a template load throws half-way.
struct ThrowingCentre : FakeCentre {
    using FakeCentre::FakeCentre;
    bool armed = false;
    void clearItems() override {
        if (armed) {
            throw std::runtime_error("layout failed");
        }
        FakeCentre::clearItems();
    }
};

struct ThrowingPanels : FakePanelFactory {
    CallLog* log = nullptr;
    ThrowingCentre* centre = nullptr;
    explicit ThrowingPanels(CallLog& l) : FakePanelFactory(l), log(&l) {}
    PanelSet create(const PanelContext& context) override {
        PanelSet set = FakePanelFactory::create(context);
        delete set.centre->widget();
        centre = new ThrowingCentre(*log, context.link);
        set.centre = centre;
        return set;
    }
};

// The frame over the simulator.
struct TemplateRig : FrameRig {
    MainWindow& start() {
        connect();
        return makeFrame();
    }
    QString file(const QString& name) const { return home.filePath(name); }
    std::vector<std::uint8_t> sentFrom(std::size_t mark, CommandCode code) const {
        std::vector<std::uint8_t> first;
        const auto frames = sent();
        for (std::size_t i = mark; i < frames.size(); ++i) {
            if (frames[i][frame::kCodeOffset] == static_cast<std::uint8_t>(code)) {
                first.push_back(frames[i][frame::kDataOffset]);
            }
        }
        return first;
    }
};
} // namespace

class TemplateFileTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void saveThenLoadThroughTheMenu_data();
    void saveThenLoadThroughTheMenu();
    void overwriteAsksFirst_data();
    void overwriteAsksFirst();
    void missingFile_data();
    void missingFile();
    void noTemplateIsRefused_data();
    void noTemplateIsRefused();
    void readOnlyTemplateIsKept();
    void closedLinkAppliesTheFileAndSendsNothing();
    void failedLoadFromTheOutputPanel_data();
    void failedLoadFromTheOutputPanel();
    void slotMessagesSaveAndLoad();
};

void TemplateFileTest::saveThenLoadThroughTheMenu_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("title");
    QTest::newRow("slot 3") << "KorvaneTemp3.kvt" << false << kProgramTitle + " - 模板3";
    QTest::newRow("slot 3, English")
        << "KorvaneTemp3.kvt" << true << kProgramTitle + " - Template 3";
    QTest::newRow("slot 7") << "KorvaneTemp7.kvt" << false << kProgramTitle + " - KorvaneTemp7.kvt";
    QTest::newRow("own name") << "show.kvt" << false << kProgramTitle + " - show.kvt";
}

// "保存脚本" writes the 1030-byte file (header word 0x0100, the mirror as it is); "打开脚本"
// brings it back into the mirror, sends it and reads back, and names it in the window title in
// the program's language. The dialogs start in the folder of the last pick.
void TemplateFileTest::saveThenLoadThroughTheMenu() {
    QFETCH(QString, name);
    QFETCH(bool, english);
    QFETCH(QString, title);
    TemplateRig rig;
    MainWindow& frame = rig.start();
    const QString path = rig.file(name);
    rig.facade.setPictureQuality(PictureQualityItem::Brightness, 61);
    const QByteArray expected = templateBytes(rig.mirror);

    rig.presenter.files = {path};
    frame.runCommand(menucmd::kSaveTemplateFile);
    const QByteArray written = fileBytes(path);
    QCOMPARE(written.size(), 1030);
    QCOMPARE(written.left(2), QByteArray("\x00\x01", 2));
    QCOMPARE(written.mid(2, 200), QByteArray(200, '\0'));
    QCOMPARE(written, expected);
    QCOMPARE(rig.presenter.informed, QStringList{"文件已保存!"});
    QCOMPARE(rig.presenter.asked, QStringList{});

    rig.facade.setPictureQuality(PictureQualityItem::Brightness, 20);
    QTranslator ui;
    QTranslator core;
    if (english) {
        QVERIFY(ui.load(QStringLiteral(":/i18n/korvane_en.qm")));
        QVERIFY(core.load(QStringLiteral(":/i18n/korvane_core_en.qm")));
        QCoreApplication::installTranslator(&ui);
        QCoreApplication::installTranslator(&core);
    }
    const std::size_t mark = rig.framesSoFar();
    rig.presenter.files = {path};
    frame.runCommand(menucmd::kOpenTemplateFile);
    const QString shownTitle = frame.windowTitle();
    QCoreApplication::removeTranslator(&core);
    QCoreApplication::removeTranslator(&ui);

    QCOMPARE(shownTitle, title);
    QCOMPARE(rig.presenter.informed.size(), 1);
    QCOMPARE(static_cast<int>(rig.mirror.pq[pq::kBrightness]), 61);
    // Sent to the processor (brightness 61 among the parameters), then read back.
    QVERIFY(!rig.sentFrom(mark, CommandCode::SetPictureQuality).empty());
    QCOMPARE(rig.readsSince(mark), kSynchroniseAllReads);

    QCOMPARE(rig.presenter.fileDialogs.size(), 2);
    const FileChoice& save = rig.presenter.fileDialogs[0];
    const FileChoice& open = rig.presenter.fileDialogs[1];
    QCOMPARE(save.mode, FileChoice::Mode::Save);
    QCOMPARE(open.mode, FileChoice::Mode::Open);
    for (const FileChoice& c : {save, open}) {
        QCOMPARE(c.filter, QStringLiteral("KorvaneControl Template File(*.kvt)"));
        QCOMPARE(c.defaultSuffix, QStringLiteral("kvt"));
    }
    QCOMPARE(save.folder, QString());
    QCOMPARE(open.folder, rig.home.path());
}

void TemplateFileTest::overwriteAsksFirst_data() {
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

// Saving over a file asks first; Cancel writes nothing and says nothing.
void TemplateFileTest::overwriteAsksFirst() {
    QFETCH(bool, overwrite);
    TemplateRig rig;
    MainWindow& frame = rig.start();
    const QString path = rig.file(QStringLiteral("old.kvt"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old contents");
    }
    rig.presenter.files = {path};
    rig.presenter.answers = {overwrite};
    frame.runCommand(menucmd::kSaveTemplateFile);
    QCOMPARE(rig.presenter.asked, QStringList{"文件已经存在,是否覆盖?"});
    QCOMPARE(fileBytes(path), overwrite ? templateBytes(rig.mirror) : QByteArray("old contents"));
    QCOMPARE(rig.presenter.informed, overwrite ? QStringList{"文件已保存!"} : QStringList{});
}

void TemplateFileTest::missingFile_data() {
    QTest::addColumn<bool>("throughMenu");
    QTest::newRow("open command") << true;
    QTest::newRow("slot message") << false;
}

// A file that is not there is named as missing; the mirror, the title and the processor stay
// as they were.
void TemplateFileTest::missingFile() {
    QFETCH(bool, throughMenu);
    TemplateRig rig;
    MainWindow& frame = rig.start();
    const QString titleBefore = frame.windowTitle();
    const ParameterMirror before = rig.mirror;
    const std::size_t mark = rig.framesSoFar();
    if (throughMenu) {
        rig.presenter.files = {rig.file(QStringLiteral("nothing.kvt"))};
        frame.runCommand(menucmd::kOpenTemplateFile);
    } else {
        frame.send(FrameMessage::LoadSlotTemplate, 0, 9);
    }
    QCOMPARE(rig.presenter.informed, QStringList{"文件不存在!"});
    QCOMPARE(frame.windowTitle(), titleBefore);
    QVERIFY(std::memcmp(&before, &rig.mirror, sizeof before) == 0);
    QVERIFY(rig.settle());
    QCOMPARE(rig.framesSoFar(), mark);
}

void TemplateFileTest::noTemplateIsRefused_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("throughMenu");
    for (const char* kind : {"empty", "300 bytes", "1029 bytes", "fifo", "endless device"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1, open command").arg(kind)))
            << QString::fromLatin1(kind) << true;
        QTest::newRow(qPrintable(QStringLiteral("%1, slot message").arg(kind)))
            << QString::fromLatin1(kind) << false;
    }
}

// What is no template (shorter than one, a FIFO, a device that never ends) is refused at once
// with the open failure; the mirror, the title and the processor stay as they were.
void TemplateFileTest::noTemplateIsRefused() {
    QFETCH(QString, kind);
    QFETCH(bool, throughMenu);
    TemplateRig rig;
    MainWindow& frame = rig.start();
    const QString path = QString::fromStdString(home_.file("KorvaneTemp9.kvt"));
    QFile::remove(path);
    const QByteArray whole = templateBytes(rig.mirror);
    if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind == QLatin1String("endless device")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(whole.left(kind == QLatin1String("empty") ? 0 : kind.section(' ', 0, 0).toInt()));
    }
    const QString titleBefore = frame.windowTitle();
    const ParameterMirror before = rig.mirror;
    const std::size_t mark = rig.framesSoFar();
    if (throughMenu) {
        rig.presenter.files = {path};
        frame.runCommand(menucmd::kOpenTemplateFile);
    } else {
        frame.send(FrameMessage::LoadSlotTemplate, 0, 9);
    }
    QCOMPARE(rig.presenter.informed, QStringList{"文件打开失败!"});
    QCOMPARE(frame.windowTitle(), titleBefore);
    QVERIFY(std::memcmp(&before, &rig.mirror, sizeof before) == 0);
    QVERIFY(rig.settle());
    QCOMPARE(rig.framesSoFar(), mark);
    QFile::remove(path);
}

// A template without write permission is not replaced: the save says it failed and the old
// file stays.
void TemplateFileTest::readOnlyTemplateIsKept() {
    TemplateRig rig;
    MainWindow& frame = rig.start();
    const QString slot = QString::fromStdString(home_.file("KorvaneTemp6.kvt"));
    QFile::remove(slot);
    {
        QFile f(slot);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1030, 'k'));
    }
    QVERIFY(QFile::setPermissions(slot, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    frame.send(FrameMessage::SaveSlotTemplate, 0, 6);
    QCOMPARE(rig.presenter.informed.last(), QStringLiteral("文件保存失败!"));
    QCOMPARE(fileBytes(slot), QByteArray(1030, 'k'));
    QFile::setPermissions(slot, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::remove(slot);
}

// With the link closed the file still goes into the mirror and the panels; both busy steps
// succeed at once and nothing goes out.
void TemplateFileTest::closedLinkAppliesTheFileAndSendsNothing() {
    TemplateRig rig;
    MainWindow& frame = rig.start();
    ParameterMirror fileMirror = rig.mirror;
    fileMirror.pq[pq::kBrightness] = 33;
    fileMirror.volume = 71;
    const QString path = rig.file(QStringLiteral("KorvaneTemp2.kvt"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(templateBytes(fileMirror));
    }
    rig.link.close();
    const std::size_t mark = rig.framesSoFar();
    const int dialogs = rig.busy.dialogsShown();
    const auto logMark = rig.log.mark();
    rig.presenter.files = {path};
    frame.runCommand(menucmd::kOpenTemplateFile);

    QVERIFY(std::memcmp(&fileMirror, &rig.mirror, sizeof fileMirror) == 0);
    QCOMPARE(frame.windowTitle(), kProgramTitle + " - 模板2");
    QCOMPARE(rig.presenter.informed, QStringList{});
    QCOMPARE(rig.busy.dialogsShown(), dialogs);
    const QStringList calls = rig.log.since(logMark);
    QVERIFY(calls.contains(QStringLiteral("layout.clear")));
    QVERIFY(calls.contains(QStringLiteral("quality.refresh sw=0")));
    QCOMPARE(calls.count(QStringLiteral("quality.refresh sw=0")), 2);
    QVERIFY(rig.settle());
    QCOMPARE(rig.framesSoFar(), mark);
    QCOMPARE(rig.link.sendSwitch(), 1);
}

void TemplateFileTest::failedLoadFromTheOutputPanel_data() {
    QTest::addColumn<bool>("throws");
    QTest::newRow("load throws") << true;
    QTest::newRow("file unreadable") << false;
}

// The output panel's template callback. A load that throws once the file is read says so and
// puts the processor back on resolution 6, then synchronises. A folder is no template: the open
// failure and nothing else, neither the mirror nor the processor has been touched.
void TemplateFileTest::failedLoadFromTheOutputPanel() {
    QFETCH(bool, throws);
    TemplateRig rig;
    ThrowingPanels panels(rig.log);
    rig.realPanels = &panels;
    MainWindow& frame = rig.start();
    QString path = rig.file(QStringLiteral("folder.kvt"));
    if (throws) {
        path = rig.file(QStringLiteral("good.kvt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(templateBytes(rig.mirror));
        panels.centre->armed = true;
    } else {
        QVERIFY(QDir(rig.home.path()).mkdir(QStringLiteral("folder.kvt")));
    }
    rig.facade.setOutputResolution(9);
    QVERIFY(rig.settle());
    const std::size_t mark = rig.framesSoFar();
    const int load = messageNumber(FrameMessage::LoadTemplatePath);
    frame.callbacks().loadTemplateFile(path.toStdString());
    QVERIFY(rig.waitHandled(load));

    if (!throws) {
        QCOMPARE(rig.presenter.informed, QStringList{"文件打开失败!"});
        QVERIFY(rig.settle());
        QCOMPARE(rig.framesSoFar(), mark);
        QCOMPARE(static_cast<int>(rig.mirror.pq[pq::kOutputResolution]), 9);
        return;
    }
    QCOMPARE(rig.presenter.informed, QStringList{"文件打开失败!"});
    QCOMPARE(rig.sentFrom(mark, CommandCode::SetOutputResolution), std::vector<std::uint8_t>{6});
    QCOMPARE(rig.handledCount(messageNumber(FrameMessage::Synchronise)), std::size_t{2});
    QCOMPARE(rig.readsSince(mark).back(), std::uint8_t{8});
    QCOMPARE(static_cast<int>(rig.mirror.pq[pq::kOutputResolution]), 6);
}

// SaveSlotTemplate / LoadSlotTemplate: the slot file in the program directory.
void TemplateFileTest::slotMessagesSaveAndLoad() {
    TemplateRig rig;
    MainWindow& frame = rig.start();
    rig.facade.setVolume(44);
    QVERIFY(rig.settle());
    frame.send(FrameMessage::SaveSlotTemplate, 0, 4);
    const QString slot = QString::fromStdString(home_.file("KorvaneTemp4.kvt"));
    QCOMPARE(fileBytes(slot), templateBytes(rig.mirror));
    QCOMPARE(rig.presenter.informed, QStringList{"文件已保存!"});

    rig.facade.setVolume(10);
    QVERIFY(rig.settle());
    QCOMPARE(frame.send(FrameMessage::LoadSlotTemplate, 0, 4), 1);
    QCOMPARE(static_cast<int>(rig.mirror.volume), 44);
    QCOMPARE(frame.windowTitle(), kProgramTitle + " - 模板4");
    QFile::remove(slot);
}

QTEST_MAIN(TemplateFileTest)
#include "TemplateFileTest.moc"
