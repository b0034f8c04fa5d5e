// The conditions panel and the base-set box driven through their widgets.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "gui/common/Settings.h"
#include "support_fixture.h"

using namespace zuohao::gui;

class TestMakingPanel : public QObject {
    Q_OBJECT

    FormFixture* f = nullptr;

    zuohao::LotteryClass& lot() { return f->form().Lotteries(0); }
    template <class T> T* w(const QString& name) {
        T* c = f->child<T>(name);
        if (!c) qFatal("no control %s", qPrintable(name));
        return c;
    }
    QString killBox(int k) {
        return w<QPlainTextEdit>(QStringLiteral("TextKillDadi_%1").arg(k))->toPlainText();
    }
    QString zhu(int k) { return w<QLabel>(QStringLiteral("Labelzhu_%1").arg(k))->text(); }
    bool panelWhite(int k) {
        return w<QWidget>(QStringLiteral("Picture9_%1").arg(k))
                   ->palette()
                   .color(QPalette::Window) == QColor(255, 255, 255);
    }
    void paste(int k, const QString& text) {
        f->seams.clipboard = text;
        QTest::mouseClick(w<QPushButton>(QStringLiteral("Command3_%1").arg(k)), Qt::LeftButton);
    }

private slots:
    void init() {
        WriteDelaySetting(QStringLiteral("0"));
        f = new FormFixture;
        f->writeDraws(FormFixture::makeDraws(40));
        f->start(f->defaultOptions());
        QVERIFY(lot().hasHistory());
    }
    void cleanup() {
        delete f;
        f = nullptr;
    }

    void positionChangeColoursPanelsAndRebuildsSelections() {
        QVERIFY(panelWhite(0));
        QVERIFY(!panelWhite(1));
        w<QCheckBox>("SelectCheck_0")->setChecked(true); // hottest digit of the group
        const QString hot9 = QString::fromLatin1(lot().newestDraw()->group(9).HotOrder().data(), 1);
        QCOMPARE(w<QLineEdit>("SelectText_0")->text(), hot9);
        QCOMPARE(QString::fromStdString(lot().formSet().SEL[0]), hot9);

        QTest::mouseClick(w<QRadioButton>("WeiOption_10"), Qt::LeftButton);
        QCOMPARE(f->form().formState().CurWei, 10);
        QCOMPARE(lot().formSet().IDX, 10);
        QVERIFY(!panelWhite(0));
        QVERIFY(panelWhite(1));
        const QString hot10 =
            QString::fromLatin1(lot().newestDraw()->group(10).HotOrder().data(), 1);
        QCOMPARE(w<QLineEdit>("SelectText_0")->text(), hot10);
    }

    void extraDigitsJoinTheirGroup() {
        w<QCheckBox>("SelectCheck_3")->setChecked(true);
        w<QLineEdit>("Texthwnd3_1")->setText(QStringLiteral("7x"));
        const std::string hot = std::string(lot().newestDraw()->group(9).HotOrder().substr(3, 1));
        const QString expected = QString::fromStdString(zuohao::DistinctDigits(hot + "7"));
        QCOMPARE(w<QLineEdit>("SelectText_0")->text(), expected);
        QCOMPARE(QString::fromStdString(lot().formSet().SEL[0]), expected);
        // Clearing every box leaves only the extra digits in group 0.
        QTest::mouseClick(w<QPushButton>("ClearCommand"), Qt::LeftButton);
        QCOMPARE(w<QLineEdit>("SelectText_0")->text(), QStringLiteral("7"));
    }

    void countTextKeepsOnlyCounts() {
        auto* box = w<QLineEdit>("CountText_0");
        struct Case {
            const char* typed;
            const char* shown;
            const char* stored;
        };
        const Case cases[] = {
            {"1a2", "12", "12"}, {"9", "9", "12"}, {"11", "11", "11"}, {"0x6", "06", "06"}};
        for (const Case& c : cases) {
            box->setText(QString::fromLatin1(c.typed));
            QCOMPARE(box->text(), QString::fromLatin1(c.shown));
            QCOMPARE(lot().formSet().CNT[0], std::string(c.stored));
        }
    }

    void bankerButtonsToggleAndClear() {
        auto* b3 = w<QPushButton>("数字_3");
        QTest::mouseClick(b3, Qt::LeftButton);
        QCOMPARE(lot().formSet().DAN[0], std::string("3"));
        QVERIFY(!b3->styleSheet().isEmpty()); // coloured as selected
        QTest::mouseClick(b3, Qt::LeftButton);
        QCOMPARE(lot().formSet().DAN[0], std::string());
        QVERIFY(b3->styleSheet().isEmpty());
        QTest::mouseClick(w<QPushButton>("数字_15"), Qt::LeftButton);
        QTest::mouseClick(w<QPushButton>("数字_18"), Qt::LeftButton);
        QTest::mouseClick(w<QPushButton>("个数_7"), Qt::LeftButton);
        QTest::mouseClick(w<QPushButton>("个数_5"), Qt::LeftButton);
        QTest::mouseClick(w<QPushButton>("数字_20"), Qt::LeftButton);
        QCOMPARE(lot().formSet().DAN[1], std::string("58"));
        QCOMPARE(lot().formSet().DCC[1], std::string("20"));
        QCOMPARE(lot().formSet().KUA, std::string("0"));
        QTest::mouseClick(w<QPushButton>("Command1_1"), Qt::LeftButton);
        QCOMPARE(lot().formSet().DAN[1], std::string());
        QCOMPARE(lot().formSet().DCC[1], std::string());
        QCOMPARE(lot().formSet().KUA, std::string("0")); // the span buttons are not touched
        QVERIFY(w<QPushButton>("数字_15")->styleSheet().isEmpty());
        QTest::mouseClick(w<QPushButton>("数字_15"), Qt::LeftButton); // selects again
        QCOMPARE(lot().formSet().DAN[1], std::string("5"));
    }

    void pastedKillListsFollowThePositionGroup() {
        paste(0, QStringLiteral("123 456 789\r\nsecond line\n\n \nthird"));
        QCOMPARE(killBox(0), QStringLiteral("123 456 789"));
        QCOMPARE(f->child<QLabel>("showLabel")->text(),
                 QStringLiteral("杀号只取第一行，其余 2 行未用"));
        QCOMPARE(lot().formSet().KL0, std::string("123 456 789"));
        QCOMPARE(zhu(0), QStringLiteral("3注"));
        paste(0, QStringLiteral("123 45"));
        QCOMPARE(killBox(0), QString());
        QCOMPARE(zhu(0), QStringLiteral("0注"));
        paste(0, QStringLiteral("123456")); // digits without spaces name no number
        QCOMPARE(killBox(0), QString());
        QCOMPARE(lot().formSet().KL0, std::string());

        paste(1, QStringLiteral("123"));
        QCOMPARE(killBox(1), QStringLiteral("123"));
        QTest::mouseClick(w<QRadioButton>("WeiOption_10"), Qt::LeftButton);
        QCOMPARE(killBox(1), QStringLiteral("0123 1123 2123 3123 4123 5123 6123 7123 8123 9123"));
        QCOMPARE(zhu(1), QStringLiteral("10注"));
        QTest::mouseClick(w<QRadioButton>("WeiOption_11"), Qt::LeftButton);
        QCOMPARE(killBox(1), QStringLiteral("1230 1231 1232 1233 1234 1235 1236 1237 1238 1239"));
        QCOMPARE(lot().formSet().KL1, killBox(1).toStdString());
        QTest::mouseClick(w<QRadioButton>("WeiOption_2"), Qt::LeftButton);
        QCOMPARE(killBox(1), QStringLiteral("123"));

        paste(1, QStringLiteral("1234 5678"));
        for (const char* opt : {"WeiOption_10", "WeiOption_11", "WeiOption_5"}) {
            QTest::mouseClick(w<QRadioButton>(QString::fromLatin1(opt)), Qt::LeftButton);
            QCOMPARE(killBox(1), QStringLiteral("1234 5678"));
        }
        QTest::mouseClick(w<QPushButton>("Command2_1"), Qt::LeftButton);
        QCOMPARE(killBox(1), QString());
        QCOMPARE(zhu(1), QStringLiteral("0注"));
        for (const auto& t : f->form().formState().Kill.four)
            QVERIFY(t.empty());

        f->seams.clipboardFails = true;
        paste(0, QStringLiteral("111 222"));
        QCOMPARE(f->child<QLabel>("showLabel")->text(), QStringLiteral("无法读取剪贴板"));
        QCOMPARE(killBox(0), QString());
    }

    void startAndClearAPlan() {
        QTest::mouseClick(w<QPushButton>("数字_5"), Qt::LeftButton); // banker 5, group 百十个
        auto* start = w<QPushButton>("SuishuiCmd");
        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(lot().hasPlan());
        QCOMPARE(start->text(), QStringLiteral("正 在 计 划 ..."));
        QCOMPARE(QString::fromStdString(lot().state().StartPlanQi),
                 QString::fromStdString(lot().newestPeriod()));
        QVERIFY(!w<QWidget>("Picture2")->isEnabled());
        QVERIFY(!w<QCheckBox>("Check1")->isEnabled());
        QVERIFY(w<QPushButton>("PlanCmd_0")->isEnabled());
        QCOMPARE(w<QPushButton>("CopyDadiCmd")->text(), QStringLiteral("复制大底 [271注]"));
        QCOMPARE(w<QPushButton>("CommandFanji")->text(), QStringLiteral("复制反集 [729注]"));
        QCOMPARE(w<QPlainTextEdit>("PlanText")->toPlainText(),
                 QString::fromStdString(lot().newestDraw()->PlanTxt()));
        QVERIFY(w<QPlainTextEdit>("PlanText")
                    ->toPlainText()
                    .endsWith(QStringLiteral("271注  【百十个】  进行中...")));

        QTest::mouseClick(w<QPushButton>("CopyDadiCmd"), Qt::LeftButton);
        QCOMPARE(f->seams.clipboard, w<QPlainTextEdit>("ShowDadiText")->toPlainText());
        QTest::mouseClick(w<QPushButton>("CommandFanji"), Qt::LeftButton);
        QCOMPARE(f->seams.clipboard, QString::fromStdString(lot().formSet().FJI.text()));

        QTest::mouseClick(w<QPushButton>("PlanCmd_0"), Qt::LeftButton);
        QVERIFY(!lot().hasPlan());
        QCOMPARE(start->text(), QStringLiteral("开 始 缩 水"));
        QVERIFY(lot().state().StartPlanQi.empty());
        QVERIFY(w<QWidget>("Picture2")->isEnabled());
        QVERIFY(w<QCheckBox>("Check1")->isEnabled());
        QVERIFY(!w<QPushButton>("PlanCmd_0")->isEnabled());
        QVERIFY(lot().formSet().DAD.empty());
        QVERIFY(w<QPlainTextEdit>("PlanText")->toPlainText().isEmpty());
        QCOMPARE(w<QPushButton>("CopyDadiCmd")->text(), QStringLiteral("复制大底 [0注]"));
        QCOMPARE(w<QPushButton>("CommandFanji")->text(), QStringLiteral("复制反集"));

        // An empty base-set box copies nothing.
        f->seams.clipboard = QStringLiteral("untouched");
        QTest::mouseClick(w<QPushButton>("CopyDadiCmd"), Qt::LeftButton);
        QCOMPARE(f->seams.clipboard, QStringLiteral("untouched"));
    }

    // A typed base set is read once into the lottery's state: the numbers it can read are
    // kept and counted, the rest is named in the status line; the copy buttons copy the state.
    void typedBaseSetIsReadOnceWithANote() {
        auto* box = w<QPlainTextEdit>("ShowDadiText");
        box->setPlainText(QStringLiteral("456 12x 123 456 7"));
        QCOMPARE(QString::fromStdString(lot().formSet().DAD.text()), QStringLiteral("123 456"));
        QCOMPARE(box->toPlainText(), QStringLiteral("456 12x 123 456 7")); // as typed
        QCOMPARE(w<QPushButton>("CopyDadiCmd")->text(), QStringLiteral("复制大底 [2注]"));
        QCOMPARE(w<QLabel>("showLabel")->text(),
                 QStringLiteral("大底中2 处无法识别为号码、1 个号码重复，未计入（现 2 注）"));
        QTest::mouseClick(w<QPushButton>("CopyDadiCmd"), Qt::LeftButton);
        QCOMPARE(f->seams.clipboard, QStringLiteral("123 456"));
        // A well-formed list leaves no note and reads as typed.
        w<QLabel>("showLabel")->clear();
        box->setPlainText(QStringLiteral("001 002 999"));
        QCOMPARE(QString::fromStdString(lot().formSet().DAD.text()), QStringLiteral("001 002 999"));
        QCOMPARE(w<QLabel>("showLabel")->text(), QString());
    }

    void noComplementCaption() {
        QTest::mouseClick(w<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        QCOMPARE(w<QPushButton>("CopyDadiCmd")->text(), QStringLiteral("复制大底 [1000注]"));
        QCOMPARE(w<QPushButton>("CommandFanji")->text(), QStringLiteral("复制反集"));
    }

    void planLinesGrowWithEachDraw() {
        QTest::mouseClick(w<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        auto draws = FormFixture::makeDraws(43);
        f->writeDraws(draws);
        f->form().GetNewTimer_Timer(); // three new draws, delay 0: transfer at once
        const QStringList lines =
            w<QPlainTextEdit>("PlanText")
                ->toPlainText()
                .split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4); // three scored lines and the one of the newest draw
        for (int i = 0; i < 3; ++i)
            QVERIFY(lines[i].endsWith(QStringLiteral("中")));
        QVERIFY(lines[3].endsWith(QStringLiteral("进行中...")));
        QVERIFY(!f->form().timerGetHwnd()->isActive());
    }

    void delayBoxNormalisesAndStores() {
        auto* box = w<QLineEdit>("TextYanchi");
        struct Case {
            const char* typed;
            int value;
        };
        for (const Case& c :
             {Case{"2.6", 3}, Case{"5s", 5}, Case{"x", 0}, Case{"2.5", 2}, Case{"", 0}}) {
            box->setText(QString::fromLatin1(c.typed));
            QCOMPARE(box->text(), QString::number(c.value));
            QCOMPARE(f->form().formState().Yanchi, c.value);
            QCOMPARE(ReadDelaySetting(), QString::number(c.value));
        }
    }
};

class TestStartWithoutHistory : public QObject {
    Q_OBJECT
private slots:
    void startBeforeHistoryDoesNothing() {
        FormFixture f;
        f.seams.fileAnswer = std::nullopt;
        zuohao::gui::AppOptions o;
        o.iniPath = f.iniPath();
        f.start(o);
        auto* start = f.child<QPushButton>("SuishuiCmd");
        f.child<QWidget>(QStringLiteral("Picture4"))->setEnabled(true);
        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(!f.form().Lotteries(0).hasPlan());
        QCOMPARE(start->text(), QStringLiteral("开  始  缩  水"));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestMakingPanel a;
    TestStartWithoutHistory b;
    return QTest::qExec(&a, argc, argv) | QTest::qExec(&b, argc, argv);
}
#include "test_making_panel.moc"
