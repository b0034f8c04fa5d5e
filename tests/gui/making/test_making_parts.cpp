// The conditions panel's parts against the lottery's condition set: what a player types
// reaches the set through the façade, the controls show whichever lottery is active, and the
// panel's start button makes the base set zuohao-cli makes from the same conditions.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/acquire/LotteryClass.h"
#include "gui/making/FormState.h"
#include "gui/making/MakingPanel.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {
// A lottery with a few draws loaded as history, so that a plan can start.
void loadHistory(LotteryClass& lot) {
    const char* numbers[] = {"12345", "67890", "13579", "24680", "11223", "98765"};
    int period = 1;
    for (const char* n : numbers)
        (void)lot.ProcessDraw(std::to_string(202401010000LL + period++), n);
    QVERIFY(lot.markHistoryLoaded());
}
} // namespace

class TestMakingParts : public QObject {
    Q_OBJECT

    FormState m_form;
    LotteryClass m_lot;
    MakingPanel* m_panel = nullptr;

    template <class T> T* w(const QString& name) {
        T* c = m_panel->findChild<T*>(name);
        if (!c) qFatal("no control %s", qPrintable(name));
        return c;
    }

private slots:
    void init() {
        m_lot = LotteryClass();
        m_form = FormState();
        m_form.ActiveCls = &m_lot;
        m_panel = new MakingPanel(m_form);
        m_panel->ShowFormSet();
    }
    void cleanup() {
        delete m_panel;
        m_panel = nullptr;
    }

    // Each group's digits and counts, typed, are in the lottery's set; the set shown for
    // another lottery replaces them in the boxes, and coming back shows the first again.
    void typedSelectionsReachTheConditionSet() {
        const char* digits[kSelGroups] = {"19", "0246", "357", "8", "13579"};
        const char* counts[kSelGroups] = {"12", "0", "3456", "6", "1"};
        for (int g = 0; g < kSelGroups; ++g) {
            w<QLineEdit>(QStringLiteral("SelectText_%1").arg(g))->setText(QLatin1String(digits[g]));
            w<QLineEdit>(QStringLiteral("CountText_%1").arg(g))->setText(QLatin1String(counts[g]));
        }
        for (int g = 0; g < kSelGroups; ++g) {
            QCOMPARE(m_lot.formSet().SEL[g], std::string(digits[g]));
            QCOMPARE(m_lot.formSet().CNT[g], std::string(counts[g]));
        }

        LotteryClass other;
        ConditionSet otherSet = other.formSet();
        otherSet.SEL[2] = "9";
        otherSet.KLU[1] = 1;
        otherSet.DAN[0] = "4";
        other.restoreConditions(otherSet);
        m_form.ActiveCls = &other;
        m_panel->ShowFormSet();
        QCOMPARE(w<QLineEdit>("SelectText_2")->text(), QStringLiteral("9"));
        QCOMPARE(w<QLineEdit>("SelectText_0")->text(), QString());
        QVERIFY(w<QCheckBox>("CheckLu_1")->isChecked());
        QVERIFY(!w<QPushButton>("数字_4")->styleSheet().isEmpty()); // shown as selected
        QCOMPARE(m_lot.formSet().SEL[2], std::string("357")); // the first lottery kept its own

        m_form.ActiveCls = &m_lot;
        m_panel->ShowFormSet();
        QCOMPARE(w<QLineEdit>("SelectText_2")->text(), QStringLiteral("357"));
        QVERIFY(!w<QCheckBox>("CheckLu_1")->isChecked());
        QVERIFY(w<QPushButton>("数字_4")->styleSheet().isEmpty());
        QCOMPARE(other.formSet().SEL[2], std::string("9"));
    }

    // The start button and `zuohao-cli reduce` given the same conditions make the same base
    // set and complement.
    void panelAndToolMakeTheSameBaseSet() {
        loadHistory(m_lot);
        QTest::mouseClick(w<QRadioButton>("WeiOption_4"), Qt::LeftButton); // 万百个
        for (const char* b : {"数字_3", "数字_5", "个数_1", "个数_2", "数字_20", "数字_29"})
            QTest::mouseClick(w<QPushButton>(QString::fromUtf8(b)), Qt::LeftButton);
        w<QCheckBox>("CheckLu_3")->setChecked(true);
        w<QLineEdit>("SelectText_1")->setText(QStringLiteral("0123456"));
        w<QLineEdit>("CountText_1")->setText(QStringLiteral("12"));
        QTest::mouseClick(w<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        QVERIFY(m_lot.hasPlan());
        const QString shown = w<QPlainTextEdit>("ShowDadiText")->toPlainText();
        QVERIFY(!shown.isEmpty());

        QProcess cli;
        cli.start(QStringLiteral(ZUOHAO_BUILD_DIR "/zuohao-cli"),
                  {QStringLiteral("reduce"), QStringLiteral("--idx"), QStringLiteral("4"),
                   QStringLiteral("--dan"), QStringLiteral("0=35"), QStringLiteral("--dcc"),
                   QStringLiteral("0=12"), QStringLiteral("--kua"), QStringLiteral("09"),
                   QStringLiteral("--route"), QStringLiteral("3"), QStringLiteral("--sel"),
                   QStringLiteral("1=0123456"), QStringLiteral("--cnt"), QStringLiteral("1=12")});
        QVERIFY2(cli.waitForFinished(-1), qPrintable(cli.errorString()));
        QCOMPARE(cli.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput())
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(shown, lines[0]);
        QCOMPARE(QString::fromStdString(m_lot.formSet().FJI.text()), lines[1]);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestMakingParts t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_making_parts.moc"
