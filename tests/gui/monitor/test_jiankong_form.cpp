// The monitor window driven as the user and the main window drive it: settings, switching
// monitoring on and off, the copy button, the alarm and closing and reopening.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "gui/monitor/MonitorGrid.h"
#include "support_monitor.h"

using namespace zuohao;
using namespace zuohao::gui;
using namespace zuohao::gui::test;

namespace {
const QString kStart = QStringLiteral("开始监控");
const QString kStop = QStringLiteral("停止监控");
} // namespace

class TestJianKongForm : public QObject {
    Q_OBJECT
private slots:
    void startUpSelectsValidEntries();
    void copyBaseWithEmptyBoxDoesNothing();
    void copyBaseCopiesRunningPlanBase();
    void playsound_data();
    void playsound();
    void switchingOnWithoutBaseShowsMessage();
    void switchingOffKeepsGridAndFreesPeriodList();
    void kasiBindsPeriodListAndLockPeriod();
    void stopCaptionSurvivesRedrawsWhileMonitoring();
    void listsDoNotGrowAcrossRedraws();
    void closeAndReopenKeepsSettingsCaptionsAndLog();
    void settingsAreReadOnceAsNumbers();
};

void TestJianKongForm::startUpSelectsValidEntries() {
    MonitorRig rig;
    rig.form->prepareAtStartUp();
    QVERIFY(rig.form->isLoaded());
    QVERIFY(!rig.form->isVisible());
    const char* expected[4] = {"1", "1", "1", "0"};
    for (int i = 0; i < 4; ++i) {
        auto* box = rig.child<QComboBox>(QStringLiteral("SZCom_%1").arg(i));
        QVERIFY(box);
        QCOMPARE(box->count(), 31);
        QCOMPARE(box->itemText(30), QStringLiteral("30"));
        QCOMPARE(box->currentText(), QString::fromLatin1(expected[i]));
        QCOMPARE(rig.state.SegmentSettings[std::size_t(i)], std::atoi(expected[i]));
    }
    QCOMPARE(rig.state.SavedStartCaption(), std::string("开始监控"));
    QCOMPARE(rig.child<QPushButton>(QStringLiteral("jiankongCom"))->text(), kStart);
}

void TestJianKongForm::copyBaseWithEmptyBoxDoesNothing() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMH"); // the plan of period 6 ended with a hit: no plan runs
    rig.form->ReashStar();
    rig.seams.clipboard = QStringLiteral("kept");
    auto* copy = rig.child<QPushButton>("DadiCom");
    QCOMPARE(copy->text(), QStringLiteral("复制大底"));
    QVERIFY(rig.child<QPlainTextEdit>("DadiTextBox")->toPlainText().isEmpty());
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(rig.seams.clipboardWrites, 0);
    QCOMPARE(rig.seams.clipboard, QStringLiteral("kept"));
}

void TestJianKongForm::copyBaseCopiesRunningPlanBase() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMM"); // alarm on the last period: a plan runs
    rig.form->ReashStar();
    auto* copy = rig.child<QPushButton>("DadiCom");
    QCOMPARE(copy->text(), QStringLiteral("复制大底 2注"));
    QCOMPARE(rig.child<QLabel>(QStringLiteral("计划Label"))->text(),
             QStringLiteral("【第 1 期】进行中……"));
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(rig.seams.clipboardWrites, 1);
    QCOMPARE(rig.seams.clipboard, QString::fromLatin1(kBase));
}

void TestJianKongForm::playsound_data() {
    QTest::addColumn<QString>("draws");
    QTest::addColumn<bool>("soundOn");
    QTest::addColumn<int>("alarms");
    QTest::newRow("alarm due, sound on") << "HMMHMM" << true << 1;
    QTest::newRow("alarm due, sound off") << "HMMHMM" << false << 0;
    QTest::newRow("plan running, no new alarm") << "HMMHMMM" << true << 0;
    QTest::newRow("no alarm") << "HMMHM" << true << 0;
    QTest::newRow("plan ended") << "HMMHMMH" << true << 0;
}

void TestJianKongForm::playsound() {
    QFETCH(QString, draws);
    QFETCH(bool, soundOn);
    QFETCH(int, alarms);
    MonitorRig rig;
    rig.chooseSettings();
    auto* sound = rig.child<QCheckBox>("CheckSound");
    QVERIFY(sound->isChecked());
    if (!soundOn) QTest::mouseClick(sound, Qt::LeftButton, {}, QPoint(4, sound->height() / 2));
    QCOMPARE(sound->isChecked(), soundOn);
    rig.feed(draws.toStdString());
    rig.form->ReashStar();
    rig.form->Playsound(rig.lottery);
    QCOMPARE(rig.seams.alarms, alarms);
}

void TestJianKongForm::switchingOnWithoutBaseShowsMessage() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHH");
    rig.setMainBase(NumberList());
    rig.form->Kasi();
    auto* start = rig.child<QPushButton>("jiankongCom");
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(rig.seams.messages, QStringList{QStringLiteral("未有【过滤大底】，先去做出大底")});
    QCOMPARE(start->text(), kStart);
    QVERIFY(!rig.state.Monitoring);
    QVERIFY(rig.child<QComboBox>("QSCom")->isEnabled());
    QCOMPARE(rig.gridRows(), 0);
    // An automatic restart (the refresh cycle's) shows no box: it reports the reason.
    QStringList skipped;
    QObject::connect(rig.form.get(), &JianKongForm::restartSkipped,
                     [&](const QString& why) { skipped << why; });
    rig.form->ReashStar();
    QCOMPARE(rig.seams.messages.size(), 1);
    QCOMPARE(skipped, QStringList{QStringLiteral("监控未重启：未有【过滤大底】，先去做出大底")});
    QCOMPARE(start->text(), kStart);
}

void TestJianKongForm::switchingOffKeepsGridAndFreesPeriodList() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHH");
    rig.form->Kasi();
    auto* start = rig.child<QPushButton>("jiankongCom");
    auto* periods = rig.child<QComboBox>("QSCom");
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(rig.state.Monitoring);
    QCOMPARE(start->text(), kStop);
    QVERIFY(!periods->isEnabled());
    const auto shown = gridTexts(rig);
    QCOMPARE(shown.size(), 8);
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(!rig.state.Monitoring);
    QCOMPARE(start->text(), kStart);
    QVERIFY(periods->isEnabled());
    QCOMPARE(gridTexts(rig), shown);
    QVERIFY(rig.seams.messages.isEmpty());
}

void TestJianKongForm::kasiBindsPeriodListAndLockPeriod() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHH");
    rig.form->Kasi();
    auto* periods = rig.child<QComboBox>("QSCom");
    QCOMPARE(periods->count(), 8);
    QCOMPARE(periods->itemText(0), QString::fromStdString(periodLabel(1)));
    QCOMPARE(rig.state.LockPeriod.text(), periodLabel(1));
    // The user locks the fourth period: the replay starts there.
    periods->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(periods, Qt::Key_Down);
    QCOMPARE(rig.state.LockPeriod.text(), periodLabel(4));
    rig.form->ReashStar();
    QCOMPARE(rig.cell(0, 3), QString()); // periods before the lock are blank rows
    QCOMPARE(rig.cell(3, 3), QStringLiteral("中"));
    // While monitoring, a redraw keeps the locked period.
    rig.feed("M");
    rig.form->Kasi();
    QCOMPARE(periods->count(), 9);
    QCOMPARE(periods->currentText(), QString::fromStdString(periodLabel(4)));
    QCOMPARE(rig.state.LockPeriod.text(), periodLabel(4));
}

void TestJianKongForm::stopCaptionSurvivesRedrawsWhileMonitoring() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMM"); // alarm: a plan runs, so the refresh cycle restarts nothing
    rig.form->Kasi();
    auto* start = rig.child<QPushButton>("jiankongCom");
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(rig.state.PlanRunning);
    rig.feed("M");
    rig.form->Kasi();
    QCOMPARE(start->text(), kStop);
    QCOMPARE(rig.child<QLabel>(QStringLiteral("计划Label"))->text(),
             QStringLiteral("【第 2 期】进行中……"));
    QVERIFY(!rig.child<QComboBox>("QSCom")->isEnabled());
}

void TestJianKongForm::listsDoNotGrowAcrossRedraws() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHHMH");
    for (int i = 0; i < 25; ++i)
        rig.form->Kasi();
    rig.form->ReashStar();
    for (int i = 0; i < 25; ++i)
        rig.form->Kasi(); // while monitoring: reloads too
    QCOMPARE(rig.child<QComboBox>("QSCom")->count(), 10);
    for (int i = 0; i < 4; ++i) {
        auto* box = rig.child<QComboBox>(QStringLiteral("SZCom_%1").arg(i));
        QCOMPARE(box->count(), 31);
    }
    // The reloads kept the chosen settings.
    QCOMPARE(rig.child<QComboBox>("SZCom_1")->currentText(), QStringLiteral("30"));
    QCOMPARE(rig.child<QComboBox>("SZCom_3")->currentText(), QStringLiteral("2"));
    QCOMPARE(rig.state.SegmentSettings[1], 30);
}

void TestJianKongForm::closeAndReopenKeepsSettingsCaptionsAndLog() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMM");
    rig.form->Kasi();
    rig.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
    QTest::mouseClick(rig.child<QPushButton>("jiankongCom"), Qt::LeftButton);
    // The plan of period 6 misses three periods (logged), then a new period comes.
    rig.feed("MMM");
    rig.form->Kasi();
    rig.feed("H");
    rig.form->Kasi();
    rig.form->Playsound(rig.lottery);
    rig.form->ReashStar();
    const QString log = QString::fromStdString(periodLabel(9)) + QStringLiteral("期 --- 挂");
    QCOMPARE(rig.child<QPlainTextEdit>(QStringLiteral("记录"))->toPlainText(), log);
    const auto grid = gridTexts(rig);
    QCOMPARE(grid.size(), 10);

    rig.form->close();
    QVERIFY(!rig.form->isVisible());
    QCOMPARE(rig.state.SavedStartCaption(), std::string("停止监控"));
    QVERIFY(rig.state.Monitoring);

    rig.form->Kasi();
    rig.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
    QCOMPARE(rig.child<QPushButton>("jiankongCom")->text(), kStop);
    QCOMPARE(rig.child<QComboBox>("SZCom_0")->currentText(), QStringLiteral("0"));
    QCOMPARE(rig.child<QComboBox>("SZCom_1")->currentText(), QStringLiteral("30"));
    QCOMPARE(rig.child<QComboBox>("SZCom_2")->currentText(), QStringLiteral("3"));
    QCOMPARE(rig.child<QComboBox>("SZCom_3")->currentText(), QStringLiteral("2"));
    QCOMPARE(rig.child<QLineEdit>("ZhuoQiTxt")->text(), QStringLiteral("5"));
    QCOMPARE(rig.child<QComboBox>("QSCom")->currentText(), QString::fromStdString(periodLabel(1)));
    QCOMPARE(rig.child<QPlainTextEdit>(QStringLiteral("记录"))->toPlainText(), log);
    QCOMPARE(gridTexts(rig), grid);

    // A running plan's label and base set come back too.
    rig.feed("MHMMHMM");
    rig.form->ReashStar();
    QVERIFY(rig.state.PlanRunning);
    const QString plan = rig.child<QLabel>(QStringLiteral("计划Label"))->text();
    QVERIFY(!plan.isEmpty());
    rig.form->close();
    rig.form->show();
    QCOMPARE(rig.child<QLabel>(QStringLiteral("计划Label"))->text(), plan);
    QCOMPARE(rig.child<QPlainTextEdit>("DadiTextBox")->toPlainText(), QString::fromLatin1(kBase));
    QCOMPARE(rig.child<QPushButton>("DadiCom")->text(), QStringLiteral("复制大底 2注"));
}

// What the player picks or types is read into the state once, as numbers; the boxes show
// the state when the window loads again.
void TestJianKongForm::settingsAreReadOnceAsNumbers() {
    MonitorRig rig;
    rig.form->prepareAtStartUp();
    auto* length = rig.child<QLineEdit>("ZhuoQiTxt");
    const struct {
        const char* typed;
        int value;
        const char* shownAgain;
    } cases[] = {{"12", 12, "12"}, {"7x", 7, "7"}, {"x", 0, ""}, {"", 0, ""}};
    for (const auto& c : cases) {
        length->clear();
        QTest::keyClicks(length, QString::fromLatin1(c.typed));
        QCOMPARE(rig.state.SegmentPeriod, c.value);
        rig.form->show();
        rig.form->close();
        rig.form->Kasi(); // loads the window again from the state
        QCOMPARE(length->text(), QString::fromLatin1(c.shownAgain));
    }
    auto* plan = rig.child<QComboBox>("SZCom_2");
    plan->setCurrentIndex(9);
    emit plan->activated(9);
    QCOMPARE(rig.state.SegmentSettings[2], 9);
}

QTEST_MAIN(TestJianKongForm)
#include "test_jiankong_form.moc"
