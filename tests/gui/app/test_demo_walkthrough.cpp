// The demo walk a newcomer takes: tick selection boxes, set bankers, paste a kill list, start
// a plan, watch the base set and the plan lines follow each draw, copy, switch the monitor on,
// clear the plan. With ZUOHAO_SCREENSHOT_DIR set, each step is also saved as a picture.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "core/model/Text.h"
#include "gui/common/Settings.h"
#include "gui/monitor/JianKongForm.h"
#include "support_fixture.h"

using namespace zuohao::gui;

class TestDemoWalkthrough : public QObject {
    Q_OBJECT

    static void snap(QWidget* w, const char* name) {
        const QString dir = qEnvironmentVariable("ZUOHAO_SCREENSHOT_DIR");
        if (dir.isEmpty()) return;
        QCoreApplication::processEvents();
        w->grab().save(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    }

private slots:
    void walk() {
        WriteDelaySetting(QStringLiteral("0"));
        FormFixture f;
        auto draws = FormFixture::makeDraws(110);
        std::vector<Draw> shown(draws.begin(), draws.begin() + 99);
        f.writeDraws(shown);
        f.start(f.defaultOptions());
        LotteryForm& form = f.form();
        form.resize(1366, 740);
        zuohao::LotteryClass& lot = form.Lotteries(0);

        // The two hottest digits of 百十个 and the pair sums 0-4.
        for (int i : {0, 1, 28, 29, 30, 31, 32})
            f.child<QCheckBox>(QStringLiteral("SelectCheck_%1").arg(i))->setChecked(true);
        QCOMPARE(lot.formSet().SEL[0].size(), 2u);
        QCOMPARE(lot.formSet().SEL[2], std::string("01234"));
        snap(&form, "1-selections");

        QTest::mouseClick(f.child<QPushButton>("数字_5"), Qt::LeftButton);
        QTest::mouseClick(f.child<QPushButton>("个数_1"), Qt::LeftButton);
        f.seams.clipboard = QStringLiteral("123 456 789");
        QTest::mouseClick(f.child<QPushButton>("Command3_0"), Qt::LeftButton);
        QCOMPARE(f.child<QLabel>("Labelzhu_0")->text(), QStringLiteral("3注"));
        snap(&form, "2-bankers-killlist");

        QTest::mouseClick(f.child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        const int first = zuohao::CountNumberList(lot.formSet().DAD.text());
        QVERIFY(first > 0 && first < 1000);
        snap(&form, "3-plan-started");

        for (std::size_t n = 99; n < draws.size(); ++n) {
            shown.push_back(draws[n]);
            f.writeDraws(shown);
            form.GetNewTimer_Timer();
        }
        const QStringList lines =
            f.child<QPlainTextEdit>("PlanText")
                ->toPlainText()
                .split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 12); // eleven scored lines and the one waiting for its draw
        for (int i = 0; i < 11; ++i)
            QVERIFY(lines[i].endsWith(QStringLiteral("中")) ||
                    lines[i].endsWith(QStringLiteral("挂")));
        QCOMPARE(f.child<QPlainTextEdit>("ShowDadiText")->toPlainText(),
                 QString::fromStdString(lot.formSet().DAD.text()));
        // The pasted kill list stays: no window was picked for it.
        QCOMPARE(f.child<QLabel>("Labelzhu_0")->text(), QStringLiteral("3注"));
        QCOMPARE(lot.formSet().KL0, std::string("123 456 789"));
        snap(&form, "4-plan-grows");

        QTest::mouseClick(f.child<QPushButton>("CopyDadiCmd"), Qt::LeftButton);
        QCOMPARE(f.seams.clipboard, QString::fromStdString(lot.formSet().DAD.text()));
        QTest::mouseClick(f.child<QPushButton>("CommandFanji"), Qt::LeftButton);
        QCOMPARE(f.seams.clipboard, QString::fromStdString(lot.formSet().FJI.text()));

        form.JianKongCmd_Click();
        JianKongForm* monitor = form.jianKongForm();
        QTest::mouseClick(monitor->findChild<QPushButton*>("jiankongCom"), Qt::LeftButton);
        QCOMPARE(monitor->findChild<QPushButton*>("jiankongCom")->text(),
                 QStringLiteral("停止监控"));
        snap(monitor, "5-monitor");

        QTest::mouseClick(f.child<QPushButton>("PlanCmd_0"), Qt::LeftButton);
        QVERIFY(f.child<QPlainTextEdit>("ShowDadiText")->toPlainText().isEmpty());
        snap(&form, "6-plan-cleared");
    }
};

QTEST_MAIN(TestDemoWalkthrough)
#include "test_demo_walkthrough.moc"
