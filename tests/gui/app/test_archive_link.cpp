// The main window and its draw archive: the demo feed's draws written into the demo's own
// archive in the same poll and shown by "历史"; --archive PATH; corrections; an archive that
// will not open is set aside, a folder that is not there leaves the program running.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include "core/acquire/LineRule.h"
#include "gui/acquire/DemoFeed.h"
#include "gui/app/ArchiveLink.h"
#include "gui/display/ArchiveHistoryModel.h"
#include "gui/display/ArchiveHistoryWindow.h"
#include "support_fixture.h"

using namespace zuohao::gui;
namespace store = zuohao::store;

class TestArchiveLink : public QObject {
    Q_OBJECT

    static std::vector<store::ArchivedDraw> held(LotteryForm& form) {
        auto r = form.archiveLink()->archive()->range(store::kDefaultLottery);
        return r ? std::move(r).value() : std::vector<store::ArchivedDraw>{};
    }

private slots:
    void demoDrawsGoIntoTheDemoArchiveAndTheHistoryView() {
        FormFixture f;
        AppOptions o;
        o.demo = true;
        o.demoInterval = 1;
        LotteryForm& form = f.start(o);
        ArchiveLink* link = form.archiveLink();
        QVERIFY(link && link->archive());
        const QString drawFile = f.child<QLineEdit>("zelkc")->text();
        QCOMPARE(QFileInfo(link->path()).dir(), QFileInfo(drawFile).dir());
        // The history load reads the draw file's first 99 lines.
        QCOMPARE(int(held(form).size()), zuohao::kDrawFileLines);
        QCOMPARE(held(form).front().source, std::string("demo"));

        // The next demo draw enters at a tick and is in the archive when the tick ends.
        auto* demo = form.findChild<DemoFeed*>();
        QVERIFY(demo);
        QSignalSpy added(demo, &DemoFeed::drawAdded);
        QVERIFY(added.wait(5000));
        form.GetNewTimer_Timer();
        const auto after = held(form);
        QCOMPARE(int(after.size()), zuohao::kDrawFileLines + 1);
        QCOMPARE(after.back().qishu, form.Lotteries(0).NewQi);

        QTest::mouseClick(f.child<QPushButton>("HistoryCmd"), Qt::LeftButton);
        ArchiveHistoryWindow* history = link->historyWindow();
        QVERIFY(history && history->isVisible());
        QCOMPARE(history->model()->rowCount(), zuohao::kDrawFileLines + 1);
        QCOMPARE(history->model()->cellText(0, ArchiveHistoryModel::ColQishu),
                 QString::fromStdString(form.Lotteries(0).NewQi));
        QVERIFY(history->statusText().contains(QStringLiteral("断期 0 处")));
    }

    void drawFileDrawsGapsAndCorrectionsInAGivenArchive() {
        FormFixture f;
        auto draws = FormFixture::makeDraws(30);
        draws.erase(draws.begin() + 10, draws.begin() + 13); // three periods missing
        f.writeDraws(draws);
        AppOptions o = f.defaultOptions();
        o.archivePath = f.dir.filePath(QStringLiteral("mine.sqlite"));
        LotteryForm& form = f.start(o);
        QCOMPARE(form.archiveLink()->path(), o.archivePath);
        // A head with missing periods is believed when the next poll reads it again.
        form.GetNewTimer_Timer();
        auto h = held(form);
        QCOMPARE(int(h.size()), 27);
        QCOMPARE(QString::fromStdString(h.front().source), QDir::toNativeSeparators(f.drawPath()));
        auto gaps = form.archiveLink()->archive()->gaps(store::kDefaultLottery);
        QVERIFY(gaps && gaps->size() == 1 && gaps->front().missing == 3);

        // A stable re-read corrected a held draw: the archive keeps both numbers.
        const std::string qishu = draws[20].qishu.toStdString();
        const std::string old = draws[20].haoma.toStdString();
        const std::string fixed = old == "00000" ? "11111" : "00000";
        form.Lotteries(0).observer->OnDrawCorrected(0, qishu, old, fixed);
        auto c = form.archiveLink()->archive()->corrections(store::kDefaultLottery);
        QVERIFY(c && c->size() == 1);
        QCOMPARE(c->front().oldHaoma, old);
        QCOMPARE(c->front().newHaoma, fixed);

        form.archiveLink()->showHistory(store::kDefaultLottery);
        ArchiveHistoryModel* m = form.archiveLink()->historyWindow()->model();
        QCOMPARE(m->rowCount(), 27);
        const int gapRow = 27 - 10 - 1; // newest first: the draw after the missing periods
        QCOMPARE(m->cellText(gapRow, ArchiveHistoryModel::ColQishu), draws[10].qishu);
        QCOMPARE(m->cellText(gapRow, ArchiveHistoryModel::ColGap), QStringLiteral("断 3 期"));
        const int fixedRow = 27 - 20 - 1;
        QCOMPARE(m->cellText(fixedRow, ArchiveHistoryModel::ColHaoma),
                 QString::fromStdString(fixed));
        QCOMPARE(m->cellText(fixedRow, ArchiveHistoryModel::ColCorrection),
                 QStringLiteral("原号 ") + QString::fromStdString(old));
    }

    void anArchiveThatWillNotOpenIsSetAsideAndTheProgramGoesOn() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(5));
        const QString bad = f.dir.filePath(QStringLiteral("draws.sqlite"));
        QFile junk(bad);
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(8192, '\x5a'));
        junk.close();
        AppOptions o = f.defaultOptions();
        o.archivePath = bad;
        LotteryForm& form = f.start(o);
        form.GetNewTimer_Timer();
        const QString status = f.child<QLabel>("showLabel")->text();
        QVERIFY2(status.contains(QStringLiteral("已另存为")), qPrintable(status));
        QCOMPARE(int(held(form).size()), 5);
        QCOMPARE(QDir(f.dir.path())
                     .entryList({QStringLiteral("draws.sqlite.broken-*")}, QDir::Files)
                     .size(),
                 1);
    }

    void aMissingFolderMeansNoArchiveAndNoStop() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(5));
        AppOptions o = f.defaultOptions();
        o.archivePath = f.dir.filePath(QStringLiteral("gone/away/draws.sqlite"));
        LotteryForm& form = f.start(o);
        QVERIFY(!form.archiveLink()->archive());
        form.GetNewTimer_Timer();
        QVERIFY(f.child<QLabel>("showLabel")->text().contains(QStringLiteral("历史库无法使用")));
        QCOMPARE(int(form.Lotteries(0).LotteryDic.Count()), 5);
        form.archiveLink()->showHistory(store::kDefaultLottery);
        QVERIFY(form.archiveLink()->historyWindow()->statusText().startsWith(
            QStringLiteral("没有历史库")));
    }

    void theDefaultArchiveIsInTheUsersDataFolder() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(3));
        AppOptions o = f.defaultOptions();
        o.archivePath.clear(); // the user's own
        LotteryForm& form = f.start(o);
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QCOMPARE(form.archiveLink()->path(), QDir(folder).filePath(QStringLiteral("draws.sqlite")));
        QVERIFY(folder.startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
        QVERIFY(QFileInfo::exists(form.archiveLink()->path()));
    }
};

QTEST_MAIN(TestArchiveLink)
#include "test_archive_link.moc"
