// The monitor's rows held in place (MonitorRowRing, core/model/MonitorState.h) and its record box.
#include "core/model/MonitorState.h"

namespace zuohao {

const MonitorRow* MonitorRowRing::find(Period p) const {
    if (!m_highest || p > *m_highest) return nullptr;
    // Newest first: the periods asked for are mostly recent ones.
    for (std::size_t i = m_count; i-- > 0;) {
        const MonitorRow& row = at(i);
        if (row.period == p) return &row;
    }
    return nullptr;
}

void MonitorRowRing::push(const MonitorRow& row) {
    if (m_count == kMonitorRowLimit) {
        m_rows[m_first] = row; // the oldest row's place
        m_first = slot(1);
    } else {
        m_rows[slot(m_count)] = row;
        ++m_count;
    }
    if (!m_highest || row.period > *m_highest) m_highest = row.period;
}

bool MonitorRowRing::Remove(Period p) {
    std::size_t i = 0;
    while (i < m_count && at(i).period != p)
        ++i;
    if (i == m_count) return false;
    for (; i + 1 < m_count; ++i)
        m_rows[slot(i)] = m_rows[slot(i + 1)];
    --m_count;
    if (m_count == 0) RemoveAll();
    return true;
}

void MonitorState::AddLogLine(MonitorLogLine line) {
    if (Log.size() >= kMonitorLogLimit)
        Log.erase(Log.begin(), Log.end() - std::ptrdiff_t(kMonitorLogLimit - 1));
    Log.push_back(std::move(line));
    ++LogLinesAdded;
}

} // namespace zuohao
