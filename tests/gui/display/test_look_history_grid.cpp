// The grid as the main window shows it: 100 sample draws under a running plan, the
// selection row and boxes over the grid, the plan text beside it. Checks what a person
// would see first; with ZUOHAO_LOOK_HOLD_MS set the window stays up that long, so that a
// screenshot can be taken (run under a real X server for that).
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

#include "gui/common/Fonts.h"
#include "gui/display/HistoryGrid.h"
#include "gui/display/HistoryGridModel.h"
#include "gui/display/PlanDisplay.h"
#include "support_draws.h"

using namespace zuohao;
using namespace zuohao::gui;

class TestLookHistoryGrid : public QObject {
    Q_OBJECT
private slots:
    void mainWindowView() {
        LotteryClass cls;
        cls.setName("腾讯分分彩");
        test::FeedSampleDraws(cls, 90);
        cls.setPositionIndex(7);
        test::StartPlanOnBase(cls, "012 123 234 345 456 567 678 789 890 901 135 246 357 468 579");
        const auto draws = test::SampleDraws();
        for (std::size_t i = 90; i < draws.size(); ++i)
            cls.ProcessDraw(draws[i].qishu, draws[i].haoma);

        QWidget window;
        window.setWindowTitle(QStringLiteral("做号计划"));
        auto* layout = new QHBoxLayout(&window);
        auto* grid = new HistoryGrid;
        auto* planText = new QPlainTextEdit;
        planText->setObjectName(QStringLiteral("PlanText"));
        planText->setReadOnly(true);
        planText->setFont(ChineseFont(9));
        planText->setFixedWidth(300);
        layout->addWidget(grid, 1);
        layout->addWidget(planText);

        QList<QLineEdit*> selects, counts;
        for (int i = 0; i < 5; ++i) {
            selects << new QLineEdit;
            counts << new QLineEdit(QStringLiteral("0,1,2"));
        }
        grid->setSelectionRow(selects, counts);
        for (int i = 0; i < 5; ++i)
            selects[i]->setText(QStringLiteral("0123456789").left(3 + i));
        for (int i : {0, 2, 15, 20, 33, 47, 60, 61})
            grid->selectCheck(i)->setChecked(true);

        PlanDisplayOptions options;
        options.curWei = 7;
        options.cap = QStringLiteral(" 千百个");
        planText->setPlainText(RedrawPlanDisplay(*grid, cls, options));

        window.resize(1420, 760);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();

        // The plan text shows one line per scored period, none of them empty.
        QCOMPARE(planText->document()->blockCount(), 30 + 1); // the text ends with a break
        QVERIFY(!planText->toPlainText().contains(QLatin1Char('\r')));
        // The newest draw is in sight at the bottom, its period at the left, the header above.
        QTableView* v = grid->view();
        const QModelIndex last = grid->model()->index(99, 1);
        QVERIFY(v->viewport()->rect().contains(v->visualRect(last)));
        // The strip: selection row above the boxes above the header; the row inside the window.
        const int headerTop = v->horizontalHeader()->mapTo(&window, QPoint(0, 0)).y();
        for (int i = 0; i < 5; ++i) {
            const QRect s(selects[i]->mapTo(&window, QPoint(0, 0)), selects[i]->size());
            const QRect c(counts[i]->mapTo(&window, QPoint(0, 0)), counts[i]->size());
            const int boxTop = grid->selectCheck(14 * i)->mapTo(&window, QPoint(0, 0)).y();
            QVERIFY(s.bottom() < boxTop && c.bottom() < boxTop);
            QVERIFY(window.rect().contains(c));
            QVERIFY(!c.intersects(s));
        }
        for (int i = 0; i < 66; ++i) {
            QCheckBox* box = grid->selectCheck(i);
            QVERIFY(box->mapTo(&window, QPoint(0, box->height())).y() <= headerTop);
        }
        QVERIFY(!grid->downCommand()->visibleRegion().isEmpty());

        if (qEnvironmentVariableIsSet("ZUOHAO_LOOK_FROM_START")) {
            v->horizontalScrollBar()->setValue(0);
            v->verticalScrollBar()->setValue(0);
        }
        bool ok = false;
        const int hold = qEnvironmentVariableIntValue("ZUOHAO_LOOK_HOLD_MS", &ok);
        if (ok && hold > 0) QTest::qWait(hold);
    }
};

QTEST_MAIN(TestLookHistoryGrid)
#include "test_look_history_grid.moc"
