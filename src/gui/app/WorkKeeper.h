#pragma once
// The player's work kept between runs: the conditions of each lottery (by name), its kill
// lists and extra digits, the monitor's settings, lock period and record box, written a moment
// after every change (and at closing) and restored at load. A plan is not restarted: the restored
// conditions are shown and the player starts it. The selection texts are kept with the period
// they belong to: loading the draws derives them afresh from the ticked columns, and on the same
// draws the kept texts are put back, so that the same draws give the same base set.
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "core/model/ConditionSet.h"
#include "gui/common/SavedWork.h"

class QTimer;

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

class LotteryForm;
struct LotteryTransfer;

class WorkKeeper : public QObject {
    Q_OBJECT
public:
    WorkKeeper(LotteryForm& form, QString path);

    // Reads the file (one that cannot be read is set aside and told) and applies it to the
    // lotteries, the panels and the monitor; changes from then on are written.
    void restore();
    SavedWork current() const;
    void save();
    void changed();
    // Once a lottery's draws have loaded: its selection texts kept at the last run come back
    // when the newest period is still the one they were kept at.
    void putBackKeptSelections(LotteryClass& lottery);
    // After a refresh: the work is written when a monitor's record box took lines.
    void noteMonitorLogs();
    // The list changed: what is kept follows a renamed lottery and goes with a removed one (a
    // lottery added anew starts empty).
    void renamed(const std::string& oldName, const std::string& newName);
    void removed(const std::string& name);

private:
    struct KeptSelections {
        std::string period;
        std::array<std::string, kSelGroups> sel;
    };
    void restoreLottery(LotteryClass& lottery, const LotteryWork& kept);
    // Lines added to the lotteries' record boxes, all told.
    std::uint64_t logLinesAdded() const;
    void restoreTransfer(LotteryTransfer& transfer, const LotteryWork& kept);

    LotteryForm& m_form;
    QString m_path;
    QTimer* m_timer = nullptr;
    bool m_ready = false;             // restored: changes from now on are the player's
    std::uint64_t m_logLinesSeen = 0; // logLinesAdded() when the work was last noted
    // The selections of the last run, by lottery name, till the lottery's draws have loaded.
    std::map<std::string, KeptSelections> m_keptSelections;
    // What was kept of each lottery: the monitor settings of the lotteries the monitor window
    // does not watch pass through unchanged.
    SavedWork m_loaded;
};

} // namespace zuohao::gui
