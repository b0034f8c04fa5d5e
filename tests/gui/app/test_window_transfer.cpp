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

    // Drags hand i from its icon onto a widget and releases it there.
    void drag(int i, QWidget* onto) {
        HandPicker* hands = f->form().handPicker();
        const QPoint where = onto->mapToGlobal(onto->rect().center());
        hands->setPointerSource([where] { return where; });
        QLabel* hand = hands->hand(i);
        QTest::mousePress(hand, Qt::LeftButton);
        // Until a look under the pointer during this drag outlines the widget.
        QTRY_VERIFY(hands->outline() && hands->outline()->isVisible() &&
                    hands->hoverRect().contains(where));
        QTest::mouseRelease(hand, Qt::LeftButton);
    }
    QString text(const char* name) {
        if (auto* e = f->child<QPlainTextEdit>(QString::fromLatin1(name))) return e->toPlainText();
        if (auto* l = f->child<QLineEdit>(QString::fromLatin1(name))) return l->text();
        return f->child<QLabel>(QString::fromLatin1(name))->text();
    }

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
        drag(0, line);
        QVERIFY(text("LabelHwnd_0") != QStringLiteral("0"));
        QCOMPARE(text("TextKillDadi_0"), QStringLiteral("123 456 789"));
        QCOMPARE(text("Labelzhu_0"), QStringLiteral("3注"));
        QCOMPARE(f->form().Lotteries(0).formSet().KL0, std::string("123 456 789"));

        line->setText(QStringLiteral("123 4567"));
        drag(0, line);
        QCOMPARE(text("TextKillDadi_0"), QString());
        QCOMPARE(text("Labelzhu_0"), QStringLiteral("0注"));
    }

    void handOneExpandsForTheFrontFour() {
        QTest::mouseClick(f->child<QRadioButton>("WeiOption_10"), Qt::LeftButton);
        line->setText(QStringLiteral("123"));
        drag(1, line);
        QCOMPARE(text("TextKillDadi_1"),
                 QStringLiteral("0123 1123 2123 3123 4123 5123 6123 7123 8123 9123"));
        QCOMPARE(text("Labelzhu_1"), QStringLiteral("10注"));
    }

    void handThreeMergesDigitsIntoGroupZero() {
        box->setPlainText(QStringLiteral("3 5 7\n9"));
        drag(3, box);
        QCOMPARE(text("Texthwnd3_1"), QStringLiteral("357"));
        QCOMPARE(text("SelectText_0"), QStringLiteral("357"));
        QCOMPARE(f->form().Lotteries(0).formSet().SEL[0], std::string("357"));
    }

    void countdownTransfersOnTheThirdTick() {
        line->setText(QStringLiteral("111 222"));
        drag(0, line);
        QCOMPARE(text("TextKillDadi_0"), QStringLiteral("111 222"));
        QTest::mouseClick(f->child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        line->setText(QStringLiteral("333 444 555"));

        auto draws = FormFixture::makeDraws(41);
        f->writeDraws(draws);
        f->form().GetNewTimer_Timer(); // a new draw while a plan runs: the countdown starts
        QVERIFY(f->form().timerGetHwnd()->isActive());
        f->form().timerGetHwnd()->stop(); // the test ticks by hand
        f->form().TimerGetHwnd_Timer();
        QCOMPARE(text("LabelYanchi"), QStringLiteral("2"));
        f->form().TimerGetHwnd_Timer();
        QCOMPARE(text("LabelYanchi"), QStringLiteral("1"));
        QCOMPARE(text("TextKillDadi_0"), QStringLiteral("111 222"));
        f->form().TimerGetHwnd_Timer();
        QCOMPARE(text("TextKillDadi_0"), QStringLiteral("333 444 555"));
        QCOMPARE(text("LabelYanchi"), QStringLiteral("3"));
        QCOMPARE(zuohao::CountNumberList(f->form().Lotteries(0).formSet().DAD.text()), 997);
        QVERIFY(f->form().Lotteries(0).newestDraw()->PlanTxt().find("997注") != std::string::npos);

        // A picked window that is gone reads as empty and empties its target.
        delete target;
        target = nullptr;
        f->form().formState().Yanchi = 0;
        f->writeDraws(FormFixture::makeDraws(42));
        f->form().GetNewTimer_Timer(); // delay 0: the transfer runs at once
        QVERIFY(!f->form().timerGetHwnd()->isActive());
        QCOMPARE(text("TextKillDadi_0"), QString());
        QCOMPARE(zuohao::CountNumberList(f->form().Lotteries(0).formSet().DAD.text()), 1000);
    }
};

QTEST_MAIN(TestWindowTransfer)
#include "test_window_transfer.moc"
