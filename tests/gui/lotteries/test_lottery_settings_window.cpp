// 彩票设置 driven by keyboard and mouse: adding and renaming by the name field, refusals shown
// inline in red, the built-in lotteries kept, the draw file chosen through the dialog seam.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "core/model/LotteryName.h"
#include "gui/common/Seams.h"
#include "gui/lotteries/LotterySettingsWindow.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {
class DialogSeams : public Seams {
public:
    DialogSeams() { setSeams(this); }
    ~DialogSeams() override { setSeams(nullptr); }
    void information(QWidget*, const QString& text) override { boxes << text; }
    std::optional<QString> openFileName(QWidget*, const QString& start) override {
        starts << start;
        return answer;
    }
    QStringList boxes, starts;
    std::optional<QString> answer;
};
} // namespace

class TestLotterySettingsWindow : public QObject {
    Q_OBJECT

    template <class W> W* find(const char* name) {
        auto* w = m_window->findChild<W*>(QString::fromLatin1(name));
        if (!w) qFatal("no %s", name);
        return w;
    }
    QLineEdit* name() { return find<QLineEdit>("LotteryName"); }
    QListWidget* list() { return find<QListWidget>("LotteryList"); }
    QPushButton* removeButton() { return find<QPushButton>("LotteryRemove"); }
    // Replaces the name field's text by typing, then presses Enter there.
    void typeName(const QString& text) {
        name()->setFocus();
        name()->selectAll();
        QTest::keyClick(name(), Qt::Key_Backspace);
        QTest::keyClicks(name(), text);
        QTest::keyClick(name(), Qt::Key_Return);
    }

private slots:
    void init() {
        m_window = std::make_unique<LotterySettingsWindow>(LotteryRegistry());
        m_signals = 0;
        connect(m_window.get(), &LotterySettingsWindow::registryChanged, this,
                [this](const LotteryRegistry& r) {
                    ++m_signals;
                    m_last = r;
                });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void builtInLotteriesCannotBeRemovedOrRenamed() {
        for (int row : {0, 1}) {
            list()->setCurrentRow(row);
            QVERIFY(!removeButton()->isEnabled());
            QVERIFY(!find<QPushButton>("LotteryRename")->isEnabled());
            QCOMPARE(removeButton()->accessibleDescription(),
                     QString::fromUtf8(kFixedLotteryCaption));
            QCOMPARE(removeButton()->toolTip(), QString::fromUtf8(kFixedLotteryCaption));
            list()->setFocus();
            QTest::keyClick(list(), Qt::Key_Delete);
            QTest::keyClick(list(), Qt::Key_F2);
            QCOMPARE(m_window->problem(), QString::fromUtf8(kFixedLotteryCaption));
        }
        QCOMPARE(m_window->registry().size(), 2);
        QCOMPARE(m_signals, 0);
        // Each control is named by its visible caption.
        for (const char* field :
             {"LotteryName", "LotteryDrawFile", "LotteryNaming", "LotteryPerDay", "LotteryList"}) {
            auto* w = find<QWidget>(field);
            bool labelled = false;
            for (auto* label : m_window->findChildren<QLabel*>())
                labelled |= label->buddy() == w &&
                            QString(label->text()).remove(u'&') == w->accessibleName();
            QVERIFY2(labelled, field);
        }
        for (const char* button :
             {"LotteryAdd", "LotteryRename", "LotteryRemove", "LotteryChooseFile", "LotteryClose"})
            QCOMPARE(find<QPushButton>(button)->accessibleName(),
                     find<QPushButton>(button)->text());
    }

    // Each step types a name and presses Enter (after F2 when renaming); a refused one leaves
    // the list as it was and shows why under the field, in red, without a message box.
    void addAndRenameByKeyboard() {
        DialogSeams seams;
        const struct {
            bool rename;
            const char* name;
            std::string problem;
            QStringList names; // the list afterwards
        } steps[] = {
            {false, "Alpha", "", {"腾讯分分彩", "VR3分彩", "Alpha"}},
            {false, "Beta ", "", {"腾讯分分彩", "VR3分彩", "Alpha", "Beta"}},
            {true, "alpha", kDuplicateNameCaption, {"腾讯分分彩", "VR3分彩", "Alpha", "Beta"}},
            {true,
             "  ",
             LotteryNameFaultCaption(LotteryNameFault::Empty),
             {"腾讯分分彩", "VR3分彩", "Alpha", "Beta"}},
            {false,
             "vr3\xe5\x88\x86\xe5\xbd\xa9",
             kDuplicateNameCaption,
             {"腾讯分分彩", "VR3分彩", "Alpha", "Beta"}},
            {true, "Gamma", "", {"腾讯分分彩", "VR3分彩", "Alpha", "Gamma"}},
        };
        for (const auto& s : steps) {
            const int signalsBefore = m_signals;
            if (s.rename) {
                list()->setCurrentRow(3);
                list()->setFocus();
                QTest::keyClick(list(), Qt::Key_F2);
                QVERIFY(name()->hasFocus());
            }
            if (QByteArray(s.name) == QString::fromUtf8(s.name).toLatin1()) {
                typeName(QString::fromUtf8(s.name));
            } else {
                name()->setText(QString::fromUtf8(s.name)); // keyClicks cannot type Chinese
                QTest::keyClick(name(), Qt::Key_Return);
            }
            QStringList shown;
            for (int i = 0; i < list()->count(); ++i)
                shown << list()->item(i)->text();
            QCOMPARE(shown, s.names);
            QCOMPARE(m_window->problem(), QString::fromStdString(s.problem));
            auto* problem = find<QLabel>("LotteryProblem");
            QCOMPARE(problem->isVisible(), !s.problem.empty());
            QVERIFY(problem->styleSheet().contains("#C00000"));
            QCOMPARE(m_signals, signalsBefore + (s.problem.empty() ? 1 : 0));
            QStringList held;
            for (const LotteryEntry& e : m_window->registry().entries())
                held << QString::fromStdString(e.name);
            QCOMPARE(held, shown);
            QVERIFY(m_last == m_window->registry()); // the last announcement is the list
        }
        QVERIFY(seams.boxes.isEmpty());
        QCOMPARE(m_last.at(3)->name, "Gamma");
        // Escape gives up a rename: the name field shows the lottery's name again.
        QTest::keyClick(list(), Qt::Key_F2);
        QTest::keyClicks(name(), "Zeta");
        QTest::keyClick(name(), Qt::Key_Escape);
        QCOMPARE(name()->text(), "Gamma");
        QTest::keyClick(name(), Qt::Key_Return); // Enter adds again: a taken name
        QCOMPARE(m_window->problem(), QString::fromUtf8(kDuplicateNameCaption));
        QVERIFY(m_window->isVisible());
        // Editing the name again clears the old complaint.
        typeName("Alpha");
        QVERIFY(!m_window->problem().isEmpty());
        QTest::keyClick(name(), Qt::Key_X);
        QVERIFY(m_window->problem().isEmpty());
    }

    void drawFileNamingAndRemove() {
        DialogSeams seams;
        typeName("Delta");
        QCOMPARE(m_window->currentIndex(), 2);
        QVERIFY(removeButton()->isEnabled());
        QVERIFY(find<QLineEdit>("LotteryDrawFile")->hasFocus()); // the file comes next

        seams.answer = QStringLiteral("/feeds/delta.txt");
        QTest::mouseClick(find<QPushButton>("LotteryChooseFile"), Qt::LeftButton);
        QCOMPARE(seams.starts, QStringList{QString()});
        QCOMPARE(m_last.at(2)->drawFile, "/feeds/delta.txt");
        seams.answer.reset(); // cancelled: nothing changes
        const int before = m_signals;
        QTest::mouseClick(find<QPushButton>("LotteryChooseFile"), Qt::LeftButton);
        QCOMPARE(m_signals, before);

        auto* perDay = find<QSpinBox>("LotteryPerDay");
        QVERIFY(!perDay->isEnabled()); // a date label always has 1440
        find<QComboBox>("LotteryNaming")->setCurrentIndex(1);
        QCOMPARE(m_last.at(2)->naming, PeriodNaming::DayCount);
        QCOMPARE(m_last.at(2)->periodsPerDay, DefaultPeriodsPerDay(PeriodNaming::DayCount));
        QVERIFY(perDay->isEnabled());
        perDay->setValue(60);
        QCOMPARE(m_last.at(2)->periodsPerDay, 60);

        // The first lottery's draw file can be set too (typed, then Tab).
        list()->setCurrentRow(0);
        auto* file = find<QLineEdit>("LotteryDrawFile");
        file->setFocus();
        QTest::keyClicks(file, "/a.txt");
        QTest::keyClick(file, Qt::Key_Tab);
        QCOMPARE(m_last.at(0)->drawFile, "/a.txt");

        list()->setCurrentRow(2);
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Delete);
        QCOMPARE(m_last.size(), 2);
        QCOMPARE(list()->count(), 2);
        QCOMPARE(m_window->currentIndex(), 1);
        QCOMPARE(m_last.at(0)->drawFile, "/a.txt");
    }

private:
    std::unique_ptr<LotterySettingsWindow> m_window;
    int m_signals = 0;
    LotteryRegistry m_last;
};

QTEST_MAIN(TestLotterySettingsWindow)
#include "test_lottery_settings_window.moc"
