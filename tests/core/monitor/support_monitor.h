#pragma once
// A monitor over one lottery object, fed period by period with hits and misses.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/acquire/LotteryClass.h"
#include "core/model/Captions.h"
#include "core/monitor/Monitor.h"

namespace zuohao::testing {

// Position numbers that hit the base set "111" and one that misses it.
inline constexpr const char* kHitNumbers = "111";
inline constexpr const char* kMissNumbers = "999";

// A monitor row with its texts as the grid shows them.
struct ShownRow {
    std::string Qishu1, Haoma1, Zgua, Zsu, Jhzg;
    int Yluo, JHcount, XHxain, TOW_yluo;
};
inline ShownRow Shown(const MonitorRow& r) {
    return {MonitorRowPeriodText(r),
            MonitorRowNumberText(r),
            VerdictText(r.Zgua),
            HitCountText(r.Zsu),
            PlanMarkText(r.Jhzg),
            r.Yluo,
            r.JHcount,
            r.XHxain,
            r.TOW_yluo};
}

// A base set as the player would type it.
inline NumberList Numbers(std::string_view text) {
    return NumberList::read(text, false).list;
}

struct MonitorRig {
    LotteryClass lottery;
    MonitorState& state = lottery.monitor(); // the lottery's own monitor
    int nextKey = 1;

    MonitorRig() { state.MonitorBase = Numbers("111"); }
    // S0 low hits, S1 high hits, S2 plan length, S3 trigger miss value, segment length.
    void settings(std::string s0, std::string s1, std::string s2, std::string s3,
                  std::string segment = "") {
        // Read once, as the monitor window reads what the player picks.
        state.SegmentSettings = {SettingValue(s0), SettingValue(s1), SettingValue(s2),
                                 SettingValue(s3)};
        state.SegmentPeriod = SettingValue(segment);
    }
    // Evaluates one period per character of `seq`: H a hit, M a miss. Keys count up from 1.
    void feed(std::string_view seq) {
        for (char c : seq)
            lottery.JiHuaDicAddNewClass(std::to_string(nextKey++),
                                        c == 'H' ? kHitNumbers : kMissNumbers);
    }
    ShownRow row(int key) const {
        const MonitorRow* r = state.MonitorRows.find(Period(key));
        if (!r) throw std::out_of_range("no monitor row " + std::to_string(key));
        return Shown(*r);
    }
    // The plan column of every row held, oldest first.
    std::vector<std::string> planColumn() const {
        std::vector<std::string> out;
        for (const MonitorRow& r : state.MonitorRows)
            out.push_back(PlanMarkText(r.Jhzg));
        return out;
    }
};

} // namespace zuohao::testing
