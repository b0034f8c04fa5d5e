// What the desktop seams choose by themselves: where the open-file dialog starts, and the
// fonts the program's texts are drawn in.
#include <QDir>
#include <QFile>
#include <QRawFont>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "gui/common/Fonts.h"
#include "gui/common/Seams.h"

using namespace zuohao::gui;

class TestDesktopSeams : public QObject {
    Q_OBJECT

private slots:
    void openDialogStart_data() {
        QTest::addColumn<QString>("current");  // relative to a temporary folder, '|' for empty
        QTest::addColumn<QString>("expected"); // the same; "documents" for the user's documents
        QTest::newRow("file there") << "draws/开奖.txt"
                                    << "draws/开奖.txt";
        QTest::newRow("file gone, folder there") << "draws/旧.txt"
                                                 << "draws";
        QTest::newRow("folder gone") << "gone/开奖.txt"
                                     << "documents";
        QTest::newRow("nothing chosen yet") << "|"
                                            << "documents";
    }
    void openDialogStart() {
        QFETCH(QString, current);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("draws")));
        QFile file(dir.filePath(QStringLiteral("draws/开奖.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString path = current == QLatin1String("|") ? QString() : dir.filePath(current);
        const QString want =
            expected == QLatin1String("documents")
                ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                : dir.filePath(expected);
        QCOMPARE(OpenDialogStart(path), want);
        // The path as the settings file and the box hold it on Windows.
        QCOMPARE(OpenDialogStart(QDir::toNativeSeparators(path)), want);
    }

    // Digits and Latin letters come from one of the families the program names (a sans-serif
    // face), never from the system's last resort, which is a serif face under Wine; Chinese
    // from one of them too. The application's font names only the family.
    void fontsFallBackToTheNamedFamilies_data() {
        QTest::addColumn<QFont>("font");
        QTest::newRow("ChineseFont") << ChineseFont(10);
        QTest::newRow("family only") << QFont(ChineseFontFamily(), 9);
    }
    void fontsFallBackToTheNamedFamilies() {
        QFETCH(QFont, font);
        const QStringList named = ChineseFontFamilies();
        QCOMPARE(named.first(), ChineseFontFamily());
        for (auto system : {QFontDatabase::Latin, QFontDatabase::SimplifiedChinese}) {
            const QString used = QRawFont::fromFont(font, system).familyName();
            QVERIFY2(named.contains(used, Qt::CaseInsensitive),
                     qPrintable(QStringLiteral("%1 drawn in %2").arg(system).arg(used)));
        }
    }
};

QTEST_MAIN(TestDesktopSeams)
#include "test_desktop_seams.moc"
