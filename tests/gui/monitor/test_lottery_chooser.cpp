// The 彩种 list of the monitor window: it lists the lotteries in tab order, the window shows
// and sets the chosen lottery's monitor, and an alarm names the lottery that raised it.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "support_monitor.h"

using namespace zuohao;
using namespace zuohao::gui;
using namespace zuohao::gui::test;

namespace {
const QString kFirst = QStringLiteral("腾讯分分彩");
const QString kSecond = QStringLiteral("VR3分彩");

// The rig's lottery and a second one, each with draws of its own; the window lists both.
struct TwoRig : MonitorRig {
    LotteryClass other;
    TwoRig() {
        lottery.setName(kFirst.toStdString());
        other.setName(kSecond.toStdString());
        other.setPositionIndex(9);
        other.setBaseSet(NumberList::read(kBase, false).list);
        tabs.push_back(&other);
        form->lotteriesChanged();
    }
    QComboBox* chooser() const { return child<QComboBox>(QStringLiteral("LotteryChooser")); }
    // Picks a lottery in the list with the keys, as the player does.
    void pick(int index) {
        QComboBox* box = chooser();
        box->setFocus();
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index)
            QTest::keyClick(box, Qt::Key_Up);
    }
    void feedOther(const std::string& pattern, int from) {
        for (char c : pattern)
            other.ProcessDraw(periodLabel(from++), c == 'H' ? kHitDraw : kMissDraw);
    }
    QString alarmNote() const { return child<QLabel>(QStringLiteral("AlarmNote"))->text(); }
};
} // namespace

class TestLotteryChooser : public QObject {
    Q_OBJECT
private slots:
    void listsTheLotteriesInTabOrder() {
        TwoRig rig;
        QComboBox* box = rig.chooser();
        QVERIFY(box);
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(0), kFirst);
        QCOMPARE(box->itemText(1), kSecond);
        QCOMPARE(rig.form->lottery(), &rig.lottery);
        auto* caption = rig.child<QLabel>(QStringLiteral("LotteryLabel"));
        QCOMPARE(caption->text(), QStringLiteral("彩种"));
        QCOMPARE(caption->buddy(), box);
        QCOMPARE(box->accessibleName(), QStringLiteral("彩种"));
        QVERIFY(!box->accessibleDescription().isEmpty());
        // Start-up gives every lottery's monitor the first one's entries.
        rig.form->prepareAtStartUp();
        QCOMPARE(rig.other.monitor().SegmentSettings, (std::array<int, 4>{1, 1, 1, 0}));
        QCOMPARE(rig.state.SegmentSettings, rig.other.monitor().SegmentSettings);

        // Renamed, removed, added: the choice stays while its lottery is listed.
        rig.pick(1);
        rig.other.setName("新彩种");
        rig.form->lotteriesChanged();
        QCOMPARE(box->currentText(), QStringLiteral("新彩种"));
        QCOMPARE(rig.form->lottery(), &rig.other);
        rig.tabs = {&rig.lottery};
        rig.form->lotteriesChanged();
        QCOMPARE(box->count(), 1);
        QCOMPARE(rig.form->lottery(), &rig.lottery);
    }

    // The window shows the chosen lottery's monitor: rows, start caption, settings, log; a
    // switch made there changes that lottery's monitor only.
    void theChoiceSwitchesWhatTheWindowShows() {
        TwoRig rig;
        rig.chooseSettings();
        rig.feed("HMMHMMHH");
        rig.feedOther("MMMHM", 1);
        rig.form->Kasi();
        QTest::mouseClick(rig.child<QPushButton>("jiankongCom"), Qt::LeftButton);
        QVERIFY(rig.state.Monitoring);
        const auto firstGrid = gridTexts(rig);
        QCOMPARE(firstGrid.size(), 8);
        rig.other.monitor().SegmentPeriod = 7;
        rig.other.monitor().Log.push_back({Period(3), {PlanMark::Miss, 0}, {}});

        rig.pick(1);
        QCOMPARE(rig.form->lottery(), &rig.other);
        auto* start = rig.child<QPushButton>("jiankongCom");
        QCOMPARE(rig.gridRows(), 0);
        QCOMPARE(start->text(), QStringLiteral("开始监控"));
        QCOMPARE(rig.child<QLineEdit>("ZhuoQiTxt")->text(), QStringLiteral("7"));
        QCOMPARE(rig.child<QPlainTextEdit>(QStringLiteral("记录"))->toPlainText(),
                 QStringLiteral("3期 --- 挂"));
        QCOMPARE(rig.child<QComboBox>("QSCom")->count(), 5);

        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(rig.other.monitor().Monitoring);
        QCOMPARE(rig.gridRows(), 5);
        QCOMPARE(rig.cell(4, 1), QStringLiteral("0005"));
        QCOMPARE(rig.state.SegmentPeriod, 5); // the first lottery keeps its own settings

        rig.pick(0);
        QCOMPARE(gridTexts(rig), firstGrid);
        QCOMPARE(start->text(), QStringLiteral("停止监控"));
        QCOMPARE(rig.child<QLineEdit>("ZhuoQiTxt")->text(), QStringLiteral("5"));
        QVERIFY(rig.child<QPlainTextEdit>(QStringLiteral("记录"))->toPlainText().isEmpty());
        QTest::mouseClick(start, Qt::LeftButton); // off: the first one only
        QVERIFY(!rig.state.Monitoring);
        QVERIFY(rig.other.monitor().Monitoring);
    }

    // An alarm sounds whichever lottery raised it and the note names that lottery; the chosen
    // lottery's note comes first.
    void alarmNamesItsLottery_data() {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("firstAlarms");
        QTest::addColumn<bool>("secondAlarms");
        QTest::addColumn<int>("sounds");
        QTest::addColumn<QStringList>("notes");
        const QString first = kFirst + QStringLiteral(" 告警：第 11 期");
        const QString second = kSecond + QStringLiteral(" 告警：第 22、23 期");
        QTest::newRow("first, shown") << 0 << true << false << 1 << QStringList{first};
        QTest::newRow("second, not shown") << 0 << false << true << 1 << QStringList{second};
        QTest::newRow("both, second shown") << 1 << true << true << 2 << QStringList{second, first};
        QTest::newRow("none") << 1 << false << false << 0 << QStringList{};
    }
    void alarmNamesItsLottery() {
        QFETCH(int, chosen);
        QFETCH(bool, firstAlarms);
        QFETCH(bool, secondAlarms);
        QFETCH(int, sounds);
        QFETCH(QStringList, notes);
        TwoRig rig;
        rig.form->prepareAtStartUp();
        rig.state.Monitoring = rig.other.monitor().Monitoring = true;
        rig.pick(chosen);
        using Periods = std::vector<std::string>;
        rig.form->Playsound(rig.lottery, firstAlarms ? Periods{"11"} : Periods{});
        rig.form->Playsound(rig.other, secondAlarms ? Periods{"22", "23"} : Periods{});
        QCOMPARE(rig.seams.alarms, sounds);
        QCOMPARE(rig.alarmNote(), notes.join(QLatin1Char('\n')));
        // The next refresh of the first lottery without an alarm clears its note only.
        rig.form->Playsound(rig.lottery, {});
        QCOMPARE(rig.alarmNote().contains(kFirst), false);
        QCOMPARE(rig.alarmNote().contains(kSecond), secondAlarms);
    }
};

QTEST_MAIN(TestLotteryChooser)
#include "test_lottery_chooser.moc"
