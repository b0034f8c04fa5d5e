// Faults a player meets at the desk in the main window: boxes from automatic paths, timer
// work inside other work, the countdown of a cleared plan, a restarted plan, kill lists with
// Linux line ends, 自动做号 during a plan, the plan text, the delay box, the monitor's base set
// after a reduction, a narrow screen, and the look of the selected buttons.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include "core/model/Text.h"
#include "gui/common/Settings.h"
#include "gui/monitor/JianKongForm.h"
#include "support_fixture.h"

using namespace zuohao::gui;

// Seams whose message box runs what the test puts inside it, as a box's event loop would.
class BoxSeams : public TestSeams {
public:
    std::function<void()> insideBox;
    void information(QWidget* parent, const QString& text) override {
        TestSeams::information(parent, text);
        if (insideBox) insideBox();
    }
};

class TestDeskMainWindow : public QObject {
    Q_OBJECT

    FormFixture* f = nullptr;
    std::vector<Draw> draws = FormFixture::makeDraws(60);
    int shown = 40;

    zuohao::LotteryClass& lot() { return f->form().Lotteries(0); }
    template <class T> T* w(const char* name) {
        T* c = f->child<T>(QString::fromUtf8(name));
        if (!c) qFatal("no control %s", name);
        return c;
    }
    QString status() { return w<QLabel>("showLabel")->text(); }
    void click(const char* name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    void paste(int k, const QString& text) {
        f->seams.clipboard = text;
        QTest::mouseClick(f->child<QPushButton>(QStringLiteral("Command3_%1").arg(k)),
                          Qt::LeftButton);
    }
    // One more draw in the file, and the refresh tick that reads it.
    void nextDraw() {
        ++shown;
        f->writeDraws(std::vector<Draw>(draws.begin(), draws.begin() + shown));
        f->form().GetNewTimer_Timer();
    }
    void startPlan() {
        click("数字_5"); // banker 5: a base set of 271 numbers
        click("SuishuiCmd");
        QVERIFY(lot().hasPlan());
    }
    void monitorOn() {
        f->form().JianKongCmd_Click();
        QTest::mouseClick(f->form().jianKongForm()->findChild<QPushButton*>("jiankongCom"),
                          Qt::LeftButton);
        QVERIFY(f->form().monitorState().Monitoring);
    }

private slots:
    void init() {
        WriteDelaySetting(QStringLiteral("0"));
        f = new FormFixture;
        shown = 40;
        f->writeDraws(std::vector<Draw>(draws.begin(), draws.begin() + shown));
        f->start(f->defaultOptions());
        QVERIFY(lot().hasHistory());
    }
    void cleanup() {
        delete f;
        f = nullptr;
        setSeams(nullptr);
    }

    // Item: an automatic restart on an empty base set shows no box, and says why.
    void emptyBaseSetWhileMonitoringShowsNoBox() {
        startPlan();
        monitorOn();
        click("个数_4"); // four banker digits in a three-digit number: nothing is left
        paste(0, QStringLiteral("123")); // a kill-list change renews the base set
        QCOMPARE(w<QPlainTextEdit>("ShowDadiText")->toPlainText(), QString());
        nextDraw();
        QVERIFY2(f->seams.messages.isEmpty(), qPrintable(f->seams.messages.join('|')));
        QVERIFY2(status().startsWith(QStringLiteral("最后刷新:  ")), qPrintable(status()));
        QVERIFY2(status().contains(QStringLiteral("未有【过滤大底】，先去做出大底")),
                 qPrintable(status()));
        QVERIFY(lot().heldDraws().Exists(draws[std::size_t(shown - 1)].qishu.toStdString()));
    }

    // Item: a refresh tick that fires while a box is open waits until the box is closed.
    void tickInsideAModalBoxIsDeferredNotLost() {
        BoxSeams box;
        setSeams(&box);
        f->writeDraws(std::vector<Draw>(draws.begin(), draws.begin() + shown + 1));
        const std::string newest = draws[std::size_t(shown)].qishu.toStdString();
        bool ranInside = true;
        box.insideBox = [&] {
            f->form().GetNewTimer_Timer(); // the timer fires inside the box's event loop
            QApplication::processEvents();
            ranInside = lot().heldDraws().Exists(newest);
        };
        // The user switches monitoring on without a base set: the box answers the click.
        f->form().JianKongCmd_Click();
        QTest::mouseClick(f->form().jianKongForm()->findChild<QPushButton*>("jiankongCom"),
                          Qt::LeftButton);
        QCOMPARE(box.messages.size(), 1);
        QVERIFY(!ranInside);
        QVERIFY(QTest::qWaitFor([&] { return lot().heldDraws().Exists(newest); }, 2000));
    }

    // Item: 清除计划 during the countdown stops it; no base set or plan line comes back.
    void clearingThePlanStopsTheCountdown() {
        w<QLineEdit>("TextYanchi")->setText(QStringLiteral("3"));
        startPlan();
        nextDraw();
        QVERIFY(f->form().timerGetHwnd()->isActive());
        const std::string line = lot().newestDraw()->PlanTxt();
        click("PlanCmd_0");
        QVERIFY(!f->form().timerGetHwnd()->isActive());
        for (int i = 0; i < 3; ++i)
            f->form().TimerGetHwnd_Timer(); // ticks already on their way
        QCOMPARE(w<QPlainTextEdit>("ShowDadiText")->toPlainText(), QString());
        QCOMPARE(w<QPlainTextEdit>("PlanText")->toPlainText(), QString());
        QCOMPARE(lot().newestDraw()->PlanTxt(), line); // no plan line for a plan that is gone
        QCOMPARE(w<QLabel>("LabelYanchi")->text(), QStringLiteral("3"));
    }

    // Item: 开始缩水 cannot silently restart a running plan (it is disabled while one runs).
    void startIsDisabledWhileAPlanRuns() {
        startPlan();
        nextDraw();
        const QString lines = w<QPlainTextEdit>("PlanText")->toPlainText();
        QVERIFY(!lines.isEmpty());
        auto* start = w<QPushButton>("SuishuiCmd");
        QVERIFY(!start->isEnabled());
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(w<QPlainTextEdit>("PlanText")->toPlainText(), lines);
        click("PlanCmd_0");
        QVERIFY(start->isEnabled());
    }

    // Item: a kill list with LF, CR or CR LF line ends keeps its first line.
    void killListsKeepTheirFirstLineAtAnyLineEnd() {
        for (const char* end : {"\n", "\r", "\r\n"}) {
            paste(0,
                  QStringLiteral("123 456") + QString::fromLatin1(end) + QStringLiteral("789 012"));
            QCOMPARE(w<QPlainTextEdit>("TextKillDadi_0")->toPlainText(), QStringLiteral("123 456"));
            QCOMPARE(w<QLabel>("Labelzhu_0")->text(), QStringLiteral("2注"));
        }
        // Enter at the end of a valid typed list keeps it.
        auto* box = w<QPlainTextEdit>("TextKillDadi_1");
        box->setFocus();
        box->setPlainText(QStringLiteral("1234 5678")); // pasted into the box
        box->moveCursor(QTextCursor::End);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->toPlainText(), QStringLiteral("1234 5678"));
        QCOMPARE(lot().formSet().KL1, std::string("1234 5678"));
    }

    // Item: 自动做号 stays usable during a plan; the position options and 大底反集 are locked.
    void autoMakingStaysUsableDuringAPlan() {
        startPlan();
        QVERIFY(w<QCheckBox>("CheckAuto")->isEnabled());
        QVERIFY(!w<QCheckBox>("Check1")->isEnabled());
        QVERIFY(!w<QRadioButton>("WeiOption_3")->isEnabled());
        QTest::mouseClick(w<QCheckBox>("CheckAuto"), Qt::LeftButton);
        QVERIFY(!lot().formSet().PLA);
    }

    // Item: the plan text shows whole lines, three at least, the newest in view.
    void planTextShowsWholeLinesNewestInView() {
        startPlan();
        for (int i = 0; i < 5; ++i)
            nextDraw();
        QApplication::processEvents();
        auto* plan = w<QPlainTextEdit>("PlanText");
        QCOMPARE(plan->lineWrapMode(), QPlainTextEdit::NoWrap);
        const int lineHeight = plan->fontMetrics().lineSpacing();
        QVERIFY2(plan->viewport()->height() >= 3 * lineHeight,
                 qPrintable(QString::number(plan->viewport()->height())));
        const QStringList lines = plan->toPlainText().split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 5);
        for (const QString& line : lines)
            QVERIFY2(plan->fontMetrics().horizontalAdvance(line) <= plan->viewport()->width(),
                     qPrintable(line));
        // The newest three lines are wholly in view.
        QTextDocument* doc = plan->document();
        QCOMPARE(doc->lastBlock().text(), lines.last());
        for (QTextBlock b = doc->lastBlock(); b.blockNumber() > doc->blockCount() - 4;
             b = b.previous()) {
            const QRect r = plan->cursorRect(QTextCursor(b));
            QVERIFY2(
                r.top() >= 0 && r.bottom() <= plan->viewport()->height(),
                qPrintable(b.text() + QStringLiteral(" at %1..%2").arg(r.top()).arg(r.bottom())));
        }
    }

    // Item: 7.5 can be typed into 延迟; it is normalised when editing ends.
    void delayIsNormalisedWhenEditingEnds() {
        auto* delay = w<QLineEdit>("TextYanchi");
        delay->setFocus();
        delay->selectAll();
        QTest::keyClicks(delay, QStringLiteral("7.5"));
        QCOMPARE(delay->text(), QStringLiteral("7.5"));
        QTest::keyClick(delay, Qt::Key_Return);
        QCOMPARE(delay->text(), QStringLiteral("8"));
        QCOMPARE(f->form().formState().Yanchi, 8);
        QCOMPARE(ReadDelaySetting(), QStringLiteral("8"));
    }

    // Item: the monitor's restart after a reduction takes the new base set.
    void monitorRestartTakesTheNewBaseSet() {
        startPlan();
        monitorOn();
        paste(0, QStringLiteral("050 051 052 053 054"));
        const QString base = w<QPlainTextEdit>("ShowDadiText")->toPlainText();
        QCOMPARE(zuohao::CountNumberList(base.toStdString()), 266);
        QCOMPARE(QString::fromStdString(f->form().monitorState().MonitorBase.text()), base);
    }

    // Item: the window fits a screen 1024 pixels wide; no control overlaps or is cut.
    void windowFitsA1024WideScreen() {
        QVERIFY2(f->form().minimumSizeHint().width() <= 1024,
                 qPrintable(QString::number(f->form().minimumSizeHint().width())));
        QVERIFY(f->form().minimumWidth() <= 1024);
        f->form().resize(1024, 700);
        startPlan();
        QApplication::processEvents();
        QCOMPARE(f->form().width(), 1024);
        QWidget* panel = w<QWidget>("MakingPanel");
        const QRect area = panel->rect();
        QList<QWidget*> controls;
        for (QWidget* c : panel->findChildren<QWidget*>()) {
            if (!c->isVisibleTo(panel) ||
                c->objectName().startsWith(QStringLiteral("SelectText")) ||
                c->objectName().startsWith(QStringLiteral("CountText")))
                continue;
            if (qobject_cast<QAbstractButton*>(c) || qobject_cast<QLabel*>(c) ||
                qobject_cast<QLineEdit*>(c) || qobject_cast<QPlainTextEdit*>(c))
                controls << c;
        }
        QVERIFY(controls.size() > 60);
        QList<QRect> rects;
        for (QWidget* c : controls) {
            const QRect r(c->mapTo(panel, QPoint(0, 0)), c->size());
            QVERIFY2(area.contains(r), qPrintable(c->objectName() + c->metaObject()->className()));
            // A caption is not cut: the control is as wide as its text needs.
            if (auto* b = qobject_cast<QAbstractButton*>(c); b && !b->text().isEmpty())
                QVERIFY2(b->width() >= b->fontMetrics().horizontalAdvance(b->text()),
                         qPrintable(b->text()));
            if (auto* l = qobject_cast<QLabel*>(c);
                l && !l->text().isEmpty() && !l->hasScaledContents())
                QVERIFY2(l->width() >= l->fontMetrics().horizontalAdvance(l->text()),
                         qPrintable(l->text()));
            rects << r;
        }
        for (int i = 0; i < rects.size(); ++i)
            for (int j = i + 1; j < rects.size(); ++j) {
                if (controls[i]->isAncestorOf(controls[j]) ||
                    controls[j]->isAncestorOf(controls[i]))
                    continue;
                QVERIFY2(!rects[i].intersects(rects[j]),
                         qPrintable(controls[i]->objectName() + " / " + controls[j]->objectName() +
                                    " " + QString::number(i) + "," + QString::number(j)));
            }
        // The grid opens with 期号 in sight; each selection and count box that takes the
        // focus is scrolled into sight.
        auto* grid = w<QTableView>("SortGrid");
        QCOMPARE(grid->horizontalScrollBar()->value(), 0);
        QApplication::setActiveWindow(&f->form());
        for (int g = 0; g < 5; ++g)
            for (const QString& name :
                 {QStringLiteral("SelectText_%1"), QStringLiteral("CountText_%1")}) {
                auto* box = w<QLineEdit>(qPrintable(name.arg(g)));
                box->setFocus();
                QTRY_VERIFY(box->hasFocus());
                const QRect seen(grid->viewport()->mapTo(&f->form(), QPoint(0, 0)),
                                 grid->viewport()->size());
                const QRect r(box->mapTo(&f->form(), QPoint(0, 0)), box->size());
                QVERIFY2(r.left() >= seen.left() && r.right() <= seen.right(),
                         qPrintable(box->objectName()));
            }
    }

    // Item: a selected 数字 or 个数 button is a red gradient; a cleared plan's caption.
    void selectedButtonIsARedGradientAndClearedCaption() {
        auto* b = w<QPushButton>("数字_3");
        QTest::mouseClick(b, Qt::LeftButton);
        const QImage img = b->grab().toImage();
        const QColor top = img.pixelColor(img.width() / 2, 3);
        const QColor bottom = img.pixelColor(img.width() / 2, img.height() - 4);
        for (const QColor& c : {top, bottom})
            QVERIFY2(c.red() > 150 && c.red() > 2 * c.green() && c.red() > 2 * c.blue(),
                     qPrintable(c.name()));
        QVERIFY2(top != bottom && top != QColor(255, 0, 0), qPrintable(top.name()));
        // With the focus it shows a ring on the red: a blue edge.
        QApplication::setActiveWindow(&f->form());
        b->setFocus();
        QTRY_VERIFY(b->hasFocus());
        const QImage focused = b->grab().toImage();
        const QColor edge = focused.pixelColor(0, focused.height() / 2);
        QVERIFY2(edge.blue() > edge.red(), qPrintable(edge.name()));
        startPlan();
        click("PlanCmd_0");
        QCOMPARE(w<QPushButton>("SuishuiCmd")->text(), QStringLiteral("开 始 缩 水"));
    }

    // What a person sees of a plan running with the monitor on, at the screen's size; with
    // ZUOHAO_LOOK_HOLD_MS set the window stays up that long for a screenshot (under Xvfb).
    void lookOfAPlanWithTheMonitorOn() {
        f->form().showMaximized();
        startPlan();
        monitorOn();
        f->form().jianKongForm()->close(); // monitoring goes on with its window closed
        for (int i = 0; i < 6; ++i)
            nextDraw();
        QVERIFY(w<QCheckBox>("CheckAuto")->isEnabled());
        QVERIFY(f->form().monitorState().Monitoring);
        auto* plan = w<QPlainTextEdit>("PlanText");
        QVERIFY(plan->toPlainText().split('\n', Qt::SkipEmptyParts).size() >= 6);
        bool ok = false;
        const int hold = qEnvironmentVariableIntValue("ZUOHAO_LOOK_HOLD_MS", &ok);
        if (ok && hold > 0) QTest::qWait(hold);
    }
};

QTEST_MAIN(TestDeskMainWindow)
#include "test_desk_main_window.moc"
