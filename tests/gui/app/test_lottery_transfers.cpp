// The number transfer of every lottery: each lottery's hands, kill lists, extra digits and
// countdown are its own. A new draw of a lottery whose tab is not shown still counts down,
// reads its picked windows and renews its plan, and the panel shows each lottery's own state
// when its tab is shown. The kill lists and extra digits of every lottery survive a restart;
// a file of an earlier version gives its own to the first lottery.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>

#include "gui/common/IniFile.h"
#include "gui/common/LotterySettings.h"
#include "gui/common/Settings.h"
#include "gui/winlink/HandPicker.h"
#include "gui/winlink/OutlineFrame.h"
#include "support_fixture.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {
constexpr int kOwn = 2; // the player's own lottery, after the two built-in ones
const QString kOwnName = QStringLiteral("重庆时时彩");

// What one lottery's picked windows hold: the kill list and digits at the pick, then at the
// transfer after its next draw.
struct Windows {
    QString killAtPick, killAtDraw, digitsAtPick, digitsAtDraw;
};
} // namespace

class TestLotteryTransfers : public QObject {
    Q_OBJECT

    std::unique_ptr<FormFixture> f;
    std::unique_ptr<QWidget> target;

    void show(int tab) { f->form().MenuItemLabel_Click(tab); }

private slots:
    void cleanup() {
        target.reset();
        f.reset();
    }

    void eachLotteryTransfersAfterItsOwnDraw_data() {
        QTest::addColumn<int>("drawn"); // the lottery with a new draw, its tab not shown
        QTest::addColumn<int>("shown");
        QTest::newRow("first out of sight") << 0 << kOwn;
        QTest::newRow("own out of sight") << kOwn << 0;
    }
    void eachLotteryTransfersAfterItsOwnDraw() {
        QFETCH(int, drawn);
        QFETCH(int, shown);
        WriteDelaySetting(QStringLiteral("1"));
        f = std::make_unique<FormFixture>();
        f->writeDraws(FormFixture::makeDraws(40));
        const QString own = f->dir.filePath(QStringLiteral("own.txt"));
        FormFixture::writeDrawFile(own, FormFixture::makeDraws(40, 202612090001));
        f->keepLotteries({{kOwnName, own}});
        LotteryForm& form = f->start(f->defaultOptions());
        form.getNewTimer()->stop(); // the test refreshes by hand
        form.setGeometry(0, 0, 560, 500);
        target = std::make_unique<QWidget>();
        target->setGeometry(600, 20, 190, 200);
        const std::map<int, Windows> windows = {
            {0,
             {QStringLiteral("111 222"), QStringLiteral("335 353 533"), QStringLiteral("35"),
              QStringLiteral("9")}},
            {kOwn,
             {QStringLiteral("666 777"), QStringLiteral("117 171 711"), QStringLiteral("17"),
              QStringLiteral("2")}}};
        std::map<int, QLineEdit*> killLine, digitsLine;
        int y = 5;
        for (const auto& [lottery, w] : windows) {
            killLine[lottery] = new QLineEdit(w.killAtPick, target.get());
            digitsLine[lottery] = new QLineEdit(w.digitsAtPick, target.get());
            killLine[lottery]->setGeometry(5, y, 180, 30);
            digitsLine[lottery]->setGeometry(5, y + 40, 180, 30);
            y += 90;
        }
        target->show();
        QVERIFY(QTest::qWaitForWindowExposed(target.get()));

        // Each lottery picks its own windows and starts its plan on its own tab.
        std::map<int, QString> handle;
        for (const auto& [lottery, w] : windows) {
            show(lottery);
            f->dragHand(0, killLine[lottery]);
            f->dragHand(3, digitsLine[lottery]);
            QCOMPARE(f->text("TextKillDadi_0"), w.killAtPick);
            handle[lottery] = f->text("LabelHwnd_0");
            QTest::mouseClick(f->child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
            QVERIFY(form.Lotteries(lottery).hasPlan());
            killLine[lottery]->setText(w.killAtDraw);
            digitsLine[lottery]->setText(w.digitsAtDraw);
        }
        QVERIFY(handle[0] != handle[kOwn]);

        show(shown);
        LotteryClass& lot = form.Lotteries(drawn);
        LotteryClass& other = form.Lotteries(shown);
        const std::string otherBase = other.formSet().DAD.text();
        const QStringList killed = windows.at(drawn).killAtDraw.split(u' ');
        for (const QString& n : killed) // not yet killed when the plan started
            QVERIFY(lot.formSet().DAD.text().find(n.toStdString()) != std::string::npos);
        if (drawn == 0)
            f->writeDraws(FormFixture::makeDraws(41));
        else
            FormFixture::writeDrawFile(own, FormFixture::makeDraws(41, 202612090001));
        form.GetNewTimer_Timer();
        // Its countdown runs out and its transfer reads its own windows.
        QTRY_COMPARE(lot.formSet().KL0, windows.at(drawn).killAtDraw.toStdString());
        QVERIFY(!form.desk().transfer(drawn).timer->isActive());
        QVERIFY(lot.formSet().SEL[0].find(windows.at(drawn).digitsAtDraw.toStdString()) !=
                std::string::npos);
        const std::string base = lot.formSet().DAD.text();
        QVERIFY(!base.empty());
        for (const QString& n : killed)
            QVERIFY(base.find(n.toStdString()) == std::string::npos);
        // The lottery shown kept its own lists, plan and panel.
        QCOMPARE(other.formSet().KL0, windows.at(shown).killAtPick.toStdString());
        QCOMPARE(other.formSet().DAD.text(), otherBase);
        QCOMPARE(f->text("TextKillDadi_0"), windows.at(shown).killAtPick);
        QCOMPARE(f->text("Texthwnd3_1"), windows.at(shown).digitsAtPick);
        QCOMPARE(f->text("LabelHwnd_0"), handle[shown]);
        QCOMPARE(f->text("LabelYanchi"), QStringLiteral("1"));

        // Its tab shows what its transfer read.
        show(drawn);
        QCOMPARE(f->text("TextKillDadi_0"), windows.at(drawn).killAtDraw);
        QCOMPARE(f->text("Texthwnd3_1"), windows.at(drawn).digitsAtDraw);
        QCOMPARE(f->text("LabelHwnd_0"), handle[drawn]);
        QCOMPARE(f->text("LabelHwnd_1"), QStringLiteral("0"));
    }

    void killListsAndDigitsAreKeptPerLottery() {
        f = std::make_unique<FormFixture>();
        f->writeDraws(FormFixture::makeDraws(30));
        f->keepLotteries({{kOwnName, QString()}});
        const std::map<int, std::pair<QString, QString>> typed = {
            {0, {QStringLiteral("123 456"), QStringLiteral("58")}},
            {kOwn, {QStringLiteral("789"), QStringLiteral("4")}}};
        {
            LotteryForm& form = f->start(f->defaultOptions());
            for (const auto& [lottery, t] : typed) {
                show(lottery);
                f->seams.clipboard = t.first;
                QTest::mouseClick(f->child<QPushButton>("Command3_0"), Qt::LeftButton);
                f->child<QLineEdit>("Texthwnd3_0")->setText(t.second);
            }
            form.close();
        }
        // Lottery 0's where every version reads them, the others' in their own sections.
        const auto ini = IniFile::load(f->dir.filePath(QStringLiteral("work.ini")));
        QVERIFY(ini);
        const auto kept = [&ini](const char* section, const char* key) {
            return ini->value(QString::fromLatin1(section), QString::fromLatin1(key))
                .value_or(QString());
        };
        QCOMPARE(kept("kill", "three"), typed.at(0).first);
        QCOMPARE(kept("panel", "EXT0"), typed.at(0).second);
        QCOMPARE(kept("lottery2", "KILL3"), typed.at(kOwn).first);
        QCOMPARE(kept("lottery2", "EXT0"), typed.at(kOwn).second);

        f->start(f->defaultOptions());
        for (const auto& [lottery, t] : typed) {
            show(lottery);
            QCOMPARE(f->text("TextKillDadi_0"), t.first);
            QCOMPARE(f->text("Texthwnd3_0"), t.second);
            QCOMPARE(f->form().Lotteries(lottery).formSet().KL0, t.first.toStdString());
        }
        show(1);
        QCOMPARE(f->text("TextKillDadi_0"), QString());
        QCOMPARE(f->text("Texthwnd3_0"), QString());

        // A file of an earlier version: its lists are the first lottery's.
        f->form().close();
        f = std::make_unique<FormFixture>();
        f->writeDraws(FormFixture::makeDraws(30));
        f->keepLotteries({{kOwnName, QString()}});
        QFile old(f->dir.filePath(QStringLiteral("work.ini")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("[zuohao-work]\nformat=1\n[kill]\nthree=321 654\nfour=\n[panel]\nEXT1=27\n");
        old.close();
        f->start(f->defaultOptions());
        QCOMPARE(f->text("TextKillDadi_0"), QStringLiteral("321 654"));
        QCOMPARE(f->text("Texthwnd3_1"), QStringLiteral("27"));
        show(kOwn);
        QCOMPARE(f->text("TextKillDadi_0"), QString());
        QCOMPARE(f->text("Texthwnd3_1"), QString());
    }
};

QTEST_MAIN(TestLotteryTransfers)
#include "test_lottery_transfers.moc"
