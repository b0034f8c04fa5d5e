// The main window following several lotteries at once, each from its own draw file: two
// writer threads write two files side by side while one of them fails for a while (its file
// gone, or garbled); every draw of each lottery enters that lottery and its archive rows in
// order, the failing file holds nothing else up and the messages name the right lottery. A
// restart brings every lottery's draw file and conditions back; a changed list remaps the tabs.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/acquire/DrawFeed.h"
#include "gui/app/ArchiveLink.h"
#include "gui/app/NotifyLink.h"
#include "gui/app/TabLabel.h"
#include "gui/app/TabStrip.h"
#include "gui/common/DrawSources.h"
#include "gui/common/LastingNote.h"
#include "gui/common/LotterySettings.h"
#include "gui/common/SavedWork.h"
#include "gui/common/Settings.h"
#include "gui/lotteries/LotterySettingsWindow.h"
#include "gui/monitor/JianKongForm.h"
#include "notify/NotificationCenter.h"
#include "support_fixture.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {
const QString kOwnName = QStringLiteral("重庆时时彩");

enum class Failure { Missing, Garbled };

// A writer thread: one more draw per write. The failing one, from its fifth write on, leaves
// its file gone or garbled till `recover` says so; the other holds at its middle till the gap
// has begun, so that it still has draws to write while the first fails.
struct Writer {
    QString path;
    std::vector<Draw> draws;
    bool fails = false;
    Failure failure = Failure::Missing;
    const std::atomic<bool>* holdTill = nullptr;
    std::atomic<bool> inGap{false};
    std::atomic<bool> gapBegun{false};
    std::atomic<bool> recover{false};
    std::atomic<bool> done{false};
    std::thread thread;

    static constexpr std::size_t kGapAt = 5;
    void waitFor(const std::atomic<bool>& flag) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!flag && !recover && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    void start() {
        thread = std::thread([this] {
            for (std::size_t n = 2; n <= draws.size(); ++n) {
                if (holdTill && n == draws.size() / 2) waitFor(*holdTill);
                if (fails && n == kGapAt) {
                    inGap = true;
                    if (failure == Failure::Missing)
                        QFile::remove(path);
                    else {
                        QFile junk(path);
                        if (junk.open(QIODevice::WriteOnly)) junk.write("\x01\x02 not a draw\r\n");
                    }
                    gapBegun = true;
                    waitFor(recover);
                    inGap = false;
                }
                FormFixture::writeDrawFile(path, {draws.begin(), draws.begin() + long(n)});
                std::this_thread::sleep_for(std::chrono::milliseconds(8)); // the writer's pace
            }
            done = true;
        });
    }
    ~Writer() {
        recover = true;
        if (thread.joinable()) thread.join();
    }
};

std::vector<std::string> archived(LotteryForm& form, const std::string& lottery) {
    DrawSourceCopy source{form.archiveLink()->path().toStdString(), lottery, {}};
    std::vector<std::string> out;
    if (auto draws = ReadDraws(source, 0))
        for (const DrawLine& d : *draws)
            out.push_back(d.qishu + " " + d.haoma);
    return out;
}

std::vector<std::string> expected(const std::vector<Draw>& draws) {
    std::vector<std::string> out;
    for (const Draw& d : draws)
        out.push_back((d.qishu + QLatin1Char(' ') + d.haoma).toStdString());
    return out;
}

std::vector<std::string> held(const LotteryClass& lot) {
    std::vector<std::string> out;
    for (const auto& [label, haoma] : lot.monitorPeriods())
        out.push_back(label + " " + haoma);
    return out;
}

QString status(FormFixture& f) {
    return f.child<QLabel>("showLabel")->text();
}
} // namespace

class TestManyLotteries : public QObject {
    Q_OBJECT
private slots:
    void twoWritersAtOnce_data() {
        QTest::addColumn<int>("failing"); // the index of the lottery whose file fails
        QTest::addColumn<int>("failure");
        QTest::newRow("first-missing") << 0 << int(Failure::Missing);
        QTest::newRow("own-missing") << 2 << int(Failure::Missing);
        QTest::newRow("own-garbled") << 2 << int(Failure::Garbled);
    }
    void twoWritersAtOnce() {
        QFETCH(int, failing);
        QFETCH(int, failure);
        FormFixture f;
        Writer writers[2];
        writers[0].path = f.drawPath();
        writers[0].draws = FormFixture::makeDraws(40, 202612080001);
        writers[1].path = f.dir.filePath(QStringLiteral("own.txt"));
        writers[1].draws = FormFixture::makeDraws(40, 202612090001);
        Writer& bad = writers[failing == 0 ? 0 : 1];
        Writer& good = writers[failing == 0 ? 1 : 0];
        const int goodIndex = failing == 0 ? 2 : 0;
        bad.fails = true;
        bad.failure = Failure(failure);
        good.holdTill = &bad.gapBegun;
        for (Writer& w : writers)
            FormFixture::writeDrawFile(w.path, {w.draws.front()});
        f.keepLotteries({{kOwnName, writers[1].path}});
        LotteryForm& form = f.start(f.defaultOptions());
        form.getNewTimer()->stop(); // the ticks below stand in for it, faster
        QCOMPARE(form.lotteryCount(), 3);
        QCOMPARE(form.Lotteries(2).name(), kOwnName.toStdString());
        QSignalSpy notices(&form.notifyLink()->center(),
                           &notify::NotificationCenter::desktopNotice);
        LotteryClass& badLot = form.Lotteries(failing);
        LotteryClass& goodLot = form.Lotteries(goodIndex);

        for (Writer& w : writers)
            w.start();
        std::size_t goodAtGap = 0;
        bool goodMovedInGap = false;
        QElapsedTimer clock;
        clock.start();
        while (!(writers[0].done && writers[1].done) && clock.elapsed() < 90000) {
            form.GetNewTimer_Timer();
            QTest::qWait(3 + int(clock.elapsed() % 5));
            const std::size_t goodCount = goodLot.monitorPeriods().Count();
            if (bad.inGap && goodAtGap == 0) goodAtGap = goodCount;
            if (bad.inGap && goodAtGap > 0 && goodCount > goodAtGap) goodMovedInGap = true;
            // The gap lasts till the failing file has raised its alarm and the other lottery
            // has taken draws meanwhile.
            if (bad.inGap && badLot.feedStatus().alarm && goodMovedInGap) bad.recover = true;
        }
        QVERIFY2(writers[0].done && writers[1].done, "the writers did not finish");
        QVERIFY2(goodMovedInGap, "the other lottery waited for the failing file");
        // The last writes are read by the ticks that follow.
        QTRY_VERIFY(
            (form.GetNewTimer_Timer(), held(form.Lotteries(0)) == expected(writers[0].draws) &&
                                           held(form.Lotteries(2)) == expected(writers[1].draws)));
        QVERIFY(!form.Lotteries(1).hasHistory()); // VR3分彩 has no file and takes nothing

        // The archive keeps each lottery's draws under its own name, in order.
        QTRY_VERIFY(form.archiveLink()->waiting() == 0 && !form.archiveLink()->writing());
        QCOMPARE(archived(form, "腾讯分分彩"), expected(writers[0].draws));
        QCOMPARE(archived(form, kOwnName.toStdString()), expected(writers[1].draws));

        // The failing file's trouble and recovery are told of its own lottery only.
        const QString badName = QString::fromStdString(badLot.name());
        const QString goodName = QString::fromStdString(goodLot.name());
        QStringList trouble;
        for (const QList<QVariant>& n : notices)
            if (n[0].toString() == QStringLiteral("开奖源异常")) trouble << n[1].toString();
        QCOMPARE(trouble.size(), 1);
        QVERIFY2(trouble[0].contains(badName), qPrintable(trouble[0]));
        QVERIFY(!trouble[0].contains(goodName));
        QCOMPARE(f.seams.fileAsked, 0);
        QVERIFY(f.seams.messages.isEmpty());
    }

    void anAlarmOutOfSightMarksItsTab() {
        FormFixture f;
        auto draws = FormFixture::makeDraws(120);
        std::vector<Draw> shown(draws.begin(), draws.begin() + 40);
        f.writeDraws(shown);
        LotteryForm& form = f.start(f.defaultOptions());
        form.getNewTimer()->stop();
        f.watchEveryFewDraws();
        QSignalSpy notices(&form.notifyLink()->center(),
                           &notify::NotificationCenter::desktopNotice);
        form.MenuItemLabel_Click(1);
        TabLabel* tab0 = form.tabStrip()->label(0);
        std::size_t next = 40;
        while (f.seams.alarms == 0 && next < draws.size()) {
            shown.push_back(draws[next++]);
            f.writeDraws(shown);
            form.GetNewTimer_Timer();
            QTRY_VERIFY(!form.refreshUnderWay() &&
                        form.Lotteries(0).newestPeriod() == shown.back().qishu.toStdString());
        }
        QVERIFY2(f.seams.alarms > 0, "no alarm was raised");
        // The alarm's message names its lottery; the tab of that lottery is marked.
        QString alarmText;
        for (const QList<QVariant>& n : notices)
            if (n[2].toBool()) alarmText = n[1].toString();
        QVERIFY2(alarmText.contains(QStringLiteral("【告警】腾讯分分彩 第")),
                 qPrintable(alarmText));
        QVERIFY(form.tabStrip()->marked(0));
        QVERIFY(tab0->text().endsWith(QStringLiteral("●")));
        QVERIFY(tab0->accessibleDescription().contains(QStringLiteral("告警")));
        QVERIFY(!status(f).contains(QStringLiteral("告警"))); // the line tells of VR3分彩
        // Shown, the tab loses its mark and the status line names the lottery's alarm.
        QTest::mouseClick(tab0, Qt::LeftButton);
        QVERIFY(!form.tabStrip()->marked(0));
        QCOMPARE(tab0->text(), QStringLiteral("腾讯分分彩"));
        const QString alarm = QStringLiteral("腾讯分分彩 告警：第 ") + shown.back().qishu;
        QVERIFY2(status(f).contains(alarm), qPrintable(status(f)));
    }

    void aRestartBringsEveryLotteryBack() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(30));
        const QString own = f.dir.filePath(QStringLiteral("own.txt"));
        FormFixture::writeDrawFile(own, FormFixture::makeDraws(12, 202612090001));
        f.keepLotteries({{kOwnName, QString()}});
        AppOptions o;
        o.iniPath = f.iniPath();
        QVERIFY(WriteToINI(kIniSection, kIniKey, f.drawPath(), f.iniPath()));
        {
            LotteryForm& form = f.start(o);
            QVERIFY(!form.desk().hasSource(2));
            // 取路径 on the player's own lottery gives it its file; its conditions are its own.
            QTest::mouseClick(form.tabStrip()->label(2), Qt::LeftButton);
            QVERIFY(status(f).contains(kOwnName + QStringLiteral("还没有开奖文件")));
            f.seams.fileAnswer = own;
            QTest::mouseClick(f.child<QPushButton>("路径"), Qt::LeftButton);
            QCOMPARE(int(form.Lotteries(2).heldDraws().Count()), 12);
            QCOMPARE(f.child<QLineEdit>("zelkc")->text(), QDir::toNativeSeparators(own));
            QTest::mouseClick(f.child<QRadioButton>("WeiOption_3"), Qt::LeftButton);
            QCOMPARE(form.Lotteries(2).formSet().IDX, 3);
            // A path typed for VR3分彩 is its own once the typing ends.
            QTest::mouseClick(form.tabStrip()->label(1), Qt::LeftButton);
            auto* box = f.child<QLineEdit>("zelkc");
            box->setText(f.dir.filePath(QStringLiteral("vr3.txt")));
            emit box->editingFinished();
            QVERIFY(form.desk().hasSource(1));
            QVERIFY(!status(f).contains(QStringLiteral("VR3分彩还没有开奖文件")));
            // A line in the own lottery's record box is written with the refresh that brought
            // it, before the program is closed.
            form.Lotteries(2).monitor().AddLogLine({Period(202612090012), {PlanMark::Hit, 2}, {}});
            form.Lotteries(0).monitor().AddLogLine({{}, {}, "回测 30期"});
            FormFixture::writeDrawFile(own, FormFixture::makeDraws(13, 202612090001));
            form.GetNewTimer_Timer();
            const auto keptLog = [&f] {
                const SavedWorkLoad kept =
                    LoadSavedWork(f.dir.filePath(QStringLiteral("work.ini")));
                const LotteryWork* w =
                    kept.work ? kept.work->find(kOwnName.toStdString()) : nullptr;
                return w ? w->monitorLog.size() : std::size_t(0);
            };
            QTRY_COMPARE(keptLog(), std::size_t(1));
            form.close();
        }
        QCOMPARE(GetFromINI(kIniSection, kIniKey, f.iniPath()),
                 QDir::toNativeSeparators(f.drawPath())); // lottery 0's key as always
        LotteryForm& again = f.start(o);
        QCOMPARE(again.desk().drawFile(2), QDir::toNativeSeparators(own));
        QCOMPARE(again.desk().drawFile(1),
                 QDir::toNativeSeparators(f.dir.filePath(QStringLiteral("vr3.txt"))));
        QCOMPARE(int(again.Lotteries(2).heldDraws().Count()), 13);
        QCOMPARE(int(again.Lotteries(0).heldDraws().Count()), 30);
        QCOMPARE(again.Lotteries(2).formSet().IDX, 3);
        QCOMPARE(again.Lotteries(0).formSet().IDX, 9);
        QCOMPARE(again.Lotteries(2).monitor().LogText(), std::string("202612090012期 --- 中2"));
        // The monitor window, made at start, shows the first lottery's record box as kept.
        QCOMPARE(
            again.jianKongForm()->findChild<QPlainTextEdit*>(QStringLiteral("记录"))->toPlainText(),
            QStringLiteral("回测 30期"));
        QCOMPARE(f.child<QLineEdit>("zelkc")->text(), QDir::toNativeSeparators(f.drawPath()));
    }

    void aListThatCannotBeReadIsSetAsideAndTold() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(10));
        QFile junk(f.listPath());
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a list of this program\n");
        junk.close();
        LotteryForm& form = f.start(f.defaultOptions());
        QCOMPARE(form.lotteryCount(), 2); // the built-in lotteries, as at a first start
        QVERIFY2(form.lastingNote()->text().contains(QStringLiteral("彩票设置有 1 处读不出")),
                 qPrintable(form.lastingNote()->text()));
        QVERIFY(!QFile::exists(f.listPath()));
    }

    void aChangedListRemapsTheTabs_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<int>("ownAt"); // where the lottery with draws is afterwards; -1: gone
        QTest::addColumn<int>("shownAt");
        const QString a = QStringLiteral("AAA"), b = QStringLiteral("BBB");
        const QString tx = QStringLiteral("腾讯分分彩"), vr = QStringLiteral("VR3分彩");
        QTest::newRow("add") << "add" << QStringList{tx, vr, a, b, QStringLiteral("CCC")} << 2 << 2;
        QTest::newRow("rename") << "rename" << QStringList{tx, vr, QStringLiteral("A2"), b} << 2
                                << 2;
        QTest::newRow("remove") << "remove" << QStringList{tx, vr, b} << -1 << 0;
        QTest::newRow("remove-other") << "remove-other" << QStringList{tx, vr, a} << 2 << 2;
    }
    void aChangedListRemapsTheTabs() {
        QFETCH(QString, change);
        QFETCH(QStringList, tabs);
        QFETCH(int, ownAt);
        QFETCH(int, shownAt);
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(20));
        const QString own = f.dir.filePath(QStringLiteral("own.txt"));
        FormFixture::writeDrawFile(own, FormFixture::makeDraws(9, 202612090001));
        f.keepLotteries({{QStringLiteral("AAA"), own}, {QStringLiteral("BBB"), QString()}});
        LotteryForm& form = f.start(f.defaultOptions());
        QTest::mouseClick(form.tabStrip()->label(2), Qt::LeftButton);
        LotteryClass* withDraws = &form.Lotteries(2);
        QCOMPARE(int(withDraws->heldDraws().Count()), 9);
        LotteryClass* other = &form.Lotteries(3);

        LotteryRegistry next = form.desk().registry();
        if (change == "add") QVERIFY(next.add("CCC").ok());
        if (change == "rename") QVERIFY(next.rename(2, "A2").ok());
        if (change == "remove") QVERIFY(next.remove(2).ok());
        if (change == "remove-other") QVERIFY(next.remove(3).ok());
        emit form.lotterySettings()->registryChanged(next);

        QStringList shown;
        for (int i = 0; i < form.tabStrip()->count(); ++i)
            shown << form.tabStrip()->label(i)->text();
        QCOMPARE(shown, tabs);
        QCOMPARE(form.SelectedIndex(), shownAt);
        QCOMPARE(form.ActiveCls(), &form.Lotteries(shownAt));
        if (ownAt >= 0) {
            // The same lottery, draws and all, under its (new) name.
            QCOMPARE(&form.Lotteries(ownAt), withDraws);
            QCOMPARE(int(withDraws->heldDraws().Count()), 9);
            QCOMPARE(withDraws->name(), tabs[ownAt].toStdString());
        }
        if (change == "remove") QCOMPARE(&form.Lotteries(2), other); // moved up one place
        if (change == "add") {
            QVERIFY(!form.Lotteries(4).hasHistory()); // a new one starts empty
            // Its monitor starts from the entries every monitor starts from.
            QCOMPARE(form.Lotteries(4).monitor().SegmentSettings,
                     form.Lotteries(1).monitor().SegmentSettings);
            QVERIFY(form.Lotteries(4).monitor().SegmentSettings != (std::array<int, 4>{}));
        }
        // The list is kept: a fresh read gives the same lotteries.
        const LotteryListLoad kept = LoadLotteryList({f.listPath(), f.iniPath(), {}});
        QCOMPARE(kept.registry.size(), int(tabs.size()));
        for (int i = 0; i < kept.registry.size(); ++i)
            QCOMPARE(QString::fromStdString(kept.registry.at(i)->name), tabs[i]);
    }
};

QTEST_MAIN(TestManyLotteries)
#include "test_many_lotteries.moc"
