// The "历史" window over an archive: newest first, gaps and corrections marked, the day
// filter, paging through a long listing, and the CSV export of the shown range (and its cancel).
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "gui/common/Seams.h"
#include "gui/display/ArchiveHistoryModel.h"
#include "gui/display/ArchiveHistoryWindow.h"
#include "store/DrawArchive.h"

using namespace zuohao::gui;
namespace store = zuohao::store;

namespace {
class SaveSeams : public Seams {
public:
    std::optional<QString> answer;
    std::optional<QString> saveFileName(QWidget*, const QString&) override { return answer; }
};

const std::string kLot = store::kDefaultLottery;
} // namespace

class TestArchiveHistory : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<store::Archive> m_archive;

private slots:
    void init() {
        // 2026-12-08 1436..1440 and 2026-12-09 0001..0006 without 1439 and 0002/0003;
        // 0005 corrected once.
        auto a = store::Archive::open(m_dir.filePath(QStringLiteral("h.sqlite")).toStdString());
        QVERIFY(a);
        m_archive = std::move(a).value();
        std::vector<store::DrawIn> in;
        for (const char* q : {"202612081436", "202612081437", "202612081438", "202612081440",
                              "202612090001", "202612090004", "202612090005", "202612090006"})
            in.push_back({q, "12345"});
        QVERIFY(m_archive->add(kLot, in, "draws.txt"));
        QVERIFY(m_archive->correct(kLot, "202612090005", "54321", "draws.txt"));
    }
    void cleanup() {
        m_archive.reset();
        QFile::remove(m_dir.filePath(QStringLiteral("h.sqlite")));
    }

    void newestFirstWithGapsAndCorrectionsMarked() {
        ArchiveHistoryWindow w;
        w.showLottery(m_archive.get(), kLot);
        ArchiveHistoryModel* m = w.model();
        QCOMPARE(m->rowCount(), 8);
        struct Row {
            const char* qishu;
            const char* haoma;
            const char* gap;
            const char* correction;
        };
        const Row rows[] = {
            {"202612090006", "12345", "", ""},        {"202612090005", "54321", "", "原号 12345"},
            {"202612090004", "12345", "断 2 期", ""}, {"202612090001", "12345", "", ""},
            {"202612081440", "12345", "断 1 期", ""}, {"202612081438", "12345", "", ""}};
        for (int r = 0; r < 6; ++r) {
            QCOMPARE(m->cellText(r, ArchiveHistoryModel::ColQishu), QString(rows[r].qishu));
            QCOMPARE(m->cellText(r, ArchiveHistoryModel::ColHaoma), QString(rows[r].haoma));
            QCOMPARE(m->cellText(r, ArchiveHistoryModel::ColGap), QString(rows[r].gap));
            QCOMPARE(m->cellText(r, ArchiveHistoryModel::ColCorrection),
                     QString(rows[r].correction));
        }
        // Marked rows carry a background the others do not.
        const auto back = [&](int r, int c) { return m->index(r, c).data(Qt::BackgroundRole); };
        QVERIFY(back(2, ArchiveHistoryModel::ColGap).isValid());
        QVERIFY(!back(3, ArchiveHistoryModel::ColGap).isValid());
        QVERIFY(back(1, ArchiveHistoryModel::ColHaoma).isValid());
        QVERIFY(!back(0, ArchiveHistoryModel::ColHaoma).isValid());
        QVERIFY(w.statusText().contains(QStringLiteral("断期 2 处共 3 期")));
    }

    void theDayFilterShowsOneDay() {
        ArchiveHistoryWindow w;
        w.showLottery(m_archive.get(), kLot);
        auto* filter = w.findChild<QComboBox*>(QStringLiteral("DayFilter"));
        QCOMPARE(filter->count(), 3); // every day, 12-09, 12-08
        QCOMPARE(filter->itemText(1), QStringLiteral("2026-12-09"));
        w.setDay(QStringLiteral("2026-12-08"));
        QCOMPARE(w.model()->rowCount(), 4);
        QCOMPARE(w.model()->cellText(0, 0), QStringLiteral("202612081440"));
        w.setDay(QStringLiteral("2026-12-09"));
        QCOMPARE(w.model()->rowCount(), 4);
        // The first draw of a day is measured against the day before.
        QCOMPARE(w.model()->gapBefore(3), 0);
        w.setDay({});
        QCOMPARE(w.model()->rowCount(), 8);
    }

    void exportWritesTheShownRangeAsUtf8WithBom() {
        SaveSeams seams;
        setSeams(&seams);
        ArchiveHistoryWindow w;
        w.showLottery(m_archive.get(), kLot);
        w.setDay(QStringLiteral("2026-12-09"));
        seams.answer = m_dir.filePath(QStringLiteral("out.csv"));
        QSignalSpy done(&w, &ArchiveHistoryWindow::exportFinished);
        w.exportShown();
        QVERIFY(done.wait(10000));
        setSeams(nullptr);
        QFile f(*seams.answer);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines =
            QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[0].startsWith(QStringLiteral("期号,开奖号码")));
        QVERIFY(lines[1].startsWith(QStringLiteral("202612090001,12345,")));
        QVERIFY(lines[2].startsWith(QStringLiteral("202612090004,12345,")));
        QVERIFY(lines[2].endsWith(QStringLiteral(",draws.txt,2,,")));
        QVERIFY(lines[3].contains(QStringLiteral(",原号 12345,20")));
        // The outcome outlasts the rewrite of the counts a new draw brings.
        w.reload();
        QVERIFY(w.noteText().startsWith(QStringLiteral("已导出")));
        QVERIFY(w.statusText().startsWith(QStringLiteral("已显示")));
    }

    // The button cancels a running export: it stops at its next page, says so, and leaves the
    // file that was there as it was.
    void aCancelledExportLeavesTheOldFile() {
        constexpr int kCount = 20000; // many pages: the cancel comes while it runs
        std::vector<store::DrawIn> in;
        for (int i = 0; i < kCount; ++i)
            in.push_back({std::to_string(4000000 + i), "12345"});
        QVERIFY(m_archive->add("long", in, "x"));
        SaveSeams seams;
        setSeams(&seams);
        seams.answer = m_dir.filePath(QStringLiteral("old.csv"));
        QFile old(*seams.answer);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        ArchiveHistoryWindow w;
        w.showLottery(m_archive.get(), "long");
        QSignalSpy done(&w, &ArchiveHistoryWindow::exportFinished);
        w.exportShown();
        auto* button = w.findChild<QPushButton*>(QStringLiteral("ExportButton"));
        QCOMPARE(button->text(), QStringLiteral("取消导出"));
        w.exportShown();
        QVERIFY(done.wait(10000));
        setSeams(nullptr);
        QCOMPARE(w.noteText(), QStringLiteral("导出失败：已取消"));
        QCOMPARE(button->text(), QStringLiteral("导出CSV"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("old.csv*")}, QDir::Files).size(),
                 1); // no part file left beside it
    }

    void theCountsFollowThePagesShown() {
        constexpr int kCount = ArchiveHistoryModel::kPage + 300;
        std::vector<store::DrawIn> in;
        for (int i = 0; i < kCount; ++i)
            if (i != 99) in.push_back({std::to_string(3000000 + i), "12345"});
        QVERIFY(m_archive->add("paged", in, "x"));
        ArchiveHistoryWindow w;
        w.showLottery(m_archive.get(), "paged");
        QVERIFY(w.statusText().contains(QStringLiteral("已显示 2000 期")));
        // All days: the archive's own count beside the rows loaded so far.
        QVERIFY2(w.statusText().contains(QStringLiteral("历史库共 %1 期").arg(kCount - 1)),
                 qPrintable(w.statusText()));
        QVERIFY(w.statusText().contains(QStringLiteral("断期 0 处")));
        w.model()->fetchMore({});
        QVERIFY2(
            w.statusText().startsWith(
                QStringLiteral("已显示 %1 期，历史库共 %1 期，断期 1 处共 1 期").arg(kCount - 1)),
            qPrintable(w.statusText()));
    }

    void aLongListingIsReadAPageAtATime() {
        // Labels 0..2499 without 499: the first page (newest first) ends at 500, whose gap
        // lies across the page boundary.
        constexpr int kCount = ArchiveHistoryModel::kPage + 500;
        std::vector<store::DrawIn> in;
        for (int i = 0; i < kCount; ++i)
            if (i != 499) in.push_back({std::to_string(1000000 + i), "12345"});
        QVERIFY(m_archive->add("long", in, "x"));
        ArchiveHistoryModel m;
        QVERIFY(m.load(m_archive.get(), "long"));
        QCOMPARE(m.rowCount(), ArchiveHistoryModel::kPage);
        QVERIFY(m.canFetchMore({}));
        const int boundary = ArchiveHistoryModel::kPage - 1;
        QCOMPARE(m.cellText(boundary, 0), QStringLiteral("1000500"));
        QCOMPARE(m.gapBefore(boundary), 1);
        m.fetchMore({});
        QCOMPARE(m.rowCount(), kCount - 1);
        QVERIFY(!m.canFetchMore({}));
        qint64 total = 0;
        for (int r = 0; r < m.rowCount(); ++r)
            total += m.gapBefore(r);
        QCOMPARE(total, 1);
        QCOMPARE(m.cellText(m.rowCount() - 1, 0), QStringLiteral("1000000"));
    }
};

QTEST_MAIN(TestArchiveHistory)
#include "test_archive_history.moc"
