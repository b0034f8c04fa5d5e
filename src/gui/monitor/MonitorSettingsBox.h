#pragma once
// The monitor window's settings: the lock period (QSCom), the segment length (ZhuoQiTxt) and
// the four segment boxes (SZCom 0-3). What the player picks or types is read once into the
// monitor state as numbers (a Period for the lock period); the boxes show the state.
#include <QString>
#include <QWidget>
#include <array>

#include "core/model/DrawNumbers.h"
#include "core/model/Period.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace zuohao {
struct MonitorState;
}

namespace zuohao::gui {

class PeriodListModel;

class MonitorSettingsBox : public QWidget {
    Q_OBJECT
public:
    MonitorSettingsBox(MonitorState& state, QWidget* parent);

    // The monitor the boxes show and set from now on (another lottery's); shown at the next
    // load step.
    void setState(MonitorState& state) { m_state = &state; }

    // The load step: the segment lists refilled (0 to 30) and every box showing the state.
    void loadStep();
    // Shows the settings and the lock period held in the state (after they were restored).
    void showSettings();
    // Kasi: the period list follows the lottery's periods; the lock period stays while it is
    // still among them, and is shown; when monitoring is off and it is not, the first period
    // is taken.
    void bindPeriods(const DrawNumbers& periods, bool monitoring);
    // Start-up: entry 1 in SZCom(0), SZCom(1) and SZCom(2), entry 0 in SZCom(3), stored as a
    // pick would store them.
    void prepareAtStartUp();
    void setPeriodListEnabled(bool enabled);

    // The boxes in the order Tab goes through them.
    std::array<QWidget*, 6> tabOrder() const;

signals:
    // The player changed a setting or the lock period.
    void settingsChanged();

private:
    void build();
    void QSComClick();
    void SZComClick(int index);
    void ZhuoQiTxtChange();
    // Shows the lock period in QSCom: its row, or none when it is not listed.
    void selectLockPeriod();
    int rowOf(Period period) const;

    MonitorState* m_state;
    QLabel* m_label1 = nullptr;
    QComboBox* m_qsCom = nullptr;
    PeriodListModel* m_periodModel = nullptr; // QSCom's list, read from the lottery
    const DrawNumbers* m_periods = nullptr;
    QLabel* m_label2 = nullptr;
    QLineEdit* m_zhuoQiTxt = nullptr;
    std::array<QLabel*, 2> m_label3{};
    std::array<QComboBox*, 4> m_szCom{};
};

// The text a segment-length box shows for a value (empty for 0, which ends no segment).
QString SegmentPeriodText(int value);

} // namespace zuohao::gui
