// The main window and its draw archive: the demo feed's draws written into the demo's own
// archive and shown by "历史"; --archive PATH; corrections; a damaged archive is set aside, a
// folder that is not there leaves the program running and says so for as long as it lasts, a
// locked archive keeps the draws waiting until it is free, a demo keeps out of real archives,
// closing writes the draws that still wait.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

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

    // The archive's draws as another reader sees them, once the writer has caught up.
    static std::vector<store::ArchivedDraw> held(LotteryForm& form) {
        ArchiveLink* link = form.archiveLink();
        const auto caughtUp = [&] {
            link->flush(); // a round that failed is tried again
            return !link->writing() && link->waiting() == 0;
        };
        if (!QTest::qWaitFor(caughtUp, 15000)) return {};
        auto a =
            store::Archive::open(link->path().toStdString(), nullptr, store::OpenMode::ReadOnly);
        if (!a) return {};
        auto r = (*a)->range(store::kDefaultLottery);
        return r ? std::move(r).value() : std::vector<store::ArchivedDraw>{};
    }
    static QString status(const FormFixture& f) { return f.child<QLabel>("showLabel")->text(); }

private slots:
    void demoDrawsGoIntoTheDemoArchiveAndTheHistoryView() {
        FormFixture f;
        AppOptions o;
        o.demo = true;
        o.demoInterval = 1;
        LotteryForm& form = f.start(o);
        ArchiveLink* link = form.archiveLink();
        QVERIFY(link);
        const QString drawFile = f.child<QLineEdit>("zelkc")->text();
        QCOMPARE(QFileInfo(link->path()).dir(), QFileInfo(drawFile).dir());
        // The history load reads the draw file's first 99 lines.
        QCOMPARE(int(held(form).size()), zuohao::kDrawFileLines);
        QCOMPARE(held(form).front().source, std::string("demo"));

        // The next demo draws enter at a tick and go into the archive. Only this tick enters
        // them: on a slow machine the feed may write more than one meanwhile.
        form.getNewTimer()->stop();
        auto* demo = form.findChild<DemoFeed*>();
        QVERIFY(demo);
        QSignalSpy added(demo, &DemoFeed::drawAdded);
        QVERIFY(added.wait(5000));
        form.GetNewTimer_Timer();
        const auto after = held(form);
        QVERIFY(int(after.size()) > zuohao::kDrawFileLines);
        QCOMPARE(after.back().qishu, form.Lotteries(0).newestPeriod());

        QTest::mouseClick(f.child<QPushButton>("HistoryCmd"), Qt::LeftButton);
        ArchiveHistoryWindow* history = link->historyWindow();
        QVERIFY(history && history->isVisible());
        QCOMPARE(history->model()->rowCount(), int(after.size()));
        QCOMPARE(history->model()->cellText(0, ArchiveHistoryModel::ColQishu),
                 QString::fromStdString(form.Lotteries(0).newestPeriod()));
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
        // A head with missing periods is believed once it has stayed the same for a quiet time.
        QTRY_VERIFY_WITH_TIMEOUT((form.GetNewTimer_Timer(), form.Lotteries(0).heldDraws().Exists(
                                                                draws.back().qishu.toStdString())),
                                 10000);
        auto h = held(form);
        QCOMPARE(int(h.size()), 27);
        QCOMPARE(QString::fromStdString(h.front().source), QDir::toNativeSeparators(f.drawPath()));
        auto reader = store::Archive::open(o.archivePath.toStdString());
        QVERIFY(reader);
        auto gaps = (*reader)->gaps(store::kDefaultLottery);
        QVERIFY(gaps && gaps->size() == 1 && gaps->front().missing == 3);

        // A stable re-read corrected a held draw: the archive keeps both numbers.
        const std::string qishu = draws[20].qishu.toStdString();
        const std::string old = draws[20].haoma.toStdString();
        const std::string fixed = old == "00000" ? "11111" : "00000";
        zuohao::RefreshEvents correction;
        correction.corrected.push_back({qishu, old, fixed});
        form.routeRefresh(form.Lotteries(0), correction);
        QCOMPARE(int(held(form).size()), 27);
        auto c = (*reader)->corrections(store::kDefaultLottery);
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

    void theArchiveNamedAsTheDrawFileIsNeverRead() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(12));
        AppOptions o = f.defaultOptions();
        o.archivePath = f.dir.filePath(QStringLiteral("mine.sqlite"));
        LotteryForm& form = f.start(o);
        QTRY_COMPARE(int(held(form).size()), 12);
        for (const QString& named : {o.archivePath, o.archivePath + QStringLiteral("-wal")}) {
            if (!QFileInfo::exists(named)) continue;
            // Typed into the path box, as a player would.
            auto* box = f.child<QLineEdit>("zelkc");
            box->setText(named);
            emit box->textEdited(named);
            form.GetNewTimer_Timer();
            QTRY_VERIFY2(status(f).contains(QStringLiteral("开奖文件是本程序的历史库")),
                         qPrintable(status(f)));
            QCOMPARE(int(held(form).size()), 12);
        }
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
        QCOMPARE(int(held(form).size()), 5);
        form.GetNewTimer_Timer();
        QVERIFY2(status(f).contains(QStringLiteral("已另存为")), qPrintable(status(f)));
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
        // Said for as long as it is so, not only for a while; the draws wait meanwhile.
        for (int tick = 0; tick < 15; ++tick) {
            QTRY_VERIFY(!form.archiveLink()->writing());
            form.GetNewTimer_Timer();
            QVERIFY2(status(f).contains(QStringLiteral("历史库无法使用")), qPrintable(status(f)));
        }
        QCOMPARE(int(form.Lotteries(0).heldDraws().Count()), 5);
        QCOMPARE(int(form.archiveLink()->waiting()), 5);
        form.archiveLink()->showHistory(store::kDefaultLottery);
        QVERIFY(form.archiveLink()->historyWindow()->statusText().startsWith(
            QStringLiteral("没有历史库")));
    }

    // Another program holds the archive's write lock across several polls: the polls go on,
    // the status line says why the draws wait, and every draw goes in, in order, once it is free.
    void aLockedArchiveKeepsTheDrawsUntilItIsFree() {
        FormFixture f;
        auto draws = FormFixture::makeDraws(8);
        f.writeDraws({draws.begin(), draws.begin() + 5});
        AppOptions o = f.defaultOptions();
        LotteryForm& form = f.start(o);
        QCOMPARE(int(held(form).size()), 5);
        sqlite3* holder = nullptr;
        QCOMPARE(sqlite3_open(o.archivePath.toUtf8().constData(), &holder), SQLITE_OK);
        QCOMPARE(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        for (int n = 6; n <= 8; ++n) {
            f.writeDraws({draws.begin(), draws.begin() + n});
            form.GetNewTimer_Timer();
            form.GetNewTimer_Timer(); // a new head is believed when read again
        }
        const auto toldWhy = [&] {
            form.GetNewTimer_Timer();
            return status(f).contains(QStringLiteral("历史库被其他程序占用"));
        };
        QVERIFY(QTest::qWaitFor(toldWhy, 15000));
        QVERIFY2(status(f).contains(QStringLiteral("占用，3 期等待写入")), qPrintable(status(f)));
        sqlite3_close(holder);
        const auto after = held(form);
        QCOMPARE(int(after.size()), 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(QString::fromStdString(after[std::size_t(i)].qishu),
                     draws[std::size_t(i)].qishu);
        form.GetNewTimer_Timer();
        QVERIFY2(!status(f).contains(QStringLiteral("历史库")), qPrintable(status(f)));
    }

    // Closing the link writes what still waits, after the round that is out, in the order the
    // draws entered; nothing flushes them before.
    void theLastDrawsGoInWhenTheLinkCloses() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("closing.sqlite"));
        const auto draws = FormFixture::makeDraws(300);
        {
            ArchiveLink link(nullptr, [](const std::string&) { return std::string("draws.txt"); },
                             {});
            link.open(path); // its first round opens the archive
            for (const Draw& d : draws)
                link.drawEntered(store::kDefaultLottery, d.qishu.toStdString(),
                                 d.haoma.toStdString());
            QVERIFY(link.writing());
        }
        auto a = store::Archive::open(path.toStdString(), nullptr, store::OpenMode::ReadOnly);
        QVERIFY(a);
        const auto held = (*a)->range(store::kDefaultLottery);
        QVERIFY(held);
        QCOMPARE(int(held->size()), int(draws.size()));
        for (std::size_t i = 0; i < draws.size(); ++i)
            QCOMPARE(QString::fromStdString((*held)[i].qishu), draws[i].qishu);
    }

    // A demo run never writes its made-up draws into an archive that holds other draws.
    void theDemoKeepsOutOfAnArchiveWithOtherDraws() {
        FormFixture f;
        const QString used = f.dir.filePath(QStringLiteral("mine.sqlite"));
        {
            auto a = store::Archive::open(used.toStdString());
            QVERIFY(a && (*a)->add(store::kDefaultLottery, {{"202612080001", "12345"}}, "file"));
        }
        AppOptions o;
        o.demo = true;
        o.archivePath = used;
        LotteryForm& form = f.start(o);
        QTRY_VERIFY(!form.archiveLink()->writing());
        form.GetNewTimer_Timer();
        QVERIFY2(status(f).contains(QStringLiteral("演示开奖不写入历史库")), qPrintable(status(f)));
        QCOMPARE(int(held(form).size()), 1);
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
        QCOMPARE(int(held(form).size()), 3);
    }
};

QTEST_MAIN(TestArchiveLink)
#include "test_archive_link.moc"
