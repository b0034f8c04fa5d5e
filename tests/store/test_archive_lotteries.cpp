// Several lotteries in one archive: every read keeps to its lottery, the held lotteries are
// listed with their counts, import marks belong to their lottery, and names are data.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "store/ArchiveDrawProvider.h"
#include "store/DrawArchive.h"
#include "support_archive.h"

using namespace zuohao::store;
using storetest::openOrDie;
using storetest::TempDir;

namespace {
const std::string kFirst = kDefaultLottery;
// A player's own name, with the characters SQL text would trip over.
const std::string kOther = "我的彩 'x\"; DROP TABLE draw;--";

// Both lotteries use the same period labels; each holds some the other does not.
const std::vector<std::string> kFirstLabels{"202612081438", "202612081439", "202612081440",
                                            "202612090001"};
const std::vector<std::string> kOtherLabels{"202612081438", "202612081440", "202612090001",
                                            "202612090003", "202612100001"};
const std::string kCorrectedLabel = "202612090001"; // corrected in kOther only
const std::string kCorrectedNumber = "27777";

// The number a lottery's draw is written with: its own first digit, the label's last four.
std::string numberOf(const std::string& lottery, const std::string& label) {
    return (lottery == kFirst ? "1" : "2") + label.substr(label.size() - 4);
}

// What the archive should hold for `lottery` at `label`, as "label number".
std::string held(const std::string& lottery, const std::string& label) {
    const bool corrected = lottery == kOther && label == kCorrectedLabel;
    return label + " " + (corrected ? kCorrectedNumber : numberOf(lottery, label));
}

std::vector<std::string> heldOf(const std::string& lottery, std::vector<std::string> labels) {
    for (std::string& l : labels)
        l = held(lottery, l);
    return labels;
}

std::vector<std::string> shown(const zuohao::Result<std::vector<ArchivedDraw>>& r) {
    std::vector<std::string> out;
    for (const ArchivedDraw& d : r.value())
        out.push_back(d.qishu + " " + d.haoma);
    return out;
}

// The two lotteries written interleaved, a draw of each in turn, then one correction.
std::unique_ptr<Archive> twoLotteries(const std::string& path) {
    auto a = openOrDie(path);
    std::map<std::string, std::vector<std::string>> byLabel;
    for (const std::string& l : kFirstLabels)
        byLabel[l].push_back(kFirst);
    for (const std::string& l : kOtherLabels)
        byLabel[l].push_back(kOther);
    for (const auto& [label, lotteries] : byLabel)
        for (const std::string& lot : lotteries)
            if (!a->add(lot, {DrawIn{label, numberOf(lot, label)}}, "feed")) std::abort();
    if (!a->correct(kOther, kCorrectedLabel, kCorrectedNumber, "feed")) std::abort();
    return a;
}

struct QueryCase {
    const char* name;
    std::function<std::vector<std::string>(Archive&, const std::string&)> query;
    std::vector<std::string> first, other;
};
} // namespace

TEST(ArchiveLotteries, EveryReadReturnsOnlyItsLotterysDraws) {
    TempDir dir;
    auto a = twoLotteries(dir.file("a.sqlite"));
    const std::string path = dir.file("a.sqlite");
    const std::vector<QueryCase> cases{
        {"range", [](Archive& x, const std::string& l) { return shown(x.range(l)); },
         heldOf(kFirst, kFirstLabels), heldOf(kOther, kOtherLabels)},
        {"range bounded",
         [](Archive& x, const std::string& l) {
             return shown(x.range(l, "202612081440", "202612090003"));
         },
         heldOf(kFirst, {"202612081440", "202612090001"}),
         heldOf(kOther, {"202612081440", "202612090001", "202612090003"})},
        {"newest", [](Archive& x, const std::string& l) { return shown(x.newest(l, 2)); },
         heldOf(kFirst, {"202612081440", "202612090001"}),
         heldOf(kOther, {"202612090003", "202612100001"})},
        {"before",
         [](Archive& x, const std::string& l) { return shown(x.before(l, 202612090003, 10)); },
         heldOf(kFirst, {"202612090001", "202612081440", "202612081439", "202612081438"}),
         heldOf(kOther, {"202612090001", "202612081440", "202612081438"})},
        {"after",
         [](Archive& x, const std::string& l) {
             return shown(x.after(l, 202612081438, 202612100001, 2));
         },
         heldOf(kFirst, {"202612081439", "202612081440"}),
         heldOf(kOther, {"202612081440", "202612090001"})},
        {"day", [](Archive& x, const std::string& l) { return shown(x.day(l, "2026-12-09")); },
         heldOf(kFirst, {"202612090001"}), heldOf(kOther, {"202612090001", "202612090003"})},
        {"gaps",
         [](Archive& x, const std::string& l) {
             std::vector<std::string> out;
             const auto gaps = x.gaps(l);
             for (const Gap& g : gaps.value())
                 out.push_back(g.afterQishu + "-" + g.beforeQishu + ":" +
                               std::to_string(g.missing));
             return out;
         },
         {},
         {"202612081438-202612081440:1", "202612090001-202612090003:1",
          "202612090003-202612100001:1437"}},
        {"counts per day",
         [](Archive& x, const std::string& l) {
             std::vector<std::string> out;
             const auto counts = x.countsPerDay(l);
             for (const DayCount& d : counts.value())
                 out.push_back(d.day + ":" + std::to_string(d.draws));
             return out;
         },
         {"2026-12-09:1", "2026-12-08:3"},
         {"2026-12-10:1", "2026-12-09:2", "2026-12-08:2"}},
        {"days",
         [](Archive& x, const std::string& l) { return x.days(l).value(); },
         {"2026-12-09", "2026-12-08"},
         {"2026-12-10", "2026-12-09", "2026-12-08"}},
        {"corrections",
         [](Archive& x, const std::string& l) {
             std::vector<std::string> out;
             const auto corrections = x.corrections(l);
             for (const Correction& c : corrections.value())
                 out.push_back(c.qishu + " " + c.oldHaoma + ">" + c.newHaoma);
             return out;
         },
         {},
         {kCorrectedLabel + " " + numberOf(kOther, kCorrectedLabel) + ">" + kCorrectedNumber}},
        {"draw provider",
         [&path](Archive&, const std::string& l) {
             std::vector<std::string> out;
             const auto draws = ArchiveDraws(path, l)(0);
             for (const auto& d : draws.value())
                 out.push_back(d.qishu + " " + d.haoma);
             return out;
         },
         heldOf(kFirst, kFirstLabels), heldOf(kOther, kOtherLabels)},
    };
    for (const QueryCase& c : cases) {
        EXPECT_EQ(c.query(*a, kFirst), c.first) << c.name;
        EXPECT_EQ(c.query(*a, kOther), c.other) << c.name;
        EXPECT_TRUE(c.query(*a, "VR3分彩").empty()) << c.name; // a lottery it does not hold
    }
}

TEST(ArchiveLotteries, TheHeldLotteriesAreListedWithTheirCounts) {
    TempDir dir;
    auto a = twoLotteries(dir.file("a.sqlite"));
    a.reset();
    // A reader sees what the writer wrote, in the order the lotteries were first written.
    auto look = openOrDie(dir.file("a.sqlite"), nullptr, OpenMode::Look);
    const auto held = look->heldLotteries().value();
    ASSERT_EQ(held.size(), 2u);
    const std::tuple<std::string, std::int64_t, std::int64_t, std::string, std::string> want[]{
        {kFirst, 4, 0, "202612081438", "202612090001"},
        {kOther, 5, 1, "202612081438", "202612100001"}};
    for (std::size_t i = 0; i < held.size(); ++i)
        EXPECT_EQ(std::tie(held[i].lottery, held[i].draws, held[i].corrections, held[i].firstQishu,
                           held[i].lastQishu),
                  want[i])
            << i;
    EXPECT_EQ(look->info()->lotteries.size(), 2u);
    EXPECT_EQ(look->lotteries().value(), (std::vector<std::string>{kFirst, kOther}));
}

TEST(ArchiveLotteries, AnImportMarkBelongsToItsLottery) {
    TempDir dir;
    auto a = twoLotteries(dir.file("a.sqlite"));
    const std::string file = "/data/backup.csv|120|7|99";
    const ImportMark firstMark{file, 100}, otherMark{file, 40};
    ASSERT_TRUE(a->add(kFirst, {DrawIn{"202612100002", "12345"}}, "import",
                       OnConflict::KeepArchived, {}, &firstMark));
    EXPECT_EQ(a->importMark(kFirst, file).value(), 100);
    EXPECT_EQ(a->importMark(kOther, file).value(), 0); // the same file, another lottery
    EXPECT_EQ(a->importMark("VR3分彩", file).value(), 0);
    ASSERT_TRUE(a->add(kOther, {DrawIn{"202612100002", "23456"}}, "import",
                       OnConflict::KeepArchived, {}, &otherMark));
    ASSERT_TRUE(a->clearImportMark(kFirst, file));
    EXPECT_EQ(a->importMark(kFirst, file).value(), 0);
    EXPECT_EQ(a->importMark(kOther, file).value(), 40);
}

TEST(ArchiveLotteries, NamesAreTextOfLimitedLengthWithoutControls) {
    std::string longest;
    for (std::size_t i = 0; i < kMaxLotteryNameChars; ++i)
        longest += "彩";
    const std::pair<std::string, bool> names[]{
        {kFirst, true},
        {"VR3分彩", true},
        {kOther, true},
        {"Lotto 5/90 (night)", true},
        {longest, true},
        {"", false},
        {longest + "x", false},
        {"bad\xFFutf8", false},
        {"\xC0\x80", false},  // an overlong NUL
        {"tab\there", false}, // would break a tab-separated listing
        {"two\nlines", false},
        {"del\x7F", false},
        {"next\xC2\x85line", false}, // U+0085, a C1 control
        {std::string("nul\0in", 6), false},
    };
    TempDir dir;
    auto a = openOrDie(dir.file("a.sqlite"));
    for (const auto& [name, ok] : names) {
        EXPECT_EQ(LotteryNameProblem(name).empty(), ok) << name;
        const auto r = a->add(name, {DrawIn{"202612080001", "12345"}}, "test");
        EXPECT_EQ(bool(r), ok) << name;
        if (!ok) {
            EXPECT_EQ(a->lastTrouble(), ArchiveTrouble::Refused) << name;
        }
        // A name is kept as given and finds its draws again.
        EXPECT_EQ(a->range(name)->size(), ok ? 1u : 0u) << name;
    }
    EXPECT_EQ(a->heldLotteries()->size(), 5u); // nothing of a refused name was written
}
