// zuohao-cli over an archive of two lotteries written interleaved with the same period labels:
// every reader gives the chosen lottery's draws and only those.
#include <gtest/gtest.h>

#include "support_cli_run.h"
#include "support_json.h"

using namespace clitest;

namespace {
const std::string kFirst = "腾讯分分彩", kOther = "我的 VR3 'x\"";
constexpr long long kLabel0 = 202612080001, kLabels = 60;

// Each lottery leaves out a label of its own (its gap) and numbers its draws its own way.
long long gapOf(const std::string& lot) {
    return kLabel0 + (lot == kFirst ? 9 : 29);
}

// A lottery's draws with labels in [from, to), oldest first, "PERIOD<sep>NUMBER" a line.
std::string draws(const std::string& lot, long long from, long long to, const char* sep = " ") {
    std::string s;
    char h[8];
    for (long long l = from; l < to; ++l)
        if (l != gapOf(lot)) {
            std::snprintf(h, sizeof h, "%05lld", l * (lot == kFirst ? 7919 : 104729) % 100000);
            s += std::to_string(l) + sep + h + "\n";
        }
    return s;
}

std::vector<std::string> with(std::vector<std::string> v, std::initializer_list<std::string> more) {
    v.insert(v.end(), more);
    return v;
}
} // namespace

TEST(LotteryOption, EveryCommandKeepsToTheChosenLottery) {
    TempDir dir;
    const std::string a = dir.file("a.sqlite");
    for (long long from = kLabel0; from < kLabel0 + kLabels; from += kLabels / 3)
        for (const std::string& lot : {kFirst, kOther})
            ASSERT_EQ(runCli({"archive", "import",
                              dir.write("in.csv", draws(lot, from, from + kLabels / 3, ",")),
                              "--archive", a, "--lottery=" + lot})
                          .code,
                      0);
    std::vector<std::vector<std::string>> readers{
        {"stats", "--group", "3"},
        {"plan", "--start-after", "20", "--idx", "9", "--check", "0"},
        {"monitor", "--idx", "9", "--base", "012 345 678", "--plan-length", "3"},
        {"backtest", "--idx", "9", "--dan", "0=5", "--lines"},
        {"killrate", "--idx", "9", "--dan", "0=5", "--kua", "0"},
        {"archive", "export"},
        {"archive", "gaps"}};
    for (const std::string& lot : {kFirst, kOther}) {
        const std::string all = draws(lot, kLabel0, kLabel0 + kLabels);
        const std::string seq = dir.write("seq.txt", all);
        for (const auto& r : readers) {
            const std::string want = r[1] == "export" ? all
                                     : r[1] == "gaps" ? std::to_string(gapOf(lot) - 1) + "\t" +
                                                            std::to_string(gapOf(lot) + 1) + "\t1\n"
                                                      : runCli(with(r, {"--sequence", seq})).out;
            const auto got = runCli(with(r, {"--archive", a, "--lottery", lot}));
            EXPECT_EQ(got.code, 0) << r[0] << " " << lot << got.err;
            EXPECT_EQ(got.out, want) << r[0] << " " << r[1] << " " << lot;
            if (lot == kFirst) { // the first lottery by default
                EXPECT_EQ(runCli(with(r, {"--archive", a})).out, want) << r[1];
            }
        }
    }
    // archive info lists both, in text and JSON; only the named one with --lottery.
    const auto info = runCli({"archive", "info", "--archive", a});
    for (const std::string& lot : {kFirst, kOther})
        EXPECT_NE(info.out.find("lottery\t" + lot + "\ndraws\t59\ncorrections\t0\nfirst\t" +
                                std::to_string(kLabel0) + "\nlast\t202612080060\n"),
                  std::string::npos)
            << info.out;
    const Json json = JsonReader::parse(runCli({"archive", "info", "--archive", a, "--json"}).out);
    ASSERT_EQ(json["lotteries"].items.size(), 2u);
    EXPECT_EQ(json["lotteries"][1]["lottery"].text + json["lotteries"][1]["draws"].text,
              kOther + "59");
    EXPECT_EQ(runCli({"archive", "info", "--archive", a, "--lottery", kOther}).out.find(kFirst),
              std::string::npos);

    // A lottery the archive does not hold, or a name none can hold: a usage error.
    readers.push_back({"archive", "info"});
    for (const auto& r : readers) {
        const auto unknown = runCli(with(r, {"--archive", a, "--lottery", "VR3分彩"}));
        EXPECT_EQ(unknown.code, 2) << r[0];
        EXPECT_NE(unknown.err.find("unknown lottery \"VR3分彩\": the archive " + a + " holds \"" +
                                   kFirst + "\" (59 draws), \"" + kOther + "\" (59 draws)"),
                  std::string::npos)
            << unknown.err;
        EXPECT_EQ(runCli(with(r, {"--archive", a, "--lottery", "tab\t"})).code, 2) << r[0];
    }
    EXPECT_EQ(
        runCli({"stats", "--sequence", dir.file("seq.txt"), "--lottery", kOther, "--group", "1"})
            .code,
        2);

    // An import into the second lottery, with other numbers at the same periods, replaces
    // only the second lottery's.
    const auto firstCsv = runCli({"archive", "export", "--archive", a, "--csv"}).out;
    const std::string clash = dir.write("clash.csv", "202612080001,99999\n202612080002,99999\n");
    const auto imported = runCli(
        {"archive", "import", clash, "--archive", a, "--lottery", kOther, "--prefer-import"});
    EXPECT_NE(imported.out.find("imported 0 draw(s); 0 already held; 2 corrected"),
              std::string::npos)
        << imported.out;
    EXPECT_EQ(runCli({"archive", "export", "--archive", a, "--csv"}).out, firstCsv);
    EXPECT_EQ(
        runCli({"archive", "export", "--archive", a, "--lottery", kOther, "--to", "202612080002"})
            .out,
        "202612080001 99999\n202612080002 99999\n");
}
