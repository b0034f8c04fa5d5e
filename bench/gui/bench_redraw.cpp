// How long the redraw of the grid and the plan text takes with 100 held draws and a plan
// running: the model alone, the grid widget (layout and scroll), and with the grid painted.
// Run with -median N for the median of N runs.
#include <QHeaderView>
#include <QTableView>
#include <QtTest>

#include "gui/display/HistoryGrid.h"
#include "gui/display/HistoryGridModel.h"
#include "gui/display/PlanDisplay.h"
#include "support_draws.h"

using namespace zuohao;
using namespace zuohao::gui;

class TestBenchRedraw : public QObject {
    Q_OBJECT

    LotteryClass m_cls;
    PlanDisplayOptions m_opts;
    int m_planLines = 0;

    void checkResult(const HistoryGridModel& model, const QString& text) {
        QCOMPARE(model.gridRowCount(), 102);
        QCOMPARE(model.cellText(101, 1), QString::fromStdString(m_cls.heldDraws().back().first));
        QCOMPARE(int(text.count(QStringLiteral("\r\n"))), m_planLines);
    }

private slots:
    void initTestCase() {
        // 100 draws held, the last 30 of them under a plan.
        const auto draws = test::SampleDraws();
        QCOMPARE(int(draws.size()), 120);
        test::FeedSampleDraws(m_cls, 90);
        m_cls.setName("腾讯分分彩");
        m_cls.setPositionIndex(7);
        test::StartPlanOnBase(m_cls, "012 123 234 345 456 567 678 789 890 901");
        for (std::size_t i = 90; i < draws.size(); ++i)
            m_cls.ProcessDraw(draws[i].qishu, draws[i].haoma);
        QCOMPARE(int(m_cls.heldDraws().Count()), 100);
        m_planLines = 30; // the waiting line is left out
        m_opts.curWei = 7;
        m_opts.cap = QStringLiteral(" 千百个");
    }

    void redrawModel() {
        HistoryGridModel model;
        QString text;
        QBENCHMARK {
            text = RedrawPlanDisplay(model, m_cls, m_opts);
        }
        checkResult(model, text);
    }

    void redrawGrid() {
        HistoryGrid grid;
        grid.resize(1400, 700);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QString text;
        QBENCHMARK {
            text = RedrawPlanDisplay(grid, m_cls, m_opts);
        }
        checkResult(*grid.model(), text);
    }

    void redrawGridAndPaint() {
        HistoryGrid grid;
        grid.resize(1400, 700);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QString text;
        QBENCHMARK {
            text = RedrawPlanDisplay(grid, m_cls, m_opts);
            grid.repaint(); // the strip, the header and every cell in sight, painted now
        }
        checkResult(*grid.model(), text);
    }
};

QTEST_MAIN(TestBenchRedraw)
#include "bench_redraw.moc"
