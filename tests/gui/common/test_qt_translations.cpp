// Qt's own buttons and dialogs speak the user's language.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include "gui/common/QtTranslations.h"

using namespace zuohao::gui;

class TestQtTranslations : public QObject {
    Q_OBJECT

private slots:
    void chineseLocaleTranslatesStandardButtons() {
        const QLocale zh(QLocale::Chinese, QLocale::China);
        bool present = false;
        for (const QString& folder : QtTranslationFolders())
            present = present || QDir(folder).exists(QStringLiteral("qtbase_zh_CN.qm"));
        if (!present) QSKIP("Qt's Chinese translation (qtbase_zh_CN.qm) is not installed");
        std::unique_ptr<QTranslator> t = LoadQtTranslator(zh);
        QVERIFY(t);
        QVERIFY(QCoreApplication::installTranslator(t.get()));
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Ok)->text().remove(QLatin1Char('&')),
                 QStringLiteral("确定"));
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
                 QStringLiteral("取消"));
        QCoreApplication::removeTranslator(t.get());
    }

    // The file dialog's type column: "Folder" in Chinese, whether Qt's file has it or not.
    void folderIsNamedInChinese() {
        const QLocale zh(QLocale::Chinese, QLocale::China);
        QVERIFY(!MissingQtTextsTranslator(QLocale(QLocale::English)));
        std::unique_ptr<QTranslator> missing = MissingQtTextsTranslator(zh);
        QVERIFY(missing);
        std::unique_ptr<QTranslator> qt = LoadQtTranslator(zh);
        QVERIFY(QCoreApplication::installTranslator(missing.get()));
        if (qt) QVERIFY(QCoreApplication::installTranslator(qt.get()));
        QCOMPARE(QFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("文件夹"));
        QCOMPARE(QCoreApplication::translate("QAbstractFileIconProvider", "Other"),
                 QStringLiteral("Other")); // what it does not know passes on
        if (qt) QCoreApplication::removeTranslator(qt.get());
        QCoreApplication::removeTranslator(missing.get());
    }
};

QTEST_MAIN(TestQtTranslations)
#include "test_qt_translations.moc"
