#include "core/acquire/LotteryClass.h"

#include "core/making/Making.h"
#include "core/model/Groups.h"
#include "core/model/LotteryKind.h"
#include "core/monitor/Monitor.h"
#include "core/plan/Plan.h"

namespace zuohao {

LotteryClass::LotteryClass() {
    BuildNumberTables();
}

LotteryClass::LotteryClass(LotteryState state) : m_state(std::move(state)) {
    BuildNumberTables();
}

Result<FormValue> LotteryClass::GetMyFormSet(std::string_view infoType, int index) const {
    return GetFormValue(m_state.conditions, infoType, index);
}

Result<void> LotteryClass::LetMyFormSet(std::string_view infoType, const FormValue& formSet,
                                        int idx) {
    return LetFormValue(m_state.conditions, infoType, formSet, idx);
}

Result<std::string> LotteryClass::GetSuoshuiDadi() {
    auto r = RenewBaseSet(m_state);
    if (!r) return r.failure();
    // The monitor window shows the restart's outcome (no base set to start from).
    if (MonitorFollowsBaseSet(m_state)) (void)RestartMonitor(m_state);
    return m_state.conditions.DAD.text();
}

Result<void> LotteryClass::ResultSelStr(int checkIdx) {
    return RebuildSelection(m_state, checkIdx);
}

Result<void> LotteryClass::ResultAutoSelStr(const LotteryItem* itemCls, bool isAuto, int jian) {
    return RebuildSelections(m_state, itemCls, isAuto, jian);
}

void LotteryClass::setBaseSet(NumberList base) {
    m_state.conditions.DAD = std::move(base);
}

void LotteryClass::restoreConditions(const ConditionSet& kept) {
    ConditionSet& c = m_state.conditions;
    const NumberList dad = c.DAD, fji = c.FJI;
    const std::string plt = c.PLT;
    c = kept;
    c.DAD = dad, c.FJI = fji, c.PLT = plt;
}

bool LotteryClass::restoreSelection(const std::string& period,
                                    const std::array<std::string, kSelGroups>& sel) {
    if (m_state.NewQi != period) return false;
    m_state.conditions.SEL = sel;
    return true;
}

Result<std::string> LotteryClass::StartPlan() {
    return zuohao::StartPlan(m_state);
}

Result<std::string> LotteryClass::RenewPlan() {
    return zuohao::RenewPlan(m_state);
}

void LotteryClass::StopPlan() {
    zuohao::StopPlan(m_state);
}

void LotteryClass::AddNewPlan(LotteryItem& item) {
    WritePlanLine(m_state, item);
}

bool LotteryClass::GetHasChecked() const {
    return AnySelection(m_state.conditions);
}

std::string LotteryClass::weizhiHAO(std::string_view haoma) const {
    return PositionNumbers(m_state.conditions.IDX, haoma);
}

std::string LotteryClass::GetNextQiShu() const {
    return NextPeriodLabel(m_state.Naming, m_state.PeriodsPerDay, m_state.NewQi);
}

void LotteryClass::setIndex(int index) {
    m_state.MyIndex = index;
    if (const LotteryKind* kind = LotteryKindAt(index))
        setPeriodNaming(kind->naming, kind->periodsPerDay);
}

DrawOutcome LotteryClass::ProcessDraw(const std::string& qishu, const std::string& haoma) {
    return EnterDraw(m_state, qishu, haoma);
}

TextReport LotteryClass::GetTxtStringArray(std::string_view txt) {
    return EnterDrawText(m_state, txt);
}

bool LotteryClass::markHistoryLoaded() {
    m_state.IsGetHis = m_state.LotteryDic.Count() > 0;
    return m_state.IsGetHis;
}

RefreshEvents LotteryClass::GetLotteryHisroty(AskForFile ask) {
    return m_feed.LoadHistory(m_state, ask);
}

RefreshEvents LotteryClass::读取挂机文本() {
    return m_feed.ReadFile(m_state);
}

RefreshEvents LotteryClass::GetLotteryNew() {
    return m_feed.FetchNew(m_state);
}

void LotteryClass::JihuaStar() {
    ReplayMonitor(m_state, m_state.monitor);
}

void LotteryClass::JiHuaDicAddNewClass(const std::string& qiStr, const std::string& haoSr) {
    AddMonitorPeriod(m_state.monitor, Period::parse(qiStr), haoSr);
}

Result<void> LotteryClass::ReashStar(const NumberList& mainBase) {
    return zuohao::ReashStar(m_state.monitor, m_state, mainBase);
}

Result<void> LotteryClass::ToggleMonitoring(const NumberList& mainBase) {
    return zuohao::ToggleMonitoring(m_state.monitor, m_state, mainBase);
}

} // namespace zuohao
