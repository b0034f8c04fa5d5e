// The list of lotteries kept between runs: the first lottery's draw file stays in the shared
// initialisation file byte for byte, the rest in the program's own file; a section that cannot
// be read is set aside and the others still load.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "gui/common/LotterySettings.h"
#include "gui/common/Settings.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

LotteryRegistry sample() {
    LotteryRegistry r;
    (void)r.setDrawFile(0, "C:\\挂机\\腾讯.txt");
    (void)r.setDrawFile(1, "/vr3 draws.txt");
    if (!r.add("重庆 时时彩", "/cq.txt", PeriodNaming::DayCount, 59)) qFatal("add");
    if (!r.add("新彩=[x]", "", PeriodNaming::DateLabel, kPeriodsPerDay)) qFatal("add");
    return r;
}

} // namespace

class TestLotterySettings : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_paths = {m_dir.filePath("lotteries.ini"), m_dir.filePath("zelkwt.ini"), {}};
    }
    void cleanup() {
        for (const QString& f : QDir(m_dir.path()).entryList(QDir::Files))
            QFile::remove(m_dir.filePath(f));
    }

    // What is saved comes back as it was; the shared file changes only in its one key.
    void roundTripKeepsTheSharedFile() {
        const QByteArray shared = "; by the betting program\r\n[网址]\r\nzelkc=old.txt\r\n"
                                  "[other]\r\nkey=value\r\n";
        QVERIFY(writeAll(m_paths.iniPath, shared));
        const LotteryRegistry saved = sample();
        QVERIFY(SaveLotteryList(saved, m_paths).ok);
        QByteArray expected = shared;
        expected.replace("zelkc=old.txt", QString("zelkc=C:\\挂机\\腾讯.txt").toUtf8());
        QCOMPARE(readAll(m_paths.iniPath), expected);
        QCOMPARE(GetFromINI(kIniSection, kIniKey, m_paths.iniPath), "C:\\挂机\\腾讯.txt");
        QVERIFY(!readAll(m_paths.listPath).contains("腾讯")); // only the shared file has it
        const LotteryListLoad loaded = LoadLotteryList(m_paths);
        QVERIFY(loaded.registry == saved);
        QCOMPARE(loaded.setAsideCount, 0);

        // Saving again with the same first file leaves the shared file untouched.
        QVERIFY(writeAll(m_paths.iniPath, expected + "; note\r\n"));
        QVERIFY(SaveLotteryList(saved, m_paths).ok);
        QCOMPARE(readAll(m_paths.iniPath), expected + "; note\r\n");
    }

    // No files at all: the built-in lotteries without draw files.
    void firstStart() {
        const LotteryListLoad loaded = LoadLotteryList(m_paths);
        QVERIFY(loaded.registry == LotteryRegistry());
        QVERIFY(LotteryListSetAsideText(loaded).isEmpty());
    }

    void damagedSectionsAreSetAside_data() {
        QTest::addColumn<QByteArray>("section");
        QTest::newRow("taken name") << QByteArray("[lottery4]\nname=VR3分彩\nfile=\nnaming=date\n"
                                                  "perday=1440\n");
        QTest::newRow("no name") << QByteArray("[lottery4]\nfile=\nnaming=date\nperday=1440\n");
        QTest::newRow("unknown naming")
            << QByteArray("[lottery4]\nname=甲\nfile=\nnaming=week\nperday=1440\n");
        QTest::newRow("bad count")
            << QByteArray("[lottery4]\nname=甲\nfile=\nnaming=day\nperday=abc\n");
        QTest::newRow("not UTF-8") << QByteArray("[lottery4]\nname=\xFF\nfile=\nnaming=date\n"
                                                 "perday=1440\n");
        QTest::newRow("first lottery") << QByteArray("[lottery0]\nfile=/elsewhere.txt\n");
    }
    void damagedSectionsAreSetAside() {
        QFETCH(QByteArray, section);
        const LotteryRegistry saved = sample();
        QByteArray bytes = LotteryListBytes(saved);
        // The damaged section goes between the good ones, and the count includes it.
        const qsizetype at = bytes.indexOf("[lottery3]");
        bytes.insert(at, section);
        bytes.replace("sections=3", "sections=4");
        QVERIFY(writeAll(m_paths.listPath, bytes));
        const LotteryListLoad loaded = LoadLotteryList(m_paths);
        QCOMPARE(loaded.registry.size(), saved.size());
        for (int i = 1; i < saved.size(); ++i)
            QVERIFY(*loaded.registry.at(i) == *saved.at(i));
        QCOMPARE(loaded.setAsideCount, 1);
        QCOMPARE(readAll(loaded.setAsideTo), section);
        QVERIFY(
            LotteryListSetAsideText(loaded).contains(QDir::toNativeSeparators(loaded.setAsideTo)));
    }

    // A file cut short loses its last section (it may be cut), never the ones before it.
    void cutShortLosesOnlyItsLastSection() {
        const LotteryRegistry saved = sample();
        const QByteArray bytes = LotteryListBytes(saved);
        QVERIFY(writeAll(m_paths.listPath, bytes.left(bytes.indexOf("naming=date"))));
        const LotteryListLoad loaded = LoadLotteryList(m_paths);
        QCOMPARE(loaded.registry.size(), 3);
        QVERIFY(*loaded.registry.at(2) == *saved.at(2));
        QCOMPARE(loaded.setAsideCount, 1);
        QVERIFY(readAll(loaded.setAsideTo).startsWith("[lottery3]"));
    }

    // A file that is no list of this program is moved aside whole, then a fresh list is saved.
    void foreignFileIsMovedAside() {
        QVERIFY(writeAll(m_paths.listPath, "PK\x03\x04 not a settings file"));
        const LotteryListLoad loaded = LoadLotteryList(m_paths);
        QVERIFY(loaded.registry == LotteryRegistry());
        QVERIFY(!QFile::exists(m_paths.listPath));
        QCOMPARE(readAll(loaded.setAsideTo), QByteArray("PK\x03\x04 not a settings file"));
        QVERIFY(SaveLotteryList(sample(), m_paths).ok);
        QVERIFY(LoadLotteryList(m_paths).registry == sample());
    }

    // Saving where no file can be made says so; the shared file still gets its key.
    void failedSaveSaysSo() {
        QVERIFY(writeAll(m_dir.filePath("plain"), "a file, not a folder"));
        m_paths.listPath = m_dir.filePath("plain/lotteries.ini");
        const LotteryListSave result = SaveLotteryList(sample(), m_paths);
        QVERIFY(!result.ok);
        QVERIFY(result.note.startsWith("彩票设置无法保存"));
        QCOMPARE(GetFromINI(kIniSection, kIniKey, m_paths.iniPath), "C:\\挂机\\腾讯.txt");
    }

private:
    QTemporaryDir m_dir;
    LotteryListPaths m_paths;
};

QTEST_GUILESS_MAIN(TestLotterySettings)
#include "test_lottery_settings.moc"
