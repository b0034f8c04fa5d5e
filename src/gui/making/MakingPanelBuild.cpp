// Construction, layout and signal wiring of the conditions panel and the base-set box.
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/model/Groups.h"
#include "gui/making/MakingPanel.h"

namespace zuohao::gui {

namespace {
// Caption of a position-group option: a space, then the group's name (" 万千百").
QString groupOptionCaption(int w) {
    const std::string_view name = GroupName(w);
    return QLatin1Char(' ') + QString::fromUtf8(name.data(), qsizetype(name.size()));
}

template <class W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QPushButton* smallButton(const QString& text, const QString& name, QWidget* parent) {
    auto* b = named(new QPushButton(text, parent), name);
    b->setFixedSize(24, 22);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QPlainTextEdit* plainBox(const QString& name, QWidget* parent) {
    auto* e = named(new QPlainTextEdit(parent), name);
    e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    e->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return e;
}
} // namespace

MakingPanel::MakingPanel(FormState& form, QWidget* parent) : QWidget(parent), m_form(form) {
    setObjectName(QStringLiteral("MakingPanel"));
    build();
    wire();
}

void MakingPanel::build() {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(6);

    // Position group and modes.
    auto* posBox = named(new QGroupBox(QStringLiteral("位置"), this), QStringLiteral("Picture2"));
    Picture2 = posBox;
    auto* posGrid = new QGridLayout(posBox);
    posGrid->setSpacing(2);
    posGrid->setContentsMargins(4, 2, 4, 2);
    auto* weiGroup = new QButtonGroup(this);
    for (int i = 0; i < kGroupCount; ++i) {
        m_weiOption[i] =
            named(new QRadioButton(groupOptionCaption(i), posBox), QStringLiteral("WeiOption_%1").arg(i));
        m_weiOption[i]->setToolTip(
            QStringLiteral("选择做号与计划的位置组（%1）").arg(groupOptionCaption(i).trimmed()));
        weiGroup->addButton(m_weiOption[i], i);
        posGrid->addWidget(m_weiOption[i], i % 4, i / 4);
    }
    CheckAuto =
        named(new QCheckBox(QStringLiteral("自动做号"), posBox), QStringLiteral("CheckAuto"));
    CheckAuto->setToolTip(QStringLiteral("计划进行中，每期按勾选的统计列自动重新生成选号"));
    m_check1 = named(new QCheckBox(QStringLiteral("大底反集"), posBox), QStringLiteral("Check1"));
    m_check1->setToolTip(QStringLiteral("以被过滤掉的号码作为大底"));
    posGrid->addWidget(CheckAuto, 4, 0, 1, 2);
    posGrid->addWidget(m_check1, 4, 2);
    row->addWidget(posBox);

    // Bankers and kill span.
    auto* danBox = new QGroupBox(QStringLiteral("胆码 · 跨度"), this);
    auto* danGrid = new QGridLayout(danBox);
    danGrid->setSpacing(1);
    danGrid->setContentsMargins(4, 2, 4, 2);
    const QString danLabels[3] = {QStringLiteral("胆码1："), QStringLiteral("胆码2："),
                                  QStringLiteral("杀跨度：")};
    const QString danTips[3] = {QStringLiteral("胆码组1：号码须含这些数字（个数见下行）"),
                                QStringLiteral("胆码组2：号码须含这些数字（个数见下行）"),
                                QStringLiteral("杀掉跨度为这些数字的号码")};
    for (int r = 0; r < 3; ++r) {
        danGrid->addWidget(new QLabel(danLabels[r], danBox), r * 2, 0);
        for (int d = 0; d < 10; ++d) {
            int i = r * 10 + d;
            m_shuZi[i] = smallButton(QString::number(d), QStringLiteral("数字_%1").arg(i), danBox);
            m_shuZi[i]->setToolTip(danTips[r]);
            danGrid->addWidget(m_shuZi[i], r * 2, 1 + d);
        }
        if (r == 2) break;
        danGrid->addWidget(new QLabel(QStringLiteral("个数："), danBox), r * 2 + 1, 0);
        for (int c = 0; c < 5; ++c) {
            int j = r * 5 + c;
            m_geShu[j] = smallButton(QString::number(c), QStringLiteral("个数_%1").arg(j), danBox);
            m_geShu[j]->setToolTip(QStringLiteral("胆码组%1允许出现的个数").arg(r + 1));
            danGrid->addWidget(m_geShu[j], r * 2 + 1, 1 + c);
        }
        m_command1[r] = named(new QPushButton(QStringLiteral("清"), danBox),
                              QStringLiteral("Command1_%1").arg(r));
        m_command1[r]->setFixedHeight(22);
        m_command1[r]->setToolTip(QStringLiteral("清除胆码组%1的数字与个数").arg(r + 1));
        danGrid->addWidget(m_command1[r], r * 2 + 1, 7, 1, 4);
    }
    row->addWidget(danBox);

    // Route switches, check boxes, extra digits.
    auto* swBox = new QGroupBox(QStringLiteral("杀路数 · 加码"), this);
    auto* swGrid = new QGridLayout(swBox);
    swGrid->setSpacing(2);
    swGrid->setContentsMargins(4, 2, 4, 2);
    swGrid->addWidget(new QLabel(QStringLiteral("杀路数："), swBox), 0, 0);
    const QString luCaptions[4] = {QStringLiteral("全0路"), QStringLiteral("全1路"),
                                   QStringLiteral("全2路"), QStringLiteral("杀对子")};
    const QString luTips[4] = {
        QStringLiteral("杀掉各位都是0、3、6、9的号码"), QStringLiteral("杀掉各位都是1、4、7的号码"),
        QStringLiteral("杀掉各位都是2、5、8的号码"), QStringLiteral("杀掉含有相同数字的号码")};
    for (int i = 0; i < 4; ++i) {
        m_checkLu[i] =
            named(new QCheckBox(luCaptions[i], swBox), QStringLiteral("CheckLu_%1").arg(i));
        m_checkLu[i]->setToolTip(luTips[i]);
        swGrid->addWidget(m_checkLu[i], 1 + i / 2, i % 2);
    }
    m_clearCommand = named(new QPushButton(QStringLiteral("清空所有复选框"), swBox),
                           QStringLiteral("ClearCommand"));
    m_clearCommand->setToolTip(QStringLiteral("取消走势表上方的全部勾选"));
    swGrid->addWidget(m_clearCommand, 3, 0, 1, 2);
    const QString extraLabels[3] = {QStringLiteral("和尾加码"), QStringLiteral("冷热加码"),
                                    QStringLiteral("三合加码")};
    const QString extraTips[3] = {QStringLiteral("并入和尾选号（第5组）的数字"),
                                  QStringLiteral("并入冷热选号（第1组）的数字"),
                                  QStringLiteral("并入三码合选号（第2组）的数字")};
    for (int k = 0; k < 3; ++k) {
        auto* line = new QHBoxLayout;
        line->setSpacing(2);
        line->addWidget(new QLabel(extraLabels[k], swBox));
        Texthwnd3[k] = named(new QLineEdit(swBox), QStringLiteral("Texthwnd3_%1").arg(k));
        Texthwnd3[k]->setToolTip(extraTips[k]);
        Texthwnd3[k]->setMaximumWidth(90);
        line->addWidget(Texthwnd3[k]);
        digitPickSlots[k] = new QWidget(swBox);
        new QHBoxLayout(digitPickSlots[k]);
        digitPickSlots[k]->layout()->setContentsMargins(0, 0, 0, 0);
        line->addWidget(digitPickSlots[k]);
        swGrid->addLayout(line, 4 + k, 0, 1, 2);
    }
    row->addWidget(swBox);

    // The two kill-list panels.
    auto* killColumn = new QVBoxLayout;
    killColumn->setSpacing(2);
    const QString panelNames[2] = {QStringLiteral("三星"), QStringLiteral("四星")};
    for (int k = 0; k < 2; ++k) {
        Picture9[k] = named(new QFrame(this), QStringLiteral("Picture9_%1").arg(k));
        Picture9[k]->setFrameShape(QFrame::StyledPanel);
        Picture9[k]->setAutoFillBackground(true);
        auto* g = new QGridLayout(Picture9[k]);
        g->setContentsMargins(3, 2, 3, 2);
        g->setSpacing(2);
        g->addWidget(new QLabel(panelNames[k], Picture9[k]), 0, 0);
        m_labelZhu[k] = named(new QLabel(QStringLiteral("0注"), Picture9[k]),
                              QStringLiteral("Labelzhu_%1").arg(k));
        g->addWidget(m_labelZhu[k], 0, 1);
        m_command2[k] = named(new QPushButton(QStringLiteral("清空"), Picture9[k]),
                              QStringLiteral("Command2_%1").arg(k));
        m_command3[k] = named(new QPushButton(QStringLiteral("粘贴"), Picture9[k]),
                              QStringLiteral("Command3_%1").arg(k));
        m_command3[k]->setToolTip(k == 0 ? QStringLiteral("粘贴剪贴板第一行的三位数杀号")
                                         : QStringLiteral("粘贴剪贴板第一行的三位或四位数杀号"));
        g->addWidget(m_command2[k], 0, 2);
        g->addWidget(m_command3[k], 0, 3);
        pickSlots[k] = new QWidget(Picture9[k]);
        new QHBoxLayout(pickSlots[k]);
        pickSlots[k]->layout()->setContentsMargins(0, 0, 0, 0);
        g->addWidget(pickSlots[k], 0, 4);
        TextKillDadi[k] = plainBox(QStringLiteral("TextKillDadi_%1").arg(k), Picture9[k]);
        TextKillDadi[k]->setToolTip(QStringLiteral("缩水时从大底中去掉的号码"));
        TextKillDadi[k]->setFixedHeight(62);
        g->addWidget(TextKillDadi[k], 1, 0, 1, 5);
        killColumn->addWidget(Picture9[k]);
    }
    row->addLayout(killColumn, 2);

    // Base set and plan.
    auto* baseColumn = new QGridLayout;
    baseColumn->setSpacing(2);
    baseColumn->addWidget(new QLabel(QStringLiteral("大底"), this), 0, 0);
    ShowDadiText = plainBox(QStringLiteral("ShowDadiText"), this);
    // The base set may hold 10,000 numbers: it scrolls, and never asks for height.
    ShowDadiText->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    ShowDadiText->setMinimumHeight(60);
    baseColumn->addWidget(ShowDadiText, 1, 0, 1, 2);
    m_copyDadiCmd = named(new QPushButton(QStringLiteral("复  制  大  底"), this),
                          QStringLiteral("CopyDadiCmd"));
    m_commandFanji = named(new QPushButton(QStringLiteral("复  制  反  集"), this),
                           QStringLiteral("CommandFanji"));
    m_suishuiCmd = named(new QPushButton(QStringLiteral("开  始  缩  水"), this),
                         QStringLiteral("SuishuiCmd"));
    m_planCmd =
        named(new QPushButton(QStringLiteral("清  除  计  划"), this), QStringLiteral("PlanCmd_0"));
    m_planCmd->setEnabled(false);
    baseColumn->addWidget(m_copyDadiCmd, 2, 0);
    baseColumn->addWidget(m_commandFanji, 2, 1);
    baseColumn->addWidget(m_suishuiCmd, 3, 0);
    baseColumn->addWidget(m_planCmd, 3, 1);
    PlanText = plainBox(QStringLiteral("PlanText"), this);
    PlanText->setReadOnly(true);
    PlanText->setFixedHeight(46);
    baseColumn->addWidget(PlanText, 4, 0, 1, 2);
    auto* delay = new QHBoxLayout;
    delay->addWidget(new QLabel(QStringLiteral("延迟"), this));
    TextYanchi = named(new QLineEdit(QStringLiteral("3"), this), QStringLiteral("TextYanchi"));
    TextYanchi->setMaximumWidth(40);
    TextYanchi->setToolTip(QStringLiteral("新开奖后等待多少秒再读取拾取的窗口"));
    delay->addWidget(TextYanchi);
    delay->addWidget(new QLabel(QStringLiteral("倒计时"), this));
    LabelYanchi = named(new QLabel(QStringLiteral("000"), this), QStringLiteral("LabelYanchi"));
    delay->addWidget(LabelYanchi);
    delay->addStretch();
    baseColumn->addLayout(delay, 5, 0, 1, 2);
    baseColumn->setRowStretch(1, 1);
    row->addLayout(baseColumn, 3);

    // The selection row: placed over the history grid by the grid itself.
    for (int i = 0; i < 5; ++i) {
        SelectText[i] = named(new QLineEdit(this), QStringLiteral("SelectText_%1").arg(i));
        SelectText[i]->setToolTip(
            QStringLiteral("第%1组选号数字（可直接输入，如 1-5）").arg(i + 1));
        CountText[i] = named(new QLineEdit(this), QStringLiteral("CountText_%1").arg(i));
        CountText[i]->setToolTip(QStringLiteral("第%1组选号允许命中的个数（0-6）").arg(i + 1));
    }
}

QString MakingPanel::weiCaption(int w) const {
    return (w >= 0 && w < 12) ? m_weiOption[w]->text() : QString();
}

void MakingPanel::attachSelectChecks(const std::array<QCheckBox*, kCheckCount>& boxes) {
    m_selectCheck = boxes;
    for (int i = 0; i < kCheckCount; ++i) {
        if (!boxes[i]) continue;
        connect(boxes[i], &QCheckBox::toggled, this, [this, i] { SelectCheck_Click(i); });
    }
}

void MakingPanel::wire() {
    for (int i = 0; i < 12; ++i)
        connect(m_weiOption[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) WeiOption_Click(i);
        });
    connect(CheckAuto, &QCheckBox::toggled, this, &MakingPanel::CheckAuto_Click);
    connect(m_check1, &QCheckBox::toggled, this, &MakingPanel::Check1_Click);
    for (int i = 0; i < 5; ++i) {
        connect(SelectText[i], &QLineEdit::textChanged, this, [this, i] { SelectText_Change(i); });
        connect(CountText[i], &QLineEdit::textChanged, this, [this, i] { CountText_Change(i); });
    }
    for (int k = 0; k < 3; ++k)
        connect(Texthwnd3[k], &QLineEdit::textChanged, this, [this, k] { Texthwnd3_Change(k); });
    connect(m_clearCommand, &QPushButton::clicked, this, &MakingPanel::ClearCommand_Click);
    for (int i = 0; i < 30; ++i)
        connect(m_shuZi[i], &QPushButton::clicked, this, [this, i] { ShuZi_Click(i); });
    for (int j = 0; j < 10; ++j)
        connect(m_geShu[j], &QPushButton::clicked, this, [this, j] { GeShu_Click(j); });
    for (int k = 0; k < 2; ++k)
        connect(m_command1[k], &QPushButton::clicked, this, [this, k] { Command1_Click(k); });
    for (int i = 0; i < 4; ++i)
        connect(m_checkLu[i], &QCheckBox::toggled, this, [this, i] { CheckLu_Click(i); });

    connect(ShowDadiText, &QPlainTextEdit::textChanged, this, &MakingPanel::ShowDadiText_Change);
    connect(m_copyDadiCmd, &QPushButton::clicked, this, &MakingPanel::CopyDadiCmd_Click);
    connect(m_commandFanji, &QPushButton::clicked, this, &MakingPanel::CommandFanji_Click);
    connect(m_suishuiCmd, &QPushButton::clicked, this, &MakingPanel::SuishuiCmd_Click);
    connect(m_planCmd, &QPushButton::clicked, this, &MakingPanel::PlanCmd_Click);
    connect(PlanText, &QPlainTextEdit::textChanged, this, &MakingPanel::PlanText_Change);
    for (int k = 0; k < 2; ++k) {
        connect(TextKillDadi[k], &QPlainTextEdit::textChanged, this,
                [this, k] { TextKillDadi_Change(k); });
        connect(m_command2[k], &QPushButton::clicked, this, [this, k] { Command2_Click(k); });
        connect(m_command3[k], &QPushButton::clicked, this, [this, k] { Command3_Click(k); });
    }
    connect(TextYanchi, &QLineEdit::textChanged, this, &MakingPanel::TextYanchi_Change);
}

} // namespace zuohao::gui
