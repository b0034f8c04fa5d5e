#pragma once
// The lottery object the windows and the command-line tool hold: a lottery's data
// (core/model/LotteryState.h) with its operations under their usual names. Each operation
// forwards to the layer that does the work: making/Making.h, monitor/Monitor.h,
// plan/ProcessDraw.h and plan/Plan.h, and this folder's DrawFeed.h.
#include <string>
#include <string_view>
#include <vector>

#include "core/acquire/DrawFeed.h"
#include "core/model/LotteryState.h"
#include "core/model/Result.h"
#include "core/plan/ProcessDraw.h"

namespace zuohao {

class LotteryClass : public LotteryState {
public:
    LotteryClass();

    // Wiring (owned elsewhere; may stay null).
    void setMonitorState(MonitorState* state) { monitor = state; }
    void setDrawSource(DrawSource* source) { m_feed.setSource(source); }
    void setFeedClock(FeedClock clock) { m_feed.setClock(std::move(clock)); }
    void setPollInterval(std::chrono::milliseconds interval) { m_feed.setPollInterval(interval); }

    // Condition set.
    Result<FormValue> GetMyFormSet(std::string_view infoType, int index) const;
    Result<void> LetMyFormSet(std::string_view infoType, const FormValue& formSet, int idx);
    const ConditionSet& formSet() const { return conditions; }
    ConditionSet& formSet() { return conditions; }

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
    const ItemPtr& PreItem(int k) const { return PreItems.at(std::size_t(k)); }

    // Acquisition.
    TextReport GetTxtStringArray(std::string_view txt);
    RefreshEvents GetLotteryHisroty(AskForFile ask = AskForFile::Yes);
    RefreshEvents 读取挂机文本();
    RefreshEvents GetLotteryNew();
    const FeedStatus& feedStatus() const { return m_feed.status(); }
    // Errors left by the last history load or fetch (already swallowed; for the caller's log).
    const std::vector<std::string>& lastErrors() const { return m_feed.lastErrors(); }

    // Monitor.
    void JihuaStar();
    void JiHuaDicAddNewClass(const std::string& qiStr, const std::string& haoSr);

private:
    DrawFeed m_feed;
};

} // namespace zuohao
