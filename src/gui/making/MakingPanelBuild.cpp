// Construction, layout and signal wiring of the conditions panel and the base-set box.
//
// From left to right: the position options with the two mode switches, the banker and span
// buttons, the route switches and extra digits, then the kill-list panels beside the base
// set, with the plan text under both. The panel fits a window 1024 pixels wide.
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
#include "gui/common/Keyboard.h"
#include "gui/making/BaseSetColumn.h"
#include "gui/making/KillListPanel.h"
#include "gui/making/MakingPanel.h"
#include "gui/making/PanelWidgets.h"

namespace zuohao::gui {

namespace {
// Caption of a position-group option: a space, then the group's name (" 万千百").
QString groupOptionCaption(int w) {
    const std::string_view name = GroupName(w);
    return QLatin1Char(' ') + QString::fromUtf8(name.data(), qsizetype(name.size()));
}
constexpr int kWeiRows = 6;      // position options: two columns of six
constexpr int kDigitButton = 22; // the square 数字 and 个数 buttons
constexpr int kExtraDigitsWidth = 52;
constexpr int kPlanLinesShown = 3;

QPushButton* smallButton(const QString& text, const QString& name, QWidget* parent) {
    auto* b = named(new QPushButton(text, parent), name);
    b->setFixedSize(kDigitButton, kDigitButton);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

QGridLayout* tightGrid(QWidget* parent, int spacing) {
    auto* g = new QGridLayout(parent);
    g->setSpacing(spacing);
    g->setContentsMargins(4, 2, 4, 2);
    return g;
}

} // namespace

MakingPanel::MakingPanel(FormState& form, QWidget* parent) : QWidget(parent), m_form(form) {
    setObjectName(QStringLiteral("MakingPanel"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(4);
    buildPositionColumn(row);
    buildBankerBox(row);
    buildSwitchBox(row);
    buildPlanArea(row);
    buildSelectionRow();
    wire();
}

// The position options (Picture2, locked while a plan runs) and, outside it, 自动做号 (usable
// during a plan, where it matters) and 大底反集 (locked on its own).
void MakingPanel::buildPositionColumn(QLayout* row) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    auto* posBox = named(new QGroupBox(QStringLiteral("位置"), this), QStringLiteral("Picture2"));
    m_picture2 = posBox;
    auto* posGrid = tightGrid(posBox, 2);
    auto* weiGroup = new QButtonGroup(this);
    for (int i = 0; i < kGroupCount; ++i) {
        m_weiOption[i] = named(new QRadioButton(groupOptionCaption(i), posBox),
                               QStringLiteral("WeiOption_%1").arg(i));
        m_weiOption[i]->setToolTip(
            QStringLiteral("选择做号与计划的位置组（%1）").arg(groupOptionCaption(i).trimmed()));
        weiGroup->addButton(m_weiOption[i], i);
        posGrid->addWidget(m_weiOption[i], i % kWeiRows, i / kWeiRows);
    }
    column->addWidget(posBox);
    auto* modes = new QHBoxLayout;
    modes->setContentsMargins(4, 0, 4, 0);
    m_checkAuto =
        named(new QCheckBox(QStringLiteral("自动做号"), this), QStringLiteral("CheckAuto"));
    m_checkAuto->setToolTip(QStringLiteral("计划进行中，每期按勾选的统计列自动重新生成选号"));
    m_check1 = named(new QCheckBox(QStringLiteral("大底反集"), this), QStringLiteral("Check1"));
    m_check1->setToolTip(QStringLiteral("以被过滤掉的号码作为大底"));
    modes->addWidget(m_checkAuto);
    modes->addWidget(m_check1);
    column->addLayout(modes);
    static_cast<QBoxLayout*>(row)->addLayout(column);
}

// Bankers (two groups of digits with their counts) and the kill span.
void MakingPanel::buildBankerBox(QLayout* row) {
    auto* danBox = new QGroupBox(QStringLiteral("胆码 · 跨度"), this);
    auto* danGrid = tightGrid(danBox, 1);
    const QString danLabels[3] = {QStringLiteral("胆码1："), QStringLiteral("胆码2："),
                                  QStringLiteral("杀跨度：")};
    const QString danNames[3] = {QStringLiteral("胆码1"), QStringLiteral("胆码2"),
                                 QStringLiteral("杀跨度")};
    const QString danTips[3] = {QStringLiteral("胆码组1：号码须含这些数字（个数见下行）"),
                                QStringLiteral("胆码组2：号码须含这些数字（个数见下行）"),
                                QStringLiteral("杀掉跨度为这些数字的号码")};
    for (int r = 0; r < 3; ++r) {
        danGrid->addWidget(new QLabel(danLabels[r], danBox), r * 2, 0);
        for (int d = 0; d < 10; ++d) {
            const int i = r * 10 + d;
            m_shuZi[i] = smallButton(QString::number(d), QStringLiteral("数字_%1").arg(i), danBox);
            m_shuZi[i]->setToolTip(danTips[r]);
            m_shuZi[i]->setAccessibleName(QStringLiteral("%1 数字%2").arg(danNames[r]).arg(d));
            danGrid->addWidget(m_shuZi[i], r * 2, 1 + d);
        }
        if (r == 2) break;
        danGrid->addWidget(new QLabel(QStringLiteral("个数："), danBox), r * 2 + 1, 0);
        for (int c = 0; c < 5; ++c) {
            const int j = r * 5 + c;
            m_geShu[j] = smallButton(QString::number(c), QStringLiteral("个数_%1").arg(j), danBox);
            m_geShu[j]->setToolTip(QStringLiteral("胆码组%1允许出现的个数").arg(r + 1));
            m_geShu[j]->setAccessibleName(QStringLiteral("%1 个数%2").arg(danNames[r]).arg(c));
            danGrid->addWidget(m_geShu[j], r * 2 + 1, 1 + c);
        }
        m_command1[r] = named(new QPushButton(QStringLiteral("清"), danBox),
                              QStringLiteral("Command1_%1").arg(r));
        m_command1[r]->setFixedHeight(kDigitButton);
        m_command1[r]->setToolTip(QStringLiteral("清除胆码组%1的数字与个数").arg(r + 1));
        danGrid->addWidget(m_command1[r], r * 2 + 1, 7, 1, 4);
    }
    row->addWidget(danBox);
}

// Route switches, the clear-all button and the three extra-digit boxes.
void MakingPanel::buildSwitchBox(QLayout* row) {
    auto* swBox = new QGroupBox(QStringLiteral("杀路数 · 加码"), this);
    auto* swGrid = tightGrid(swBox, 2);
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
        m_texthwnd3[k] = named(new QLineEdit(swBox), QStringLiteral("Texthwnd3_%1").arg(k));
        m_texthwnd3[k]->setToolTip(extraTips[k]);
        m_texthwnd3[k]->setAccessibleName(extraLabels[k]);
        m_texthwnd3[k]->setFixedWidth(kExtraDigitsWidth);
        line->addWidget(m_texthwnd3[k]);
        m_digitPickSlots[k] = handSlot(swBox);
        line->addWidget(m_digitPickSlots[k]);
        line->addStretch();
        swGrid->addLayout(line, 4 + k, 0, 1, 2);
    }
    row->addWidget(swBox);
}

// Kill lists beside the base set, and the plan text under both: a plan line is
// "period  count注  【group】  result" and must be seen whole, so it gets their width.
void MakingPanel::buildPlanArea(QLayout* row) {
    auto* area = new QGridLayout;
    area->setSpacing(2);
    auto* kills = new QVBoxLayout;
    kills->setSpacing(2);
    for (int k = 0; k < 2; ++k) {
        m_killPanels[std::size_t(k)] = new KillListPanel(m_form, k, this);
        kills->addWidget(m_killPanels[std::size_t(k)]);
    }
    area->addLayout(kills, 0, 0);
    m_baseColumn = new BaseSetColumn(m_form, this);
    area->addWidget(m_baseColumn, 0, 1);
    area->setColumnStretch(0, 1);
    area->setColumnStretch(1, 1);
    m_planText = named(new QPlainTextEdit(this), QStringLiteral("PlanText"));
    m_planText->setReadOnly(true);
    m_planText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_planText->setToolTip(QStringLiteral("本计划各期的结果，最新一期在最下面"));
    m_planText->setAccessibleName(QStringLiteral("计划"));
    m_planText->setTabChangesFocus(true);
    const QFontMetrics fm(m_planText->font());
    m_planText->setFixedHeight((fm.lineSpacing() + 1) * kPlanLinesShown +
                               2 * m_planText->frameWidth() +
                               int(2 * m_planText->document()->documentMargin()) + 4);
    area->addWidget(m_planText, 1, 0, 1, 2);
    static_cast<QBoxLayout*>(row)->addLayout(area, 1);
}

// The selection row: placed over the history grid by the grid itself.
void MakingPanel::buildSelectionRow() {
    for (int i = 0; i < 5; ++i) {
        m_selectText[i] = named(new QLineEdit(this), QStringLiteral("SelectText_%1").arg(i));
        m_selectText[i]->setToolTip(
            QStringLiteral("第%1组选号数字（可直接输入，如 1-5）；").arg(i + 1) +
            kSelectionRenewNote);
        connect(m_selectText[i], &QLineEdit::textEdited, this, &MakingPanel::SelectText_Edited);
        m_countText[i] = named(new QLineEdit(this), QStringLiteral("CountText_%1").arg(i));
        m_countText[i]->setToolTip(QStringLiteral("第%1组选号允许命中的个数（0-6）").arg(i + 1));
        m_selectText[i]->setAccessibleName(QStringLiteral("第%1组选号").arg(i + 1));
        m_countText[i]->setAccessibleName(QStringLiteral("第%1组个数").arg(i + 1));
    }
}

QString MakingPanel::weiCaption(int w) const {
    return (w >= 0 && w < kGroupCount) ? m_weiOption[w]->text() : QString();
}

QList<QLineEdit*> MakingPanel::selectionTexts() const {
    return QList<QLineEdit*>(m_selectText.begin(), m_selectText.end());
}

QList<QLineEdit*> MakingPanel::countTexts() const {
    return QList<QLineEdit*>(m_countText.begin(), m_countText.end());
}

void MakingPanel::attachSelectChecks(const std::array<QCheckBox*, kCheckCount>& boxes) {
    m_selectCheck = boxes;
    for (int i = 0; i < kCheckCount; ++i) {
        if (!boxes[i]) continue;
        connect(boxes[i], &QCheckBox::toggled, this, [this, i] { SelectCheck_Click(i); });
    }
}

void MakingPanel::wire() {
    for (int i = 0; i < kGroupCount; ++i)
        connect(m_weiOption[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) WeiOption_Click(i);
        });
    connect(m_checkAuto, &QCheckBox::toggled, this, &MakingPanel::CheckAuto_Click);
    connect(m_check1, &QCheckBox::toggled, this, &MakingPanel::Check1_Click);
    for (int i = 0; i < 5; ++i) {
        connect(m_selectText[i], &QLineEdit::textChanged, this,
                [this, i] { SelectText_Change(i); });
        connect(m_countText[i], &QLineEdit::textChanged, this, [this, i] { CountText_Change(i); });
    }
    for (int k = 0; k < 3; ++k)
        connect(m_texthwnd3[k], &QLineEdit::textChanged, this, [this, k] { Texthwnd3_Change(k); });
    connect(m_clearCommand, &QPushButton::clicked, this, &MakingPanel::ClearCommand_Click);
    for (int i = 0; i < 30; ++i)
        connect(m_shuZi[i], &QPushButton::clicked, this, [this, i] { ShuZi_Click(i); });
    for (int j = 0; j < 10; ++j)
        connect(m_geShu[j], &QPushButton::clicked, this, [this, j] { GeShu_Click(j); });
    for (int k = 0; k < 2; ++k)
        connect(m_command1[k], &QPushButton::clicked, this, [this, k] { Command1_Click(k); });
    for (int i = 0; i < 4; ++i)
        connect(m_checkLu[i], &QCheckBox::toggled, this, [this, i] { CheckLu_Click(i); });

    connect(m_baseColumn, &BaseSetColumn::startClicked, this, &MakingPanel::SuishuiCmd_Click);
    connect(m_baseColumn, &BaseSetColumn::clearClicked, this, &MakingPanel::PlanCmd_Click);
    connect(m_planText, &QPlainTextEdit::textChanged, this, &MakingPanel::PlanText_Change);
    for (KillListPanel* panel : m_killPanels)
        connect(panel, &KillListPanel::stored, this, &MakingPanel::killListStored);
}

} // namespace zuohao::gui
