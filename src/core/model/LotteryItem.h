#pragma once
// The draw record: period label, draw number, the statistics of its twelve position
// groups and the plan line of its period. The same record type carries a monitor row.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/model/Cell.h"
#include "core/model/GridLayout.h"
#include "core/model/NumberTables.h"

namespace zuohao {

struct MonitorState;

// A statistics cell as stored: empty, a miss count or a hit mark of its own index.
struct StatCell {
    enum Kind : std::uint8_t { Empty, Number, Mark };
    std::uint8_t kind = Empty;
    std::int32_t value = 0; // the count, or the marked index

    static StatCell number(int v) { return {Number, v}; }
    static StatCell markOf(int index) { return {Mark, index}; }
    int numeric() const { return kind == Number ? value : 0; }
    Cell toCell() const;
};

// Statistics of one position group of one draw.
struct SanmaRecord {
    std::uint16_t num = 0; // value of STR: index into the number tables
    bool four = false;     // four-digit group
    std::array<StatCell, 10> H3Y{}, HYL{}, CYL{}, WYL{};
    std::array<StatCell, 4> R3A{}, SMA{}, RHA{}, RCA{};
    std::array<std::int16_t, 10> HHO{};
    std::array<char, 10> hot{};
    bool hasHot = false;

    std::string_view STR() const;
    std::string_view WEI() const;
    std::string_view REH() const;
    std::string_view REC() const;
    std::string_view R3H() const;
    std::string_view HotOrder() const { return hasHot ? std::string_view(hot.data(), 10) : ""; }
    DigitMask strMask() const;
    DigitMask weiMask() const;
    DigitMask rehMask() const;
    DigitMask recMask() const;
    DigitMask r3hMask() const;
};

// Value read by a statistics key: nothing, a text, or a copy of cells.
using SanmaValue = std::variant<std::monostate, std::string, std::vector<Cell>>;

// Statistics row of a draw for one group: cells 1 .. kLastColumn (cell 0 unused), laid out
// as core/model/GridLayout.h says.
using GridRow = std::array<Cell, kGridColumns>;

// The ten digits ordered by count (absolute values), largest first, ties ascending.
std::string DigitOrderByCount(const std::array<std::int16_t, 10>& counts);

class LotteryItem {
public:
    std::string Qishu;
    std::string Haoma;
    // Monitor row fields.
    std::string Qishu1;
    std::string Haoma1;
    std::string PlanTxt;
    std::string Zgua;
    int Yluo = 0;
    std::string Zsu;
    std::string TowJ;
    std::string Jhzg;
    int JHcount = 0;
    int XHxain = 0;
    int TOW_yluo = 0;

    // Fills STR, WEI, REH, REC and R3H of every group from Haoma.
    void ResetHaomaInfo();
    SanmaValue GetSanmaInfo(int index, std::string_view sanmaType) const;
    void CountHotNumber(std::array<std::int16_t, 10>& priArr, std::string_view putStr,
                        std::string_view countType, bool isPlus, int idx);
    void SetSanmaInfo(const LotteryItem& pri01, const LotteryItem* pri10,
                      const std::array<const LotteryItem*, 4>& arrPri);
    void SetPlanTxt(std::string_view qi, int weiID, long long zhu);
    void ResultPlan(bool isGua);
    GridRow GetGridArray(int weiIndex) const;
    // Evaluates one monitor period on this (new) row.
    void jishanJH(MonitorState& state, std::string_view haoSr, std::string_view qiStr);

    const SanmaRecord& group(int g) const;

private:
    std::array<SanmaRecord, 12> m_groups{};
};

} // namespace zuohao
