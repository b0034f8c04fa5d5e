// How long the "历史" window takes to open on a year of minute draws (525,600): the days
// listed, the first page read, gaps measured, the window shown and painted. Run with
// -median N for the median of N runs.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/display/ArchiveHistoryModel.h"
#include "gui/display/ArchiveHistoryWindow.h"
#include "store/DrawArchive.h"

using namespace zuohao::gui;
namespace store = zuohao::store;

class BenchHistoryView : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<store::Archive> m_archive;
    static constexpr int kDays = 365;

private slots:
    void initTestCase() {
        auto a = store::Archive::open(m_dir.filePath(QStringLiteral("year.sqlite")).toStdString());
        QVERIFY(a);
        m_archive = std::move(a).value();
        QVERIFY(m_archive->setBulkWrites(true));
        QDate day(2026, 1, 1);
        for (int d = 0; d < kDays; ++d, day = day.addDays(1)) {
            std::vector<store::DrawIn> in;
            const qint64 base = day.toString(QStringLiteral("yyyyMMdd")).toLongLong() * 10000;
            for (int i = 1; i <= store::kPeriodsPerDay; ++i)
                if (!(d == kDays - 1 && i == 1000)) // one gap on the newest day
                    in.push_back({std::to_string(base + i), "12345"});
            QVERIFY(m_archive->add(store::kDefaultLottery, in, "bench"));
        }
        QVERIFY(m_archive->setBulkWrites(false));
    }

    void openOnAYear() {
        QBENCHMARK {
            ArchiveHistoryWindow w;
            w.showLottery(m_archive.get(), store::kDefaultLottery);
            w.show();
            QCoreApplication::processEvents();
            QCOMPARE(w.model()->rowCount(), ArchiveHistoryModel::kPage);
            QCOMPARE(w.model()->cellText(0, 0), QStringLiteral("202612311440"));
            QCOMPARE(w.model()->gapBefore(439), 1); // period 1001, after the missing 1000
        }
    }
};

QTEST_MAIN(BenchHistoryView)
#include "bench_history_view.moc"
