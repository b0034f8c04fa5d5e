#include "support_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/app/NotifyLink.h"
#include "gui/common/WindowPlacement.h"
#include "gui/monitor/JianKongForm.h"

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
    QFile f(drawPath() + QStringLiteral(".tmp"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    for (auto it = oldestFirst.rbegin(); it != oldestFirst.rend(); ++it)
        f.write(QStringLiteral("第%1期 开奖号码 %2\r\n").arg(it->qishu, it->haoma).toUtf8());
    f.close();
    QFile::remove(drawPath());
    QVERIFY(QFile::rename(drawPath() + QStringLiteral(".tmp"), drawPath()));
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
