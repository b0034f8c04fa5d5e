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

#include "core/model/GridLayout.h"
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
        QCOMPARE(form.monitorState().SegmentSettings[2], 5);
        QCOMPARE(form.monitorState().SegmentPeriod, 10);
        QVERIFY(!form.Lotteries(0).hasPlan()); // the player starts the plan again
        QTest::mouseClick(f.child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        QCOMPARE(zuohao::CountNumberList(form.Lotteries(0).formSet().DAD.text()), before);
    }

    // The selection boxes come back as they were, typed or derived from the ticked columns:
    // the same draws give the same base set after a closing or a kill. A draw that came
    // while the program was closed derives them anew, as any new draw does.
    void theSameDrawsGiveTheSameBaseSet_data() {
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("drawWhileClosed");
        QTest::newRow("closed") << true << false;
        QTest::newRow("killed") << false << false;
        QTest::newRow("a draw came meanwhile") << false << true;
    }
    void theSameDrawsGiveTheSameBaseSet() {
        QFETCH(bool, closed);
        QFETCH(bool, drawWhileClosed);
        QFile::remove(workPath());
        QString killList;
        for (int n = 0; n < 5000; ++n)
            killList += QStringLiteral("%1 ").arg(n * 2, 4, 10, QLatin1Char('0'));
        QStringList boxes;
        QString base;
        auto boxTexts = [](FormFixture& f) {
            QStringList out;
            for (int g = 0; g < 5; ++g)
                out << f.child<QLineEdit>(QStringLiteral("SelectText_%1").arg(g))->text();
            return out;
        };
        {
            FormFixture f;
            LotteryForm& form = start(f);
            QTest::mouseClick(f.child<QRadioButton>("WeiOption_10"), Qt::LeftButton); // 前四星
            QTest::keyClicks(f.child<QLineEdit>("Texthwnd3_1"), QStringLiteral("9"));
            for (int box : {zuohao::CheckOf(0, 0), zuohao::CheckOf(2, 3), zuohao::CheckOf(2, 6),
                            zuohao::CheckOf(3, 10)})
                f.child<QCheckBox>(QStringLiteral("SelectCheck_%1").arg(box))->click();
            QTest::keyClicks(f.child<QLineEdit>("SelectText_1"), QStringLiteral("135"));
            for (const char* count : {"CountText_0", "CountText_1", "CountText_2"})
                f.child<QLineEdit>(QString::fromLatin1(count))->setText(QStringLiteral("123"));
            for (const char* b : {"数字_5", "数字_20", "数字_29", "个数_1"})
                QTest::mouseClick(f.child<QPushButton>(QString::fromUtf8(b)), Qt::LeftButton);
            f.child<QCheckBox>("CheckLu_0")->click();
            f.child<QCheckBox>("CheckLu_3")->click();
            f.seams.clipboard = killList.trimmed();
            QTest::mouseClick(f.child<QPushButton>("Command3_1"), Qt::LeftButton);
            boxes = boxTexts(f);
            QCOMPARE(boxes[1], QStringLiteral("135"));
            QVERIFY(!boxes[0].isEmpty() && !boxes[2].isEmpty() && !boxes[3].isEmpty());
            QTest::mouseClick(f.child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
            base = f.child<QPlainTextEdit>("ShowDadiText")->toPlainText();
            QVERIFY(zuohao::CountNumberList(base.toStdString()) > 0);
            if (closed)
                form.close();
            else // as in a kill: only what was written meanwhile is there
                QTRY_COMPARE(fileBytes(workPath()), SavedWorkBytes(form.currentWork()));
        }
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(drawWhileClosed ? 41 : 40));
        AppOptions o = f.defaultOptions();
        o.workPath = workPath();
        f.start(o);
        if (drawWhileClosed) {
            QCOMPARE(boxTexts(f)[1], QString()); // typed: replaced by the new draw
            return;
        }
        QCOMPARE(boxTexts(f), boxes);
        QTest::mouseClick(f.child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        const QString again = f.child<QPlainTextEdit>("ShowDadiText")->toPlainText();
        QCOMPARE(zuohao::CountNumberList(again.toStdString()),
                 zuohao::CountNumberList(base.toStdString()));
        QCOMPARE(again, base);
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
        w.lotteries[0].lockPeriod = zuohao::Period::parse("202612090001");
        w.lotteries[0].segmentPeriod = 10;
        const QByteArray full = SavedWorkBytes(w);
        QCOMPARE(ParseSavedWork(full)->lotteries[0].lockPeriod.text(), std::string("202612090001"));
        // Cut anywhere before its last line end, the file is not read (and is set aside).
        for (qsizetype cut = 0; cut < full.size() - 1; ++cut)
            QVERIFY2(!ParseSavedWork(full.left(cut)), QByteArray::number(cut).constData());
        QByteArray lostLine = full;
        lostLine.replace("QS=202612090001\n", "");
        QVERIFY(!ParseSavedWork(lostLine));
        // A file of the first format has no end and is read whole.
        QByteArray old = full.left(full.indexOf("[end]"));
        old.replace("format=2", "format=1");
        QCOMPARE(ParseSavedWork(old)->lotteries[0].lockPeriod.text(), std::string("202612090001"));
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
