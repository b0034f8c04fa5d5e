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

Result<FormValue> LotteryClass::GetMyFormSet(std::string_view infoType, int index) const {
    return GetFormValue(conditions, infoType, index);
}

Result<void> LotteryClass::LetMyFormSet(std::string_view infoType, const FormValue& formSet,
                                        int idx) {
    return LetFormValue(conditions, infoType, formSet, idx);
}

Result<std::string> LotteryClass::GetSuoshuiDadi() {
    auto r = RenewBaseSet(*this);
    if (!r) return r.failure();
    // The monitor window shows the restart's outcome (no base set to start from).
    if (MonitorFollowsBaseSet(*this)) (void)RestartMonitor(*this);
    return conditions.DAD.text();
}

Result<void> LotteryClass::ResultSelStr(int checkIdx) {
    return RebuildSelection(*this, checkIdx);
}

Result<void> LotteryClass::ResultAutoSelStr(const LotteryItem* itemCls, bool isAuto, int jian) {
    return RebuildSelections(*this, itemCls, isAuto, jian);
}

void LotteryClass::AddNewPlan(LotteryItem& item) {
    WritePlanLine(*this, item);
}

bool LotteryClass::GetHasChecked() const {
    return AnySelection(conditions);
}

std::string LotteryClass::weizhiHAO(std::string_view haoma) const {
    return PositionNumbers(conditions.IDX, haoma);
}

std::string LotteryClass::GetNextQiShu() const {
    return NextPeriodLabel(MyIndex, NewQi);
}

DrawOutcome LotteryClass::ProcessDraw(const std::string& qishu, const std::string& haoma) {
    return EnterDraw(*this, qishu, haoma);
}

TextReport LotteryClass::GetTxtStringArray(std::string_view txt) {
    return EnterDrawText(*this, txt);
}

RefreshEvents LotteryClass::GetLotteryHisroty(AskForFile ask) {
    return m_feed.LoadHistory(*this, ask);
}

RefreshEvents LotteryClass::读取挂机文本() {
    return m_feed.ReadFile(*this);
}

RefreshEvents LotteryClass::GetLotteryNew() {
    return m_feed.FetchNew(*this);
}

void LotteryClass::JihuaStar() {
    if (monitor) ReplayMonitor(*this, *monitor);
}

void LotteryClass::JiHuaDicAddNewClass(const std::string& qiStr, const std::string& haoSr) {
    if (monitor) AddMonitorPeriod(*monitor, qiStr, haoSr);
}

} // namespace zuohao
