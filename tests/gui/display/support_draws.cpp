#include "support_draws.h"

#include <QFile>
#include <QStringList>

#include "core/acquire/LineRule.h"

namespace zuohao::test {

std::vector<DrawLine> SampleDraws() {
    QFile file(QStringLiteral(ZUOHAO_TEST_DATA "/sample-draws.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    // The line rule looks at 99 lines at a time, newest line first in the file: read the
    // file in pieces of 99 lines from its end so that every line is seen, oldest first.
    std::vector<DrawLine> draws;
    qsizetype end = lines.size();
    while (end > 0) {
        const qsizetype begin = std::max<qsizetype>(0, end - kDrawFileLines);
        const QString piece = lines.mid(begin, end - begin).join(QLatin1Char('\n'));
        for (auto& d : ParseDrawText(piece.toStdString()).draws)
            draws.push_back(std::move(d));
        end = begin;
    }
    return draws;
}

int FeedSampleDraws(LotteryClass& cls, int count) {
    int entered = 0;
    const auto draws = SampleDraws();
    for (int i = 0; i < count && i < int(draws.size()); ++i)
        if (cls.ProcessDraw(draws[std::size_t(i)].qishu, draws[std::size_t(i)].haoma).added)
            ++entered;
    return entered;
}

void StartPlanOnBase(LotteryClass& cls, std::string base) {
    cls.setBaseSet(NumberList::read(base, false).list);
    EditState(cls, [](LotteryState& s) {
        s.IsHasPlan = true;
        s.StartPlanQi = s.NewQi;
    });
    cls.AddNewPlan(*cls.newestDraw());
}

std::vector<ItemPtr> HeldDraws(const LotteryClass& cls) {
    std::vector<ItemPtr> items;
    for (const auto& entry : cls.heldDraws())
        items.push_back(entry.second);
    return items;
}

} // namespace zuohao::test
