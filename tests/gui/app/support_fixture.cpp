#include "support_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "gui/app/NotifyLink.h"
#include "gui/common/LotterySettings.h"
#include "gui/common/WindowPlacement.h"
#include "gui/monitor/JianKongForm.h"
#include "gui/winlink/HandPicker.h"
#include "gui/winlink/OutlineFrame.h"

using namespace zuohao::gui;

FormFixture::FormFixture() {
    setSeams(&seams);
    WindowPlacement::setStorePath(dir.filePath(QStringLiteral("windows.ini")));
}

FormFixture::~FormFixture() {
    m_form.reset();
    setSeams(nullptr);
    WindowPlacement::setStorePath(QString());
}

QString FormFixture::drawPath() const {
    return dir.filePath(QStringLiteral("draws.txt"));
}
QString FormFixture::iniPath() const {
    return dir.filePath(QStringLiteral("zelkwt.ini"));
}

void FormFixture::writeDraws(const std::vector<Draw>& oldestFirst) {
    QVERIFY(writeDrawFile(drawPath(), oldestFirst));
}

bool FormFixture::writeDrawFile(const QString& path, const std::vector<Draw>& oldestFirst) {
    QFile f(path + QStringLiteral(".tmp"));
    if (!f.open(QIODevice::WriteOnly)) return false;
    for (auto it = oldestFirst.rbegin(); it != oldestFirst.rend(); ++it)
        f.write(QStringLiteral("第%1期 开奖号码 %2\r\n").arg(it->qishu, it->haoma).toUtf8());
    f.close();
    QFile::remove(path);
    return QFile::rename(path + QStringLiteral(".tmp"), path);
}

QString FormFixture::listPath() const {
    return dir.filePath(QStringLiteral("lotteries.ini"));
}

void FormFixture::keepLotteries(const std::vector<std::pair<QString, QString>>& extra) const {
    zuohao::LotteryRegistry r;
    for (const auto& [name, file] : extra)
        QVERIFY(r.add(name.toStdString(), file.toStdString()).ok());
    QVERIFY(zuohao::gui::SaveLotteryList(r, {listPath(), iniPath(), {}}).ok);
}

QString FormFixture::text(const char* name) const {
    const QString n = QString::fromLatin1(name);
    if (auto* e = child<QPlainTextEdit>(n)) return e->toPlainText();
    if (auto* l = child<QLineEdit>(n)) return l->text();
    return child<QLabel>(n)->text();
}

void FormFixture::dragHand(int i, QWidget* onto) {
    zuohao::gui::HandPicker* hands = m_form->handPicker();
    const QPoint where = onto->mapToGlobal(onto->rect().center());
    hands->setPointerSource([where] { return where; });
    QLabel* hand = hands->hand(i);
    QTest::mousePress(hand, Qt::LeftButton);
    // Until a look under the pointer during this drag outlines the widget.
    QTRY_VERIFY(hands->outline() && hands->outline()->isVisible() &&
                hands->hoverRect().contains(where));
    QTest::mouseRelease(hand, Qt::LeftButton);
}

std::vector<Draw> FormFixture::makeDraws(int count, qint64 first) {
    std::vector<Draw> out;
    quint32 x = 12345;
    for (int i = 0; i < count; ++i) {
        x = x * 1103515245u + 12345u;
        out.push_back({QString::number(first + i),
                       QStringLiteral("%1").arg((x >> 8) % 100000, 5, 10, QLatin1Char('0'))});
    }
    return out;
}

AppOptions FormFixture::defaultOptions() const {
    AppOptions o;
    o.drawFile = drawPath();
    o.iniPath = iniPath();
    // Each fixture keeps its draws apart: tests reuse periods with other numbers.
    o.archivePath = dir.filePath(QStringLiteral("draws.sqlite"));
    return o;
}

LotteryForm& FormFixture::start(AppOptions options) {
    if (options.iniPath.isEmpty()) options.iniPath = iniPath();
    if (options.workPath.isEmpty()) options.workPath = dir.filePath(QStringLiteral("work.ini"));
    if (options.lotteryListPath.isEmpty())
        options.lotteryListPath = dir.filePath(QStringLiteral("lotteries.ini"));
    m_form = std::make_unique<LotteryForm>(options);
    // A desktop with a tray (Wine has one) would ask at closing; a test that wants the tray
    // says so.
    if (NotifyLink* link = m_form->notifyLink()) link->setTrayAvailable(false);
    m_form->show();
    if (!QTest::qWaitFor([&] { return m_form->formState().IsActivated; }, 5000))
        qWarning("the main window was not activated");
    return *m_form;
}

JianKongForm* FormFixture::watchEveryFewDraws() {
    QTest::mouseClick(child<QPushButton>("数字_5"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
    form().JianKongCmd_Click();
    JianKongForm* m = form().jianKongForm();
    for (auto [name, value] :
         {std::pair{"SZCom_0", "0"}, {"SZCom_1", "30"}, {"SZCom_2", "3"}, {"SZCom_3", "0"}}) {
        auto* box = m->findChild<QComboBox*>(name);
        const int i = box->findText(QString::fromLatin1(value));
        box->setCurrentIndex(i);
        emit box->activated(i); // as a user's pick
    }
    m->findChild<QLineEdit*>("ZhuoQiTxt")->setText(QStringLiteral("10"));
    QTest::mouseClick(m->findChild<QPushButton*>("jiankongCom"), Qt::LeftButton);
    return m;
}
