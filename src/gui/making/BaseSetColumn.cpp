#include "gui/making/BaseSetColumn.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

#include "core/acquire/LotteryClass.h"
#include "gui/common/Keyboard.h"
#include "gui/common/QtText.h"
#include "gui/common/Seams.h"
#include "gui/common/Settings.h"
#include "gui/making/FormState.h"
#include "gui/making/PanelWidgets.h"

namespace zuohao::gui {

namespace {
// The caption after a plan was cleared (the button is built reading "开  始  缩  水").
const QString kClearedCaption = QStringLiteral("开 始 缩 水");
const QString kRunningCaption = QStringLiteral("正 在 计 划 ...");
constexpr int kBaseBoxLeastHeight = 36;
constexpr int kDelayBoxWidth = 40;
} // namespace

BaseSetColumn::BaseSetColumn(FormState& form, QWidget* parent) : QWidget(parent), m_form(form) {
    build();
    wire();
}

void BaseSetColumn::build() {
    auto* base = new QGridLayout(this);
    base->setContentsMargins(0, 0, 0, 0);
    base->setSpacing(2);
    base->addWidget(new QLabel(QStringLiteral("大底"), this), 0, 0);
    m_showDadiText = plainBox(QStringLiteral("ShowDadiText"), this);
    // The base set may hold 10,000 numbers: it scrolls, and never asks for height.
    m_showDadiText->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    m_showDadiText->setMinimumHeight(kBaseBoxLeastHeight);
    m_showDadiText->setAccessibleName(QStringLiteral("大底"));
    base->addWidget(m_showDadiText, 1, 0, 1, 2);
    m_copyDadiCmd = named(new QPushButton(QStringLiteral("复  制  大  底"), this),
                          QStringLiteral("CopyDadiCmd"));
    m_commandFanji = named(new QPushButton(QStringLiteral("复  制  反  集"), this),
                           QStringLiteral("CommandFanji"));
    m_suishuiCmd = named(new QPushButton(QStringLiteral("开  始  缩  水"), this),
                         QStringLiteral("SuishuiCmd"));
    m_planCmd =
        named(new QPushButton(QStringLiteral("清  除  计  划"), this), QStringLiteral("PlanCmd_0"));
    m_planCmd->setEnabled(false);
    SetShortcut(m_suishuiCmd, QKeySequence(Qt::CTRL | Qt::Key_Return),
                QStringLiteral("按当前条件生成大底并开始计划"));
    SetShortcut(m_planCmd, QKeySequence(Qt::CTRL | Qt::Key_Delete),
                QStringLiteral("结束计划，解除条件的锁定"));
    SetShortcut(m_copyDadiCmd, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                QStringLiteral("把大底复制到剪贴板"));
    m_commandFanji->setAccessibleName(CaptionName(m_commandFanji->text()));
    m_commandFanji->setAccessibleDescription(QStringLiteral("把大底之外的号码复制到剪贴板"));
    base->addWidget(m_copyDadiCmd, 2, 0);
    base->addWidget(m_commandFanji, 2, 1);
    base->addWidget(m_suishuiCmd, 3, 0);
    base->addWidget(m_planCmd, 3, 1);
    auto* delay = new QHBoxLayout;
    delay->addWidget(new QLabel(QStringLiteral("延迟"), this));
    m_textYanchi = named(new QLineEdit(QStringLiteral("3"), this), QStringLiteral("TextYanchi"));
    m_textYanchi->setMaximumWidth(kDelayBoxWidth);
    m_textYanchi->setToolTip(QStringLiteral("新开奖后等待多少秒再读取拾取的窗口"));
    m_textYanchi->setAccessibleName(QStringLiteral("延迟秒数"));
    delay->addWidget(m_textYanchi);
    delay->addWidget(new QLabel(QStringLiteral("倒计时"), this));
    m_labelYanchi = named(new QLabel(QStringLiteral("000"), this), QStringLiteral("LabelYanchi"));
    delay->addWidget(m_labelYanchi);
    delay->addStretch();
    base->addLayout(delay, 4, 0, 1, 2);
    base->setRowStretch(1, 1);
}

void BaseSetColumn::wire() {
    connect(m_showDadiText, &QPlainTextEdit::textChanged, this,
            &BaseSetColumn::ShowDadiText_Change);
    connect(m_copyDadiCmd, &QPushButton::clicked, this, &BaseSetColumn::CopyDadiCmd_Click);
    connect(m_commandFanji, &QPushButton::clicked, this, &BaseSetColumn::CommandFanji_Click);
    connect(m_suishuiCmd, &QPushButton::clicked, this, &BaseSetColumn::startClicked);
    connect(m_planCmd, &QPushButton::clicked, this, &BaseSetColumn::clearClicked);
    // The delay is taken when its editing ends (Enter, or the focus leaves the box), so
    // that 7.5 can be typed; a value the program writes (not a user's edit) is taken at once.
    connect(m_textYanchi, &QLineEdit::editingFinished, this, &BaseSetColumn::TextYanchi_Change);
    connect(m_textYanchi, &QLineEdit::textChanged, this, [this] {
        if (!m_textYanchi->isModified()) TextYanchi_Change();
    });
}

void BaseSetColumn::tell(const QString& text) const {
    if (m_form.ShowLabelTxt) m_form.ShowLabelTxt(text);
}

void BaseSetColumn::showPlanButtons(bool planRuns) {
    if (planRuns)
        SetCaption(m_suishuiCmd, kRunningCaption);
    else if (m_planButtonsRunning)
        SetCaption(m_suishuiCmd, kClearedCaption);
    m_planButtonsRunning = planRuns;
    m_suishuiCmd->setEnabled(!planRuns);
    m_planCmd->setEnabled(planRuns);
}

QList<QWidget*> BaseSetColumn::tabChain() const {
    return {m_showDadiText, m_copyDadiCmd, m_commandFanji, m_suishuiCmd, m_planCmd, m_textYanchi};
}

const NumberList& BaseSetColumn::baseSet() const {
    static const NumberList kNone;
    return m_form.ActiveCls ? m_form.ActiveCls->formSet().DAD : kNone;
}

QString BaseSetColumn::baseText() const {
    return toQ(baseSet().text());
}

void BaseSetColumn::showBaseSet() {
    const QString text = baseText();
    if (m_showDadiText->toPlainText() != text) {
        m_renderingBase = true; // the box shows the state; it is not read back
        m_showDadiText->setPlainText(text);
        m_renderingBase = false;
    }
    showBaseCaptions();
}

void BaseSetColumn::showBaseCaptions() {
    const NumberList& dad = baseSet();
    SetCaption(m_copyDadiCmd, QStringLiteral("复制大底 [%1注]").arg(dad.count()));
    // The complement belongs to the base set shown: with the base set emptied (清除计划)
    // there is nothing to copy, and the caption says so.
    const int m = dad.empty() || !m_form.ActiveCls ? 0 : m_form.ActiveCls->formSet().FJI.count();
    SetCaption(m_commandFanji,
               m == 0 ? QStringLiteral("复制反集") : QStringLiteral("复制反集 [%1注]").arg(m));
}

void BaseSetColumn::showNewBaseSet(Result<std::string> (LotteryClass::*make)()) {
    if (!m_form.ActiveCls) return;
    // A new base set restarts the monitor (while it is on) from the lottery's own base set.
    auto r = (m_form.ActiveCls->*make)();
    if (r)
        showBaseSet();
    else
        tell(QStringLiteral("缩水失败：") + toQ(r.error()));
    if (m_form.ShowMonitor) m_form.ShowMonitor();
}

void BaseSetColumn::setCountdown(int seconds) {
    m_labelYanchi->setText(QString::number(seconds));
}

void BaseSetColumn::setDelay(int seconds) {
    m_textYanchi->setText(QString::number(seconds));
    TextYanchi_Change();
}

void BaseSetColumn::commitDelay() {
    TextYanchi_Change();
}

void BaseSetColumn::ShowDadiText_Change() {
    if (m_renderingBase || !m_form.ActiveCls) return;
    // The player's edit, read once into the lottery's base set.
    LotteryClass& lot = *m_form.ActiveCls;
    NumberListRead read =
        NumberList::read(toStd(m_showDadiText->toPlainText()), lot.formSet().fourDigit());
    const int kept = read.list.count();
    lot.setBaseSet(std::move(read.list));
    if (m_form.WorkChanged) m_form.WorkChanged();
    showBaseCaptions();
    if (read.unreadable + read.repeated > 0 && m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(BaseSetReadNote(read.unreadable, read.repeated, kept));
}

QString BaseSetReadNote(int unreadable, int repeated, int kept) {
    QStringList parts;
    if (unreadable > 0) parts << QStringLiteral("%1 处无法识别为号码").arg(unreadable);
    if (repeated > 0) parts << QStringLiteral("%1 个号码重复").arg(repeated);
    return QStringLiteral("大底中%1，未计入（现 %2 注）")
        .arg(parts.join(QStringLiteral("、")))
        .arg(kept);
}

void BaseSetColumn::CopyDadiCmd_Click() {
    const NumberList& dad = baseSet();
    if (dad.empty()) return;
    if (!seams().setClipboardText(toQ(dad.text())) && m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("无法写入剪贴板"));
}

void BaseSetColumn::CommandFanji_Click() {
    if (baseSet().empty() || !m_form.ActiveCls) return;
    if (!seams().setClipboardText(toQ(m_form.ActiveCls->formSet().FJI.text())) &&
        m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("无法写入剪贴板"));
}

void BaseSetColumn::TextYanchi_Change() {
    m_form.Yanchi = ParseDelay(m_textYanchi->text());
    const QString text = QString::number(m_form.Yanchi);
    m_textYanchi->setModified(false);
    if (m_textYanchi->text() != text) m_textYanchi->setText(text); // runs this again: same value
    WriteDelaySetting(text);
}

} // namespace zuohao::gui
