// Benchmarks of the main window: from nothing to the window shown with 99 draws loaded, and
// the start of a plan in the four-digit space (reduction, a base-set box of up to 10,000
// numbers, captions, plan line, redraw).
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui/common/Settings.h"
#include "support_fixture.h"

using namespace zuohao::gui;

class BenchWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { WriteDelaySetting(QStringLiteral("3")); }

    void windowShownWith99Draws() {
        QTemporaryDir dir;
        FormFixture files; // only for its draw file
        files.writeDraws(FormFixture::makeDraws(99));
        AppOptions o = files.defaultOptions();
        QBENCHMARK {
            LotteryForm form(o);
            form.show();
            QVERIFY(QTest::qWaitFor([&] { return form.formState().IsActivated; }, 5000));
            QCOMPARE(int(form.Lotteries(0).heldDraws().Count()), 99);
            QCoreApplication::processEvents(); // the first paint
        }
    }

    void planStartFourDigits() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(100));
        f.start(f.defaultOptions());
        QTest::mouseClick(f.child<QRadioButton>("WeiOption_10"), Qt::LeftButton);
        auto* start = f.child<QPushButton>("SuishuiCmd");
        auto* clear = f.child<QPushButton>("PlanCmd_0");
        QBENCHMARK {
            start->click();
            f.form().RedrawPlanDisplay();
            f.form().repaint();
            QVERIFY(f.form().Lotteries(0).hasPlan());
            clear->click();
        }
        QVERIFY(f.form().Lotteries(0).formSet().FJI.empty());
    }
};

QTEST_MAIN(BenchWindow)
#include "bench_window.moc"
