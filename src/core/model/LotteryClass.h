#pragma once
// The lottery object: its recent draws, plan state and condition set, and the operations
// through which draws enter, plans are scored and base sets are made.
#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/ConditionSet.h"
#include "core/model/LotteryItem.h"
#include "core/model/OrderedDict.h"
#include "core/model/Result.h"

namespace zuohao {

struct MonitorState;
class DrawSource;

// What a lottery object tells its window. Every method has a do-nothing default.
class LotteryObserver {
public:
    virtual ~LotteryObserver() = default;
    // New draws (or a loaded history) are there to be shown.
    virtual void OnLotteryRefresh(int myIdx) { (void)myIdx; }
    // A status text for the status line.
    virtual void ShowLabelTxt(const std::string& text) { (void)text; }
    // The draw file gave no text: ask the user for the file (and reload if one is chosen).
    virtual void AskForDrawFile() {}
    // The monitor window's ReashStar: restart the monitor's rating over the draws held
    // (after a reduction, or after new draws, while the monitor is switched on).
    virtual void MonitorRestart() {}
    // The monitor window's Playsound: sound the alarm if the last evaluation raised one.
    virtual void PlayAlarm() {}
    // A new draw is now held (one call per draw that enters, in the order they enter).
    virtual void OnDrawEntered(int myIdx, const std::string& qishu, const std::string& haoma) {
        (void)myIdx, (void)qishu, (void)haoma;
    }
    // A stable read showed another number for a held period; the held draws from that period
    // on were rebuilt with the new number.
    virtual void OnDrawCorrected(int myIdx, const std::string& qishu, const std::string& oldHaoma,
                                 const std::string& newHaoma) {
        (void)myIdx, (void)qishu, (void)oldHaoma, (void)newHaoma;
    }
};

// The result of offering one draw to the pipeline.
struct DrawOutcome {
    bool added = false;          // the period was new and is now held
    std::string error;           // a failure inside the pipeline (the draw is still held)
    std::vector<Error> failures; // each failure of `error`, with its code and subject
};

// Summary of a parsed draw text.
struct TextReport {
    int lines = 0;   // considered lines
    int draws = 0;   // new draws that entered
    int skipped = 0; // considered lines that are not a draw
    std::vector<std::string> errors;
};

using ItemPtr = std::shared_ptr<LotteryItem>;

// Draws LotteryDic holds: the newest 100.
inline constexpr std::size_t kHeldDraws = 100;
// Newest periods kept in LotteryDic_Jiankong for the monitor: two weeks of one-minute draws.
inline constexpr std::size_t kMonitorPeriods = 20000;
// Polls in a row without usable text before the status line turns red.
inline constexpr int kFailedPollsBeforeAlarm = 10;

// What the draw feed has to say after a poll or a load, for the status line.
struct FeedStatus {
    std::string notice; // empty when all is well
    bool alarm = false; // the file has given nothing usable for kFailedPollsBeforeAlarm polls
};

// Whether a history load that finds no text asks the user for the file (start-up and the
// path button) or only says so in the status line (the refresh timer).
enum class AskForFile { Yes, No };

class LotteryClass {
public:
    LotteryClass();

    std::string LotteryName;
    int MyIndex = 0;
    std::string NewQi;
    std::string HisUrl;
    std::string NewUrl;
    OrderedDict<ItemPtr> LotteryDic;
    OrderedDict<std::string> LotteryDic_Jiankong;
    bool IsGetHis = false;
    bool IsGetNew = false;
    bool IsHasPlan = false;
    std::string StartPlanQi;
    ItemPtr PreItem01;
    ItemPtr PreItem10;

    // Wiring (owned elsewhere; may stay null).
    void setObserver(LotteryObserver* observer) { m_observer = observer; }
    void setMonitorState(MonitorState* state) { m_monitor = state; }
    void setDrawSource(DrawSource* source) { m_source = source; }
    LotteryObserver* observer() const { return m_observer; }
    MonitorState* monitorState() const { return m_monitor; }

    // Condition set.
    Result<FormValue> GetMyFormSet(std::string_view infoType, int index) const;
    Result<void> LetMyFormSet(std::string_view infoType, const FormValue& formSet, int idx);
    const ConditionSet& formSet() const { return m_set; }
    ConditionSet& formSet() { return m_set; }

    // Making.
    Result<std::string> GetSuoshuiDadi();
    Result<void> ResultSelStr(int checkIdx);
    Result<void> ResultAutoSelStr(const LotteryItem* itemCls, bool isAuto, int jian);

    // Plan.
    void AddNewPlan(LotteryItem& item);
    bool GetHasChecked() const;
    std::string weizhiHAO(std::string_view haoma) const;
    std::string GetNextQiShu() const;
    DrawOutcome ProcessDraw(const std::string& qishu, const std::string& haoma);
    const ItemPtr& PreItem(int k) const { return m_preItems.at(std::size_t(k)); }

    // Acquisition.
    TextReport GetTxtStringArray(std::string_view txt);
    void GetLotteryHisroty(AskForFile ask = AskForFile::Yes);
    void 读取挂机文本();
    void GetLotteryNew();
    const FeedStatus& feedStatus() const { return m_feed; }

    // Monitor.
    void JihuaStar();
    void JiHuaDicAddNewClass(const std::string& qiStr, const std::string& haoSr);

    // Errors left by the last history load or fetch (already swallowed; for the caller's log).
    const std::vector<std::string>& lastErrors() const { return m_lastErrors; }

private:
    // What the pipeline had before a draw entered, so that the held draws from a period on
    // can be rebuilt when the file corrects one of them.
    struct DrawSnapshot {
        std::string qishu;
        std::string newQi;
        std::array<std::string, kSelGroups> sel;
        std::string dad, fji;
        ItemPtr pre01, pre10;
        std::array<ItemPtr, 4> preItems;
        std::string prePlanTxt; // the previous draw's plan line before this draw scored it
    };

    void LoadHistorySafe();
    void rememberBeforeDraw(const std::string& qishu);
    void takeText(const std::string& text);
    void noteNoText();
    using DrawPairs = std::vector<std::pair<std::string, std::string>>;
    void rebuildFrom(const DrawPairs& corrected, const DrawPairs& filled, const DrawPairs& fresh);
    void setNotice(std::string text, bool sticky);

    ConditionSet m_set;
    std::array<ItemPtr, 4> m_preItems;
    LotteryObserver* m_observer = nullptr;
    MonitorState* m_monitor = nullptr;
    DrawSource* m_source = nullptr;
    std::vector<std::string> m_lastErrors;
    std::string m_heldBackText; // the last read that was not whole, to be believed if read again
    std::string m_takenText;    // the last text believed: read again, it changes nothing
    std::deque<DrawSnapshot> m_snapshots; // one per draw of LotteryDic, oldest first
    const std::vector<std::string>* m_quietLabels = nullptr; // re-entered, not new, in a rebuild
    FeedStatus m_feed;
    bool m_stickyNotice = false; // a gap or correction: kept until new draws enter cleanly
    int m_failedPolls = 0;
    AskForFile m_ask = AskForFile::No;
};

} // namespace zuohao
