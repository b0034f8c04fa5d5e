#include "gui/monitor/MonitorSettingsBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/model/MonitorState.h"
#include "gui/common/QtText.h"
#include "gui/monitor/PeriodListModel.h"

namespace zuohao::gui {

namespace {
constexpr int kSegmentChoices = 31; // 0 to 30

// Shows `value` in a segment list: its entry when the list has one, else nothing.
void selectValue(QComboBox* box, int value) {
    box->setCurrentIndex(box->findText(QString::number(value), Qt::MatchExactly));
}
} // namespace

QString SegmentPeriodText(int value) {
    return value == 0 ? QString() : QString::number(value);
}

MonitorSettingsBox::MonitorSettingsBox(MonitorState& state, QWidget* parent)
    : QWidget(parent), m_state(&state) {
    build();
    // A setting is taken when the player picks an entry; lists cleared or filled from code do
    // not overwrite the settings.
    connect(m_qsCom, &QComboBox::activated, this, &MonitorSettingsBox::QSComClick);
    for (int i = 0; i < 4; ++i)
        connect(m_szCom[std::size_t(i)], &QComboBox::activated, this, [this, i] { SZComClick(i); });
    connect(m_zhuoQiTxt, &QLineEdit::textChanged, this, &MonitorSettingsBox::ZhuoQiTxtChange);
}

void MonitorSettingsBox::build() {
    auto* settings = new QGridLayout(this);
    settings->setContentsMargins(0, 0, 0, 0);
    settings->setHorizontalSpacing(6);
    settings->setVerticalSpacing(4);
    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QString::fromUtf8(name));
        return l;
    };
    auto combo = [this](const QString& name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setEditable(false);
        return c;
    };

    m_label1 = label("Label1", "锁定期数：");
    m_qsCom = combo(QStringLiteral("QSCom"));
    m_qsCom->setMinimumContentsLength(12);
    m_periodModel = new PeriodListModel(m_qsCom);
    m_qsCom->setModel(m_periodModel);
    m_label2 = label("Label2", "分段周期：");
    m_zhuoQiTxt = new QLineEdit(this);
    m_zhuoQiTxt->setObjectName(QStringLiteral("ZhuoQiTxt"));
    m_label3[0] = label("Label3_0", "分段中次数：");
    m_label3[1] = label("Label3_1", "二阶计划：");
    for (int i = 0; i < 4; ++i)
        m_szCom[std::size_t(i)] = combo(QStringLiteral("SZCom_%1").arg(i));

    // What each box means, in the order of `boxes` below.
    const char* tips[] = {
        "锁定期数：从这一期起回放评估（监控进行中不可更改）",
        "分段周期：每段包含的期数；每段结束时在表中画一条线，段内中奖次数重新计算",
        "分段中次数（左）：段内中奖次数不少于此值时才可告警",
        "分段中次数（右）：段内中奖次数不多于此值时才可告警",
        "二阶计划（左）：连挂期数达到此值时触发，满足分段中次数即告警",
        "二阶计划（右）：告警后计划跟进的期数；连挂超过它即不再触发",
    };
    const char* names[] = {"锁定期数",        "分段周期",          "分段中次数 下限",
                           "分段中次数 上限", "二阶计划 触发连挂", "二阶计划 期数"};
    const std::array<QWidget*, 6> boxes = tabOrder();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->setToolTip(QString::fromUtf8(tips[i]));
        boxes[i]->setAccessibleName(QString::fromUtf8(names[i]));
    }
    m_label3[0]->setToolTip(m_szCom[0]->toolTip() + QLatin1Char('\n') + m_szCom[1]->toolTip());
    m_label3[1]->setToolTip(m_szCom[3]->toolTip() + QLatin1Char('\n') + m_szCom[2]->toolTip());
    m_label2->setToolTip(m_zhuoQiTxt->toolTip());
    m_label1->setToolTip(m_qsCom->toolTip());

    settings->addWidget(m_label1, 0, 0);
    settings->addWidget(m_qsCom, 0, 1, 1, 2);
    settings->addWidget(m_label2, 1, 0);
    settings->addWidget(m_zhuoQiTxt, 1, 1, 1, 2);
    settings->addWidget(m_label3[0], 2, 0);
    settings->addWidget(m_szCom[0], 2, 1);
    settings->addWidget(m_szCom[1], 2, 2);
    // The plan row: trigger value on the left (SZCom(3)), plan length on the right.
    settings->addWidget(m_label3[1], 3, 0);
    settings->addWidget(m_szCom[3], 3, 1);
    settings->addWidget(m_szCom[2], 3, 2);
    settings->setColumnStretch(1, 1);
    settings->setColumnStretch(2, 1);
}

std::array<QWidget*, 6> MonitorSettingsBox::tabOrder() const {
    return {m_qsCom, m_zhuoQiTxt, m_szCom[0], m_szCom[1], m_szCom[3], m_szCom[2]};
}

void MonitorSettingsBox::loadStep() {
    for (std::size_t i = 0; i < m_szCom.size(); ++i) {
        QComboBox* box = m_szCom[i];
        box->clear();
        for (int n = 0; n < kSegmentChoices; ++n)
            box->addItem(QString::number(n));
        selectValue(box, m_state->SegmentSettings[i]);
    }
    selectLockPeriod();
    m_zhuoQiTxt->setText(SegmentPeriodText(m_state->SegmentPeriod));
}

void MonitorSettingsBox::showSettings() {
    for (std::size_t i = 0; i < m_szCom.size(); ++i)
        selectValue(m_szCom[i], m_state->SegmentSettings[i]);
    selectLockPeriod();
    const QSignalBlocker quiet(m_zhuoQiTxt);
    m_zhuoQiTxt->setText(SegmentPeriodText(m_state->SegmentPeriod));
}

// The list follows the periods held without being rebuilt at every draw: periods dropped at
// the old end are removed, new ones appended. Anything else (a history reload, a rebuilt
// tail) makes it anew, so it never collects repeats.
void MonitorSettingsBox::bindPeriods(const DrawNumbers& periods, bool monitoring) {
    m_periods = &periods;
    m_periodModel->sync(periods);
    // The player's lock period stays while it is still among the periods held (new draws
    // must not move it back to the first one); otherwise the first period is taken.
    const int kept = rowOf(m_state->LockPeriod);
    if (monitoring) {
        m_qsCom->setCurrentIndex(kept);
    } else {
        m_qsCom->setCurrentIndex(kept >= 0 ? kept : 0);
        m_state->LockPeriod = Period::parse(toStd(m_qsCom->currentText()));
    }
}

void MonitorSettingsBox::prepareAtStartUp() {
    for (int i = 0; i < 3; ++i) {
        m_szCom[std::size_t(i)]->setCurrentIndex(1);
        SZComClick(i);
    }
    m_szCom[3]->setCurrentIndex(0);
    SZComClick(3);
}

void MonitorSettingsBox::setPeriodListEnabled(bool enabled) {
    m_qsCom->setEnabled(enabled);
}

void MonitorSettingsBox::selectLockPeriod() {
    m_qsCom->setCurrentIndex(rowOf(m_state->LockPeriod));
}

int MonitorSettingsBox::rowOf(Period period) const {
    // A label is found by its text at once; a counter written with leading zeros by a walk
    // (date labels have none).
    const int exact = m_qsCom->findText(toQ(period.text()), Qt::MatchExactly);
    if (exact >= 0 || !m_periods || period.isDate()) return exact;
    const int rows = m_qsCom->count();
    for (int row = 0; row < rows && std::size_t(row) < m_periods->Count(); ++row)
        if (Period::parse(m_periods->at(std::size_t(row)).first) == period) return row;
    return -1;
}

void MonitorSettingsBox::QSComClick() {
    m_state->LockPeriod = Period::parse(toStd(m_qsCom->currentText()));
    emit settingsChanged();
}

void MonitorSettingsBox::SZComClick(int index) {
    const QString text = m_szCom[std::size_t(index)]->currentText();
    m_state->SegmentSettings[std::size_t(index)] = SettingValue(toStd(text));
    emit settingsChanged();
}

void MonitorSettingsBox::ZhuoQiTxtChange() {
    m_state->SegmentPeriod = SettingValue(toStd(m_zhuoQiTxt->text()));
    emit settingsChanged();
}

} // namespace zuohao::gui
