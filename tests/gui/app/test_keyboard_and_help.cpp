// The main window from the keyboard, its help window and what a lottery without draws says.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>

#include "gui/app/ArchiveLink.h"
#include "gui/app/HelpWindow.h"
#include "gui/common/Keyboard.h"
#include "gui/display/ArchiveHistoryWindow.h"
#include "gui/display/PlanStatsWindow.h"
#include "gui/monitor/JianKongForm.h"
#include "support_fixture.h"

using namespace zuohao::gui;

class TestKeyboardAndHelp : public QObject {
    Q_OBJECT

    static constexpr int kMostStops = 200;

    static QString focused() {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }

private slots:
    void tabFollowsThePanelAndLeavesTheGrid() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(30));
        LotteryForm& form = f.start(f.defaultOptions());
        QApplication::setActiveWindow(&form);
        f.child<QLineEdit>("zelkc")->setFocus();
        QTRY_COMPARE(focused(), QStringLiteral("zelkc"));
        QStringList order{focused()};
        do {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << focused();
        } while (order.last() != QStringLiteral("zelkc") && order.size() < kMostStops);
        // Every control met has a name a screen reader can say.
        for (const QString& name : order) {
            auto* w = form.findChild<QWidget*>(name);
            QAccessibleInterface* a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
            QVERIFY2(a && !a->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(name));
        }
        // The position options are one stop: the arrows move among them.
        const QStringList expected{
            "zelkc",        "路径",       "WeiOption_0", "SelectText_0",   "CountText_4",
            "数字_0",       "个数_0",     "数字_20",     "TextKillDadi_0", "TextKillDadi_1",
            "ShowDadiText", "SuishuiCmd", "SortGrid",    "JianKongCmd",    "PlanStatsCmd",
            "LotteriesCmd", "zelkc"};
        int at = -1;
        for (const QString& name : expected) {
            const int next = order.indexOf(name, at + 1);
            QVERIFY2(next > at, qPrintable(name + QStringLiteral(" in ") + order.join(' ')));
            at = next;
        }
        QVERIFY(!order.join(' ').contains(QStringLiteral("SelectCheck")));
        // Shift+Tab leaves the grid backwards too.
        f.child<QTableView>("SortGrid")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(focused() != QStringLiteral("SortGrid"));
        // The shortcuts are told in the tooltips; the name is the caption, the tooltip's
        // explanation the description.
        for (const char* name : {"SuishuiCmd", "PlanCmd_0", "CopyDadiCmd", "HistoryCmd",
                                 "PlanStatsCmd", "JianKongCmd"}) {
            auto* b = f.child<QAbstractButton>(QString::fromUtf8(name));
            auto* keys = b->findChild<QShortcut*>();
            QVERIFY2(keys && !keys->key().isEmpty(), name);
            QVERIFY(b->toolTip().contains(keys->key().toString(QKeySequence::NativeText)));
            QCOMPARE(b->accessibleName(), CaptionName(b->text()));
            QVERIFY2(!b->accessibleDescription().isEmpty(), name);
        }
    }

    void captionNamesDropOnlyTheSpacing() {
        const struct {
            const char* caption;
            const char* name;
        } cases[] = {{"开  始  缩  水", "开始缩水"},
                     {"正 在 计 划 ...", "正在计划 ..."},
                     {"复制大底 [945注]", "复制大底 [945注]"},
                     {"【监 控】设 置", "【监控】设置"},
                     {"历史", "历史"}};
        for (const auto& c : cases)
            QCOMPARE(CaptionName(QString::fromUtf8(c.caption)), QString::fromUtf8(c.name));
    }

    // Every advertised shortcut works at start, after a plan's start and end and after a
    // lottery switch: the captions that change meanwhile (正在计划, 复制大底 [n注]) never take a
    // shortcut away.
    void everyShortcutOutlivesCaptionChanges() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(30));
        LotteryForm& form = f.start(f.defaultOptions());
        zuohao::LotteryClass& lot = form.Lotteries(0);
        auto press = [&](QKeyCombination keys) {
            QApplication::setActiveWindow(&form);
            f.child<QWidget>("JianKongCmd")->setFocus(); // no text box takes the keys
            QTest::keySequence(&form, QKeySequence(keys));
        };
        auto opens = [&](QKeyCombination keys, const std::function<QWidget*()>& window) {
            if (QWidget* w = window()) w->hide();
            press(keys);
            QTRY_VERIFY(window() && window()->isVisible());
            window()->hide();
        };
        auto everyShortcut = [&](const char* when) {
            qInfo("after: %s", when);
            press(Qt::CTRL | Qt::Key_Return);
            QVERIFY2(lot.hasPlan(), when);
            f.seams.clipboard.clear();
            press(Qt::CTRL | Qt::SHIFT | Qt::Key_C);
            const QString base = f.child<QPlainTextEdit>("ShowDadiText")->toPlainText();
            QVERIFY(!base.isEmpty());
            QCOMPARE(f.seams.clipboard, base);
            opens(Qt::CTRL | Qt::Key_H,
                  [&]() -> QWidget* { return form.archiveLink()->historyWindow(); });
            opens(Qt::CTRL | Qt::Key_T,
                  [&]() -> QWidget* { return form.findChild<PlanStatsWindow*>(); });
            opens(Qt::CTRL | Qt::Key_M, [&]() -> QWidget* { return form.jianKongForm(); });
            press(Qt::CTRL | Qt::Key_Delete);
            QVERIFY2(!lot.hasPlan(), when);
        };
        everyShortcut("start-up");
        everyShortcut("a plan's start and end");
        form.MenuItemLabel_Click(1);
        form.MenuItemLabel_Click(0);
        everyShortcut("a lottery switch");
        // The lottery tabs step round both ends from the keyboard.
        for (const auto& [keys, shown] :
             {std::pair{Qt::CTRL | Qt::Key_PageDown, 1}, std::pair{Qt::CTRL | Qt::Key_PageDown, 0},
              std::pair{Qt::CTRL | Qt::Key_PageUp, 1}}) {
            press(keys);
            QCOMPARE(form.SelectedIndex(), shown);
        }
    }

    void helpLinksOpenTheirPages() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(15));
        f.start(f.defaultOptions());
        const struct {
            const char* link;
            const char* text; // what the page must hold
        } cases[] = {
            {"Label1_0", "开始缩水"}, {"Label1_1", "挂"}, {"Label1_2", "MIT"}, {"Label3", "版本"}};
        for (const auto& c : cases) {
            emit f.child<QLabel>(QString::fromLatin1(c.link))
                ->linkActivated(QStringLiteral("help"));
            auto* help = f.form().findChild<HelpWindow*>();
            QVERIFY(help && help->isVisible() && !help->isModal());
            QVERIFY2(help->browser()->toPlainText().contains(QString::fromUtf8(c.text)), c.link);
        }
        QVERIFY(!f.form().findChild<HelpWindow*>()->browser()->toPlainText().contains('%'));
    }

    void aLotteryWithoutDrawsSaysWhy() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(15));
        f.start(f.defaultOptions());
        f.form().MenuItemLabel_Click(1);
        const auto status = [&] { return f.child<QLabel>("showLabel")->text(); };
        QVERIFY(status().contains(QStringLiteral("VR3分彩还没有开奖文件")));
        f.form().GetNewTimer_Timer();
        QVERIFY(QTest::qWaitFor([&] { return !f.form().refreshUnderWay(); }, 20000));
        QVERIFY(status().contains(QStringLiteral("VR3分彩还没有开奖文件")));
    }
};

QTEST_MAIN(TestKeyboardAndHelp)
#include "test_keyboard_and_help.moc"
