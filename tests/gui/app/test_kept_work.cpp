// The player's work survives the program's end, even one without closing (kill -9): the
// conditions, a 5,000-number kill list, the monitor's settings and the window sizes come back
// and make the same base set; a kept file that cannot be read is set aside with a note; the
// note that the settings live in the user's copy stays until it is dismissed.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "core/model/NumberList.h"
#include "gui/common/LastingNote.h"
#include "gui/common/Settings.h"
#include "gui/common/WindowPlacement.h"
#include "gui/monitor/JianKongForm.h"
#include "support_fixture.h"

using namespace zuohao::gui;

class TestKeptWork : public QObject {
    Q_OBJECT

    QTemporaryDir m_keep;
    QString workPath() const { return m_keep.filePath(QStringLiteral("work.ini")); }
    LotteryForm& start(FormFixture& f) {
        f.writeDraws(FormFixture::makeDraws(40));
        AppOptions o = f.defaultOptions();
        o.workPath = workPath();
        return f.start(o);
    }
    static QByteArray fileBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void workComesBackAfterAKill() {
        QString killList;
        for (int n = 0; n < 5000; ++n)
            killList += QStringLiteral("%1 ").arg(n * 2, 4, 10, QLatin1Char('0'));
        killList.chop(1);
        int before = 0;
        QSize mainSize;
        {
            FormFixture f;
            LotteryForm& form = start(f);
            QTest::mouseClick(f.child<QRadioButton>("WeiOption_10"), Qt::LeftButton);
            for (const char* b : {"数字_5", "数字_21", "个数_1"})
                QTest::mouseClick(f.child<QPushButton>(b), Qt::LeftButton);
            f.child<QCheckBox>("CheckLu_3")->click();
            f.seams.clipboard = killList;
            QTest::mouseClick(f.child<QPushButton>("Command3_1"), Qt::LeftButton);
            auto* sz = form.jianKongForm()->findChild<QComboBox*>("SZCom_2");
            sz->setCurrentIndex(sz->findText(QStringLiteral("5")));
            emit sz->activated(sz->currentIndex());
            form.jianKongForm()->findChild<QLineEdit*>("ZhuoQiTxt")->setText(QStringLiteral("10"));
            form.resize(form.size() - QSize(0, 30));
            mainSize = form.size();
            // The size goes to the places file once the resize has settled, closing or not.
            QTRY_COMPARE(WindowPlacement::kept(QStringLiteral("main")).size(), mainSize);
            QTest::mouseClick(f.child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
            before = zuohao::CountNumberList(form.Lotteries(0).formSet().DAD.text());
            QVERIFY(before > 0);
            // Written without any closing: the window goes away below as in a kill.
            QTRY_COMPARE(fileBytes(workPath()), SavedWorkBytes(form.currentWork()));
        }
        FormFixture f;
        LotteryForm& form = start(f);
        QVERIFY(f.child<QRadioButton>("WeiOption_10")->isChecked());
        QCOMPARE(f.child<QPlainTextEdit>("TextKillDadi_1")->toPlainText(), killList);
        QCOMPARE(form.monitorState().SegmentSettings[2], std::string("5"));
        QCOMPARE(form.monitorState().SegmentPeriod, std::string("10"));
        QVERIFY(!form.Lotteries(0).IsHasPlan); // the player starts the plan again
        QTest::mouseClick(f.child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        QCOMPARE(zuohao::CountNumberList(form.Lotteries(0).formSet().DAD.text()), before);
    }

    void anUnreadableFileIsSetAside() {
        QFile bad(workPath());
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("\x00\xff garbage [lottery0]\nIDX=99\n", 28);
        bad.close();
        FormFixture f;
        LotteryForm& form = start(f);
        const QStringList aside =
            QDir(m_keep.path()).entryList({QStringLiteral("work.ini.bad-*")}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QVERIFY(form.lastingNote()->text().contains(aside[0]));
        QVERIFY(ParseSavedWork(fileBytes(workPath())).has_value()); // replaced by a good one
    }

    void aFileCutShortIsNotRead() {
        SavedWork w;
        w.lockPeriod = "202612090001";
        w.segmentPeriod = "10";
        const QByteArray full = SavedWorkBytes(w);
        QCOMPARE(ParseSavedWork(full)->lockPeriod, w.lockPeriod);
        // Cut anywhere before its last line end, the file is not read (and is set aside).
        for (qsizetype cut = 0; cut < full.size() - 1; ++cut)
            QVERIFY2(!ParseSavedWork(full.left(cut)), QByteArray::number(cut).constData());
        QByteArray lostLine = full;
        lostLine.replace("QS=202612090001\n", "");
        QVERIFY(!ParseSavedWork(lostLine));
        // A file of the first format has no end and is read whole.
        QByteArray old = full.left(full.indexOf("[end]"));
        old.replace("format=2", "format=1");
        QCOMPARE(ParseSavedWork(old)->lockPeriod, w.lockPeriod);
    }

    void theUserCopyNoteStaysTillDismissed() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(40));
        const QString copy = f.dir.filePath(QStringLiteral("copy.ini"));
        QVERIFY(WriteToINI(kIniSection, kIniKey, f.drawPath(), copy));
        AppOptions o = f.defaultOptions();
        o.drawFile.clear();
        o.iniCopyPath = copy;
        LotteryForm& form = f.start(o);
        form.GetNewTimer_Timer();
        QTRY_VERIFY(!form.refreshUnderWay());
        QVERIFY(form.lastingNote()->text().contains(QDir::toNativeSeparators(copy)));
        QTest::mouseClick(form.lastingNote()->findChild<QPushButton*>("LastingNoteDismiss"),
                          Qt::LeftButton);
        QVERIFY(form.lastingNote()->isHidden());
    }
};

QTEST_MAIN(TestKeptWork)
#include "test_kept_work.moc"
