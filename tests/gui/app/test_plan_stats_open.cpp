// The main window's 计划统计 button opens the window over the active lottery's draws, and
// the window follows the draws that enter.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "gui/app/ArchiveLink.h"
#include "gui/common/Settings.h"
#include "gui/display/PlanStatsWindow.h"
#include "store/DrawArchive.h"
#include "support_fixture.h"

using namespace zuohao::gui;

class TestPlanStatsOpen : public QObject {
    Q_OBJECT
private slots:
    void init() { WriteDelaySetting(QString()); }

    void buttonOpensTheWindowOverTheHeldDraws() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(30));
        f.start(f.defaultOptions());
        auto* stats = f.form().findChild<PlanStatsWindow*>(QStringLiteral("PlanStatsWindow"));
        QVERIFY(stats && !stats->isVisible());
        QTest::mouseClick(f.child<QPushButton>(QStringLiteral("PlanStatsCmd")), Qt::LeftButton);
        QVERIFY(stats->isVisible());
        QCOMPARE(stats->windowTitle(), QStringLiteral("计划统计"));
        auto* risk = stats->findChild<QTableWidget*>(QStringLiteral("RiskTable"));
        QCOMPARE(risk->rowCount(), 20);
        // Backtest over the 30 held draws: every draw after the first is scored.
        stats->startBacktest();
        QTRY_VERIFY(!stats->backtestRunning());
        auto* figures = stats->findChild<QLabel*>(QStringLiteral("BacktestFigures"));
        QVERIFY2(figures->text().contains(QStringLiteral("<b>29</b>")),
                 qPrintable(figures->text()));
        // A backtest without conditions hits every period: the whole space.
        QVERIFY(figures->text().contains(QStringLiteral("100.0%（29中）")));
    }

    void backtestReadsTheArchiveThenTheNewerHeldDraws() {
        // The user's archive holds 200 draws of the day before; the file repeats its 10 newest.
        const QString file = ArchiveLink::defaultPath();
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        QFile::remove(file);
        {
            auto archive = zuohao::store::Archive::open(file.toStdString());
            QVERIFY(archive.ok());
            std::vector<zuohao::store::DrawIn> in;
            for (const Draw& d : FormFixture::makeDraws(200, 202612070001))
                in.push_back({d.qishu.toStdString(), d.haoma.toStdString()});
            QVERIFY((*archive)->add(zuohao::store::kDefaultLottery, in, "test").ok());
        }
        FormFixture f;
        auto draws = FormFixture::makeDraws(10, 202612070191);
        const auto today = FormFixture::makeDraws(30);
        draws.insert(draws.end(), today.begin(), today.end());
        f.writeDraws(draws);
        AppOptions o = f.defaultOptions();
        o.archivePath.clear(); // the user's own, filled above
        f.start(o);
        // The file's head jumps a day: it is believed once it has stayed the same for a quiet
        // time.
        const std::string newest = today.back().qishu.toStdString();
        QTRY_VERIFY_WITH_TIMEOUT(
            (f.form().GetNewTimer_Timer(), f.form().Lotteries(0).heldDraws().Exists(newest)),
            10000);
        auto* stats = f.form().findChild<PlanStatsWindow*>(QStringLiteral("PlanStatsWindow"));
        stats->showAndRaise();
        stats->startBacktest();
        QTRY_VERIFY(!stats->backtestRunning());
        auto* figures = stats->findChild<QLabel*>(QStringLiteral("BacktestFigures"));
        // 200 archived + 30 newer held draws; the first one is history.
        QVERIFY2(figures->text().contains(QStringLiteral("<b>229</b>")),
                 qPrintable(figures->text()));
        QFile::remove(file);
    }
};

QTEST_MAIN(TestPlanStatsOpen)
#include "test_plan_stats_open.moc"
