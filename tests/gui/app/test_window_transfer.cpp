// Numbers read from picked windows (this program's own widgets) into the kill lists and the
// extra digits: the drag of a hand, the reading right after it, and the countdown after a
// new draw while a plan runs.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "core/model/Text.h"
#include "gui/common/Settings.h"
#include "gui/winlink/HandPicker.h"
#include "gui/winlink/OutlineFrame.h"
#include "support_fixture.h"

using namespace zuohao::gui;

class TestWindowTransfer : public QObject {
    Q_OBJECT

    FormFixture* f = nullptr;
    QWidget* target = nullptr;
    QLineEdit* line = nullptr;
    QPlainTextEdit* box = nullptr;

private slots:
    void init() {
        WriteDelaySetting(QStringLiteral("3"));
        f = new FormFixture;
        f->writeDraws(FormFixture::makeDraws(40));
        f->start(f->defaultOptions());
        target = new QWidget;
        target->setWindowTitle(QStringLiteral("号码窗口"));
        // Beside the main window, so that the point under the pointer is the target's.
        f->form().setGeometry(0, 0, 560, 500);
        target->setGeometry(600, 20, 190, 200);
        line = new QLineEdit(target);
        line->setGeometry(5, 10, 180, 30);
        box = new QPlainTextEdit(target);
        box->setGeometry(5, 60, 180, 120);
        target->show();
        QVERIFY(QTest::qWaitForWindowExposed(target));
    }
    void cleanup() {
        delete target;
        delete f;
    }

    void handZeroFillsTheThreeDigitKillList() {
        line->setText(QStringLiteral("123 456 789"));
        f->dragHand(0, line);
        QVERIFY(f->text("LabelHwnd_0") != QStringLiteral("0"));
        QCOMPARE(f->text("TextKillDadi_0"), QStringLiteral("123 456 789"));
        QCOMPARE(f->text("Labelzhu_0"), QStringLiteral("3注"));
        QCOMPARE(f->form().Lotteries(0).formSet().KL0, std::string("123 456 789"));

        line->setText(QStringLiteral("123 4567"));
        f->dragHand(0, line);
        QCOMPARE(f->text("TextKillDadi_0"), QString());
        QCOMPARE(f->text("Labelzhu_0"), QStringLiteral("0注"));
    }

    void handOneExpandsForTheFrontFour() {
        QTest::mouseClick(f->child<QRadioButton>("WeiOption_10"), Qt::LeftButton);
        line->setText(QStringLiteral("123"));
        f->dragHand(1, line);
        QCOMPARE(f->text("TextKillDadi_1"),
                 QStringLiteral("0123 1123 2123 3123 4123 5123 6123 7123 8123 9123"));
        QCOMPARE(f->text("Labelzhu_1"), QStringLiteral("10注"));
    }

    void handThreeMergesDigitsIntoGroupZero() {
        box->setPlainText(QStringLiteral("3 5 7\n9"));
        f->dragHand(3, box);
        QCOMPARE(f->text("Texthwnd3_1"), QStringLiteral("357"));
        QCOMPARE(f->text("SelectText_0"), QStringLiteral("357"));
        QCOMPARE(f->form().Lotteries(0).formSet().SEL[0], std::string("357"));
    }

    void countdownTransfersOnTheThirdTick() {
        line->setText(QStringLiteral("111 222"));
        f->dragHand(0, line);
        QCOMPARE(f->text("TextKillDadi_0"), QStringLiteral("111 222"));
        QTest::mouseClick(f->child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        line->setText(QStringLiteral("333 444 555"));

        auto draws = FormFixture::makeDraws(41);
        f->writeDraws(draws);
        f->form().GetNewTimer_Timer(); // a new draw while a plan runs: the countdown starts
        QVERIFY(f->form().timerGetHwnd()->isActive());
        f->form().timerGetHwnd()->stop(); // the test ticks by hand
        f->form().TimerGetHwnd_Timer();
        QCOMPARE(f->text("LabelYanchi"), QStringLiteral("2"));
        f->form().TimerGetHwnd_Timer();
        QCOMPARE(f->text("LabelYanchi"), QStringLiteral("1"));
        QCOMPARE(f->text("TextKillDadi_0"), QStringLiteral("111 222"));
        f->form().TimerGetHwnd_Timer();
        QCOMPARE(f->text("TextKillDadi_0"), QStringLiteral("333 444 555"));
        QCOMPARE(f->text("LabelYanchi"), QStringLiteral("3"));
        QCOMPARE(zuohao::CountNumberList(f->form().Lotteries(0).formSet().DAD.text()), 997);
        QVERIFY(f->form().Lotteries(0).newestDraw()->PlanTxt().find("997注") != std::string::npos);

        // A picked window that is gone reads as empty and empties its target.
        delete target;
        target = nullptr;
        f->form().formState().Yanchi = 0;
        f->writeDraws(FormFixture::makeDraws(42));
        f->form().GetNewTimer_Timer(); // delay 0: the transfer runs at once
        QVERIFY(!f->form().timerGetHwnd()->isActive());
        QCOMPARE(f->text("TextKillDadi_0"), QString());
        QCOMPARE(zuohao::CountNumberList(f->form().Lotteries(0).formSet().DAD.text()), 1000);
    }
};

QTEST_MAIN(TestWindowTransfer)
#include "test_window_transfer.moc"
