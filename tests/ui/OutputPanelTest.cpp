#include "ui/panels/OutputPanel.h"

#include "PanelRig.h"
#include "support/TempFolder.h"
#include "ui/device/SendSwitchOff.h"
#include "ui/frame/IOutputResolutionCallback.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace korvane;
using namespace korvane::ui;
using namespace korvane::ui::test;

namespace {

const QString kQuestion = QStringLiteral("该操作将重置场景,请确认是否改变输出分辨率?");

// Records what the panel asks of the frame.
class RecordingCallback : public IOutputResolutionCallback {
public:
    QStringList calls;
    int changeResolution(std::uint8_t code, int width, int height, int refresh) override {
        calls << QStringLiteral("%1 %2 %3 %4").arg(code).arg(width).arg(height).arg(refresh);
        return 1;
    }
    void loadTemplateFile(const std::string& path) override {
        calls << QString::fromStdString("load " + path);
    }
};

using WindowField = OutputPanel::WindowField;
using CustomField = OutputPanel::CustomField;

struct OutputRig : PanelRig {
    RecordingCallback callback;
    OutputPanel panel{context};
    QPushButton elsewhere{QStringLiteral("elsewhere"), &panel};

    OutputRig() { panel.setResolutionCallback(&callback); }
    bool start(std::uint8_t code = kDefaultResolution, bool refresh = true) {
        if (!connect()) {
            return false;
        }
        mirror.pq[pq::kOutputResolution] = code;
        if (refresh) {
            SendSwitchOff quiet(link);
            panel.refreshFromMirror();
        }
        panel.show();
        return QTest::qWaitForWindowActive(&panel);
    }
    int rowOf(std::uint8_t code) const { return panel.resolutionList().findData(uint{code}); }
    // As the operator picks a list entry.
    void choose(std::uint8_t code) {
        QComboBox& list = panel.resolutionList();
        list.setCurrentIndex(rowOf(code));
        emit list.activated(list.currentIndex());
    }
    std::uint8_t shownCode() const {
        return static_cast<std::uint8_t>(panel.resolutionList().currentData().toUInt());
    }
    // Types into an edit and leaves it by Enter or by moving the focus on.
    void type(QLineEdit& edit, const QString& text, bool enter) {
        typeInto(edit, text, enter ? nullptr : &elsewhere);
    }
    QStringList windowTexts() const {
        QStringList t;
        for (auto f : {WindowField::X, WindowField::Width, WindowField::Y, WindowField::Height}) {
            t << panel.windowEdit(f).text();
        }
        return t;
    }
};

} // namespace

class OutputPanelTest : public QObject {
    Q_OBJECT
    korvane::test::ProgramHome home_;

private slots:
    void refreshShowsTheMirror_data();
    void refreshShowsTheMirror();
    void choosingAnEntry_data();
    void choosingAnEntry();
    void sendingACustomResolution_data();
    void sendingACustomResolution();
    void customEntryRule_data();
    void customEntryRule();
    void pictureOneWindow_data();
    void pictureOneWindow();
    void pictureOneWithinTheCustomSize();
    void closingWithAnEditPendingSendsNothing();
};

void OutputPanelTest::refreshShowsTheMirror_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("customShown");
    QTest::newRow("1920×1080 60Hz") << 11 << 10 << false;
    QTest::newRow("custom") << 128 << 19 << true;
    QTest::newRow("a code the table lacks") << 20 << -1 << false;
}

void OutputPanelTest::refreshShowsTheMirror() {
    QFETCH(int, code);
    QFETCH(int, row);
    QFETCH(bool, customShown);
    OutputRig rig;
    rig.mirror.p1OutX = 100;
    rig.mirror.p1OutWidth = 800;
    rig.mirror.p1OutY = 50;
    rig.mirror.p1OutHeight = 600;
    const std::size_t from = rig.mark();
    QVERIFY(rig.start(static_cast<std::uint8_t>(code)));
    QComboBox& list = rig.panel.resolutionList();
    QCOMPARE(list.count(), 20);
    QCOMPARE(list.itemText(0), QStringLiteral("1024×768 60Hz"));
    QCOMPARE(list.itemText(8), QStringLiteral("1600×1200 60Hz Reduced"));
    QCOMPARE(list.itemText(19), QStringLiteral("定制分辨率"));
    QCOMPARE(list.currentIndex(), row);
    QCOMPARE(rig.panel.customGroup().isVisible(), customShown);
    QCOMPARE(rig.windowTexts(), (QStringList{"100", "800", "50", "600"}));
    if (row >= 0) {
        QCOMPARE(int{rig.panel.currentResolution()}, code);
    }
    QCOMPARE(rig.sentSince(from), QStringList{});
}

void OutputPanelTest::choosingAnEntry_data() {
    QTest::addColumn<bool>("refreshed"); // a selection was confirmed by a refresh
    QTest::addColumn<QList<int>>("chosen");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("customShown");
    QTest::newRow("the first selection goes through unasked")
        << false << QList<int>{11} << true << 0 << QStringList{"11 0 0 0"} << 11 << false;
    QTest::newRow("the current entry again")
        << true << QList<int>{6} << true << 0 << QStringList{} << 6 << false;
    QTest::newRow("another entry, OK")
        << true << QList<int>{11} << true << 1 << QStringList{"11 0 0 0"} << 11 << false;
    QTest::newRow("another entry, Cancel")
        << true << QList<int>{11} << false << 1 << QStringList{} << 6 << false;
    QTest::newRow("the custom entry waits for 发送")
        << true << QList<int>{128} << true << 0 << QStringList{} << 128 << true;
    QTest::newRow("custom, then back to the current entry")
        << true << QList<int>{128, 6} << true << 0 << QStringList{} << 6 << false;
    QTest::newRow("custom, then another entry, Cancel")
        << true << QList<int>{128, 1} << false << 1 << QStringList{} << 6 << false;
}

// The panel asks and calls the frame; the frame sends. The panel itself sends nothing.
void OutputPanelTest::choosingAnEntry() {
    QFETCH(bool, refreshed);
    QFETCH(QList<int>, chosen);
    QFETCH(bool, answer);
    QFETCH(int, questions);
    QFETCH(QStringList, calls);
    QFETCH(int, shown);
    QFETCH(bool, customShown);
    OutputRig rig;
    QVERIFY(rig.start(kDefaultResolution, refreshed));
    if (!refreshed) {
        SendSwitchOff quiet(rig.link);
        rig.panel.resolutionList().addItem(QStringLiteral("1920×1080 60Hz"), uint{11});
    }
    rig.presenter.answers = {answer};
    const std::size_t from = rig.mark();
    for (int code : chosen) {
        rig.choose(static_cast<std::uint8_t>(code));
    }
    QCOMPARE(rig.presenter.asked, QStringList(questions, kQuestion));
    QCOMPARE(rig.callback.calls, calls);
    QCOMPARE(int{rig.shownCode()}, shown);
    QCOMPARE(rig.panel.customGroup().isVisible(), customShown);
    QCOMPARE(rig.sentSince(from), QStringList{});
}

void OutputPanelTest::sendingACustomResolution_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("confirmedBefore");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("typed"); // width, height, refresh
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("first selection, unasked")
        << 128 << false << true << QStringList{} << QStringList{"128 1280 1024 60"};
    QTest::newRow("asked, OK") << 6 << true << true << QStringList{"1920", "1200", "50"}
                               << QStringList{"128 1920 1200 50"};
    QTest::newRow("asked, Cancel")
        << 6 << true << false << QStringList{"1920", "1200", "50"} << QStringList{};
    QTest::newRow("again while custom is current, OK")
        << 128 << true << true << QStringList{"2048", "1536", "60"}
        << QStringList{"128 2048 1536 60"};
    QTest::newRow("corrected before it goes")
        << 6 << true << true << QStringList{"2721", "47", "61"} << QStringList{"128 2720 48 60"};
}

void OutputPanelTest::sendingACustomResolution() {
    QFETCH(int, current);
    QFETCH(bool, confirmedBefore);
    QFETCH(bool, answer);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, calls);
    OutputRig rig;
    QVERIFY(rig.start(static_cast<std::uint8_t>(current), confirmedBefore));
    if (!confirmedBefore) {
        SendSwitchOff quiet(rig.link);
        rig.panel.resolutionList().addItem(QStringLiteral("定制分辨率"), uint{kCustomResolution});
    }
    rig.choose(kCustomResolution);
    QVERIFY(rig.panel.customGroup().isVisible());
    for (qsizetype i = 0; i < typed.size(); ++i) {
        rig.type(rig.panel.customEdit(static_cast<CustomField>(i)), typed[i], false);
    }
    rig.presenter.answers = {answer};
    const std::size_t from = rig.mark();
    QTest::mouseClick(&rig.panel.sendButton(), Qt::LeftButton);
    QCOMPARE(rig.presenter.asked, QStringList(confirmedBefore ? 1 : 0, kQuestion));
    QCOMPARE(rig.callback.calls, calls);
    QCOMPARE(int{rig.shownCode()}, int{kCustomResolution});
    QCOMPARE(rig.sentSince(from), QStringList{});
}

void OutputPanelTest::customEntryRule_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    const int w = 0, h = 1, r = 2;
    QTest::newRow("empty refresh") << r << ""
                                   << "30";
    QTest::newRow("width 2721") << w << "2721"
                                << "2720";
    QTest::newRow("width 63") << w << "63"
                              << "64";
    QTest::newRow("width 2719 goes up") << w << "2719"
                                        << "2720";
    QTest::newRow("empty width") << w << ""
                                 << "64";
    QTest::newRow("height 47") << h << "47"
                               << "48";
    QTest::newRow("height 1921") << h << "1921"
                                 << "1920";
    QTest::newRow("height 1081") << h << "1081"
                                 << "1082";
    QTest::newRow("refresh 59") << r << "59"
                                << "60";
    QTest::newRow("refresh 61") << r << "61"
                                << "60";
    QTest::newRow("refresh 29") << r << "29"
                                << "30";
}

// On focus loss, without any message and without sending.
void OutputPanelTest::customEntryRule() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    OutputRig rig;
    QVERIFY(rig.start(kCustomResolution));
    QLineEdit& edit = rig.panel.customEdit(static_cast<CustomField>(field));
    const std::size_t from = rig.mark();
    rig.type(edit, typed, false);
    QCOMPARE(edit.text(), kept);
    QVERIFY(rig.presenter.informed.isEmpty() && rig.presenter.asked.isEmpty());
    QVERIFY(rig.callback.calls.isEmpty());
    QCOMPARE(rig.sentSince(from), QStringList{});
}

void OutputPanelTest::pictureOneWindow_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QList<int>>("window"); // mirror x, w, y, h
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QStringList>("shown"); // x, w, y, h
    QTest::addColumn<QStringList>("sent");
    const int x = 0, w = 1, y = 2, h = 3;
    const QList<int> full{0, 1280, 0, 1024};
    QTest::newRow("width 1000 at 500 on 1280 gives 780")
        << 6 << QList<int>{500, 200, 0, 1024} << w << "1000" << true
        << QStringList{"500", "780", "0", "1024"} << QStringList{"04 01 F4 00 00 03 0C 04 00"};
    QTest::newRow("position 500 under width 1000 gives 280")
        << 6 << QList<int>{0, 1000, 0, 1024} << x << "500" << false
        << QStringList{"280", "1000", "0", "1024"} << QStringList{"04 01 18 00 00 03 E8 04 00"};
    QTest::newRow("height 900 at 200 on 1024 gives 824")
        << 6 << QList<int>{0, 1280, 200, 100} << h << "900" << false
        << QStringList{"0", "1280", "200", "824"} << QStringList{"04 00 00 00 C8 05 00 03 38"};
    QTest::newRow("width cut at the right edge stops at 64 and the position gives way")
        << 6 << QList<int>{1240, 40, 0, 1024} << w << "100" << true
        << QStringList{"1216", "64", "0", "1024"} << QStringList{"04 04 C0 00 00 00 40 04 00"};
    QTest::newRow("height cut at the bottom stops at 48 and the position gives way")
        << 6 << QList<int>{0, 1280, 1000, 24} << h << "48" << true
        << QStringList{"0", "1280", "976", "48"} << QStringList{"04 00 00 03 D0 05 00 00 30"};
    QTest::newRow("vertical position 300 under height 1024 is the window it was")
        << 6 << full << y << "300" << true << QStringList{"0", "1280", "0", "1024"}
        << QStringList{};
    QTest::newRow("odd width goes up")
        << 6 << full << w << "641" << true << QStringList{"0", "642", "0", "1024"}
        << QStringList{"04 00 00 00 00 02 82 04 00"};
    QTest::newRow("width below 64")
        << 6 << full << w << "10" << false << QStringList{"0", "64", "0", "1024"}
        << QStringList{"04 00 00 00 00 00 40 04 00"};
    QTest::newRow("empty height is 48")
        << 6 << full << h << "" << false << QStringList{"0", "1280", "0", "48"}
        << QStringList{"04 00 00 00 00 05 00 00 30"};
    QTest::newRow("width above the output is the window it was")
        << 6 << full << w << "1281" << true << QStringList{"0", "1280", "0", "1024"}
        << QStringList{};
    QTest::newRow("emptied position at 0 shows 0 again")
        << 6 << full << x << "" << true << QStringList{"0", "1280", "0", "1024"} << QStringList{};
    QTest::newRow("the position the mirror holds does nothing")
        << 6 << QList<int>{100, 640, 0, 480} << x << "100" << true
        << QStringList{"100", "640", "0", "480"} << QStringList{};
    QTest::newRow("on 1920×1080") << 11 << QList<int>{0, 1920, 0, 1080} << h << "1079" << true
                                  << QStringList{"0", "1920", "0", "1080"} << QStringList{};
    QTest::newRow("on 1920×1080, smaller")
        << 11 << QList<int>{0, 1920, 0, 1080} << h << "541" << true
        << QStringList{"0", "1920", "0", "542"} << QStringList{"04 00 00 00 00 07 80 02 1E"};
    QTest::newRow("a code the table lacks leaves the edits inert")
        << 20 << full << w << "641" << true << QStringList{"0", "641", "0", "1024"}
        << QStringList{};
}

// One command per edit, with the window the edits show afterwards.
void OutputPanelTest::pictureOneWindow() {
    QFETCH(int, code);
    QFETCH(QList<int>, window);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, sent);
    OutputRig rig;
    rig.mirror.p1OutX = window[0];
    rig.mirror.p1OutWidth = window[1];
    rig.mirror.p1OutY = window[2];
    rig.mirror.p1OutHeight = window[3];
    QVERIFY(rig.start(static_cast<std::uint8_t>(code)));
    const std::size_t from = rig.mark();
    rig.type(rig.panel.windowEdit(static_cast<WindowField>(field)), typed, enter);
    QCOMPARE(rig.windowTexts(), shown);
    QCOMPARE(rig.sentSince(from), sent);
    if (!sent.isEmpty()) {
        const auto& sim = rig.server.state().mirror;
        QCOMPARE(
            (QList<int>{sim.p1OutX, sim.p1OutWidth, sim.p1OutY, sim.p1OutHeight}),
            (QList<int>{shown[0].toInt(), shown[1].toInt(), shown[2].toInt(), shown[3].toInt()}));
    }
    QVERIFY(rig.presenter.informed.isEmpty());
}

// While the custom resolution is current, picture 1 stays within the custom size last sent.
void OutputPanelTest::pictureOneWithinTheCustomSize() {
    OutputRig rig;
    QVERIFY(rig.start(kCustomResolution));
    QCOMPARE(rig.panel.outputSize(), QSize(1280, 1024)); // the custom edits' first size
    rig.type(rig.panel.customEdit(CustomField::Width), QStringLiteral("1920"), false);
    rig.type(rig.panel.customEdit(CustomField::Height), QStringLiteral("1200"), false);
    QCOMPARE(rig.panel.outputSize(), QSize(1280, 1024)); // typed is not sent
    QTest::mouseClick(&rig.panel.sendButton(), Qt::LeftButton);
    QCOMPARE(rig.callback.calls, QStringList{"128 1920 1200 60"});
    QCOMPARE(rig.panel.outputSize(), QSize(1920, 1200));

    const std::size_t from = rig.mark();
    rig.type(rig.panel.windowEdit(WindowField::Width), QStringLiteral("2000"), true);
    rig.type(rig.panel.windowEdit(WindowField::Height), QStringLiteral("1300"), true);
    QCOMPARE(rig.windowTexts(), (QStringList{"0", "1920", "0", "1200"}));
    QCOMPARE(rig.sentSince(from),
             (QStringList{"04 00 00 00 00 07 80 04 00", "04 00 00 00 00 07 80 04 B0"}));
}

// The focused edit loses the focus while the panel goes; that is no commit.
void OutputPanelTest::closingWithAnEditPendingSendsNothing() {
    PanelRig rig;
    QVERIFY(rig.connect());
    auto panel = std::make_unique<OutputPanel>(rig.context);
    {
        SendSwitchOff quiet(rig.link);
        panel->refreshFromMirror();
    }
    panel->show();
    QVERIFY(QTest::qWaitForWindowActive(panel.get()));
    QLineEdit& width = panel->windowEdit(WindowField::Width);
    width.setFocus();
    width.selectAll();
    QTest::keyClicks(&width, QStringLiteral("700"));
    const std::size_t from = rig.mark();
    panel.reset();
    QCOMPARE(rig.sentSince(from), QStringList{});
    QCOMPARE(rig.mirror.p1OutWidth, 1280);
}

QTEST_MAIN(OutputPanelTest)
#include "OutputPanelTest.moc"
