#pragma once
// The lottery object the windows and the command-line tool hold: a lottery's data
// (core/model/LotteryState.h), kept inside, with its operations under their usual names. The
// windows and the tool read the data through state() and a few named queries and change it
// only through the operations below. Each operation forwards to the layer that does the work:
// making/Making.h, monitor/Monitor.h, plan/ProcessDraw.h and plan/Plan.h, and this folder's
// DrawFeed.h.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/acquire/DrawFeed.h"
#include "core/model/LotteryState.h"
#include "core/model/Result.h"
#include "core/plan/ProcessDraw.h"

namespace zuohao {

class LotteryClass {
public:
    LotteryClass();
    // A lottery object over data made elsewhere (a saved or hand-made state); the draw feed
    // starts unwired.
    explicit LotteryClass(LotteryState state);

    // Reading. state() is everything; the queries name what the windows ask most.
    const LotteryState& state() const { return m_state; }
    const std::string& name() const { return m_state.LotteryName; }
    int index() const { return m_state.MyIndex; }
    // Period label of the newest processed draw (NewQi); empty before the first.
    const std::string& newestPeriod() const { return m_state.NewQi; }
    // The newest processed draw (PreItem01); null before the first.
    const ItemPtr& newestDraw() const { return m_state.PreItem01; }
    // The held draws, oldest first, the newest kHeldDraws (LotteryDic).
    const OrderedDict<ItemPtr>& heldDraws() const { return m_state.LotteryDic; }
    // Every processed draw's number by period, for the monitor (LotteryDic_Jiankong).
    const DrawNumbers& monitorPeriods() const { return m_state.LotteryDic_Jiankong; }
    bool hasHistory() const { return m_state.IsGetHis; }
    bool hasPlan() const { return m_state.IsHasPlan; }
    // A draw was processed since clearNewDraw().
    bool hasNewDraw() const { return m_state.IsGetNew; }

    // Identity: the row of the lottery table this object stands for.
    void setName(std::string name) { m_state.LotteryName = std::move(name); }
    // A row of the built-in table also takes that row's period naming.
    void setIndex(int index);
    void setPeriodNaming(PeriodNaming naming, int periodsPerDay) {
        m_state.Naming = naming;
        m_state.PeriodsPerDay = periodsPerDay;
    }

    // Wiring (owned elsewhere; may stay null). A lottery without a draw source receives no
    // draws: its history loads empty and its polls read nothing.
    void setDrawSource(DrawSource* source) { m_feed.setSource(source); }
    void setFeedClock(FeedClock clock) { m_feed.setClock(std::move(clock)); }
    void setPollInterval(std::chrono::milliseconds interval) { m_feed.setPollInterval(interval); }

    // Condition set.
    Result<FormValue> GetMyFormSet(std::string_view infoType, int index) const;
    Result<void> LetMyFormSet(std::string_view infoType, const FormValue& formSet, int idx);
    const ConditionSet& formSet() const { return m_state.conditions; }
    // The base set as the player typed it (read once from its box), or emptied when a plan
    // is cleared (清除计划); the complement of the last reduction stays as it was.
    void setBaseSet(NumberList base);
    void clearBaseSet() { setBaseSet(NumberList()); }
    // The position group (IDX) of the base set and of plans.
    void setPositionIndex(int idx) { m_state.conditions.IDX = idx; }
    // Takes the kept conditions but the base set, its complement and the plan text, which
    // start afresh.
    void restoreConditions(const ConditionSet& kept);
    // Puts back selections kept for `period` when it is still the newest; a draw that came
    // since derives them anew. Returns whether they were put back.
    bool restoreSelection(const std::string& period,
                          const std::array<std::string, kSelGroups>& sel);

    // Making. GetSuoshuiDadi returns the new base set's text; while the monitor is on it is
    // restarted from it.
    Result<std::string> GetSuoshuiDadi();
    Result<void> ResultSelStr(int checkIdx);
    Result<void> ResultAutoSelStr(const LotteryItem* itemCls, bool isAuto, int jian);

    // Plan.
    void AddNewPlan(LotteryItem& item);
    bool GetHasChecked() const;
    std::string weizhiHAO(std::string_view haoma) const;
    std::string GetNextQiShu() const;
    DrawOutcome ProcessDraw(const std::string& qishu, const std::string& haoma);
    const ItemPtr& PreItem(int k) const { return m_state.PreItems.at(std::size_t(k)); }
    // The plan buttons (core/plan/Plan.h): start from the newest draw, renew, end.
    Result<std::string> StartPlan();
    Result<std::string> RenewPlan();
    void StopPlan();

    // Acquisition.
    TextReport GetTxtStringArray(std::string_view txt);
    RefreshEvents GetLotteryHisroty(AskForFile ask = AskForFile::Yes);
    RefreshEvents 读取挂机文本();
    RefreshEvents GetLotteryNew();
    // The held draws as loaded history, as a load does; returns hasHistory().
    bool markHistoryLoaded();
    // Starts watching for the next processed draw (hasNewDraw()).
    void clearNewDraw() { m_state.IsGetNew = false; }
    const FeedStatus& feedStatus() const { return m_feed.status(); }
    // Errors left by the last history load or fetch (already swallowed; for the caller's log).
    const std::vector<std::string>& lastErrors() const { return m_feed.lastErrors(); }

    // Monitor: each lottery has its own, which its draws advance.
    const MonitorState& monitor() const { return m_state.monitor; }
    MonitorState& monitor() { return m_state.monitor; }
    void JihuaStar();
    void JiHuaDicAddNewClass(const std::string& qiStr, const std::string& haoSr);
    // Switches the monitor on and replays this lottery's periods from `mainBase` (or the
    // monitor plan's base set); the start/stop button switches it off when on.
    Result<void> ReashStar(const NumberList& mainBase);
    Result<void> ToggleMonitoring(const NumberList& mainBase);

private:
    LotteryState m_state;
    DrawFeed m_feed;
};

} // namespace zuohao
