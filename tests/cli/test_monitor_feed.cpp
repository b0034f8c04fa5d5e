// zuohao-cli monitor and feed, run as a separate process.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../support/support_process.h"
#include "../support/support_read_file.h"

namespace {

namespace fs = std::filesystem;

class MonitorFeedDir {
public:
    MonitorFeedDir() { m_path = zuohao::testsupport::makeTempDir("zuohao-cli-mf-"); }
    ~MonitorFeedDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// Reads a file the way the draw file reader opens it (on Windows with delete sharing: a
// reader that does not share delete access would make the feed's replace wait for it).
std::string slurpFile(const std::string& path) {
    return zuohao::testing::ReadWholeFile(path);
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// Starts zuohao-cli with the arguments, stdout and stderr into files of `dir`.
void startCli(zuohao::testsupport::ChildProcess& child, const MonitorFeedDir& dir,
              const std::vector<std::string>& args) {
    child.start(ZUOHAO_CLI, args, dir.file("cli.out"), dir.file("cli.err"));
}

CliRun runCli(const MonitorFeedDir& dir, const std::vector<std::string>& args) {
    zuohao::testsupport::ChildProcess child;
    startCli(child, dir, args);
    CliRun r;
    r.code = child.running() ? child.wait() : -1;
    r.out = slurpFile(dir.file("cli.out"));
    r.err = slurpFile(dir.file("cli.err"));
    return r;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while (true) {
        std::size_t tab = line.find('\t', at);
        fields.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
        if (tab == std::string::npos) return fields;
        at = tab + 1;
    }
}

// A sequence file, oldest first: one "QISHU HAOMA" line per draw.
std::string sequence(const std::vector<std::pair<std::string, std::string>>& draws) {
    std::string t;
    for (const auto& [q, h] : draws)
        t += q + " " + h + "\n";
    return t;
}

const std::vector<std::string> kPlanSettings{"--idx",      "9", "--base",        "111",
                                             "--hits-low", "0", "--hits-high",   "10",
                                             "--trigger",  "1", "--plan-length", "3"};

std::vector<std::string> monitorArgs(const std::string& seqFile,
                                     std::vector<std::string> extra = {}) {
    std::vector<std::string> a{"monitor", "--sequence", seqFile};
    a.insert(a.end(), kPlanSettings.begin(), kPlanSettings.end());
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
}

// miss, hit, miss: the alarm at 0933; the plan of three periods then misses three times.
const std::vector<std::pair<std::string, std::string>> kMissedPlan{
    {"0931", "00999"}, {"0932", "00111"}, {"0933", "00999"},
    {"0934", "00999"}, {"0935", "00999"}, {"0936", "00999"}};

const std::string kMissedPlanRows = "931\t999\t挂\t1\t\t\t\t0\t0\n"
                                    "932\t111\t中\t0\t1\t\t\t0\t0\n"
                                    "933\t999\t挂\t1\t\t\t告警\t0\t0\n"
                                    "934\t999\t挂\t2\t\t\t\t1\t0\n"
                                    "935\t999\t挂\t3\t\t\t\t2\t0\n"
                                    "936\t999\t挂\t4\t\t\t挂\t0\t0\n";

TEST(CliMonitor, ReplayOfAllDrawsWritesRowsAndNoLog) {
    MonitorFeedDir dir;
    writeFile(dir.file("seq.txt"), sequence(kMissedPlan));
    CliRun r = runCli(dir, monitorArgs(dir.file("seq.txt")));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, kMissedPlanRows);
}

TEST(CliMonitor, LiveDrawsFeedTheRunningPlanAndLogItsEnd) {
    MonitorFeedDir dir;
    writeFile(dir.file("seq.txt"), sequence(kMissedPlan));
    // Three draws of history; the alarm plan then follows the three live draws.
    CliRun r = runCli(dir, monitorArgs(dir.file("seq.txt"), {"--live-after", "3"}));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, kMissedPlanRows + "LOG\t936期 --- 挂\n");
}

TEST(CliMonitor, LiveHitInTheSecondPlanPeriod) {
    MonitorFeedDir dir;
    writeFile(dir.file("seq.txt"), sequence({{"0931", "00999"},
                                             {"0932", "00111"},
                                             {"0933", "00999"},
                                             {"0934", "00999"},
                                             {"0935", "00111"}}));
    CliRun r = runCli(dir, monitorArgs(dir.file("seq.txt"), {"--live-after", "3"}));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "931\t999\t挂\t1\t\t\t\t0\t0\n"
                     "932\t111\t中\t0\t1\t\t\t0\t0\n"
                     "933\t999\t挂\t1\t\t\t告警\t0\t0\n"
                     "934\t999\t挂\t2\t\t\t\t1\t0\n"
                     "935\t111\t中\t0\t2\t\t中2\t2\t0\n"
                     "LOG\t935期 --- 中2\n");
}

TEST(CliMonitor, PeriodsBeforeTheLockAreBlankRows) {
    MonitorFeedDir dir;
    writeFile(dir.file("seq.txt"), sequence(kMissedPlan));
    CliRun r = runCli(dir, monitorArgs(dir.file("seq.txt"), {"--lock", "0934"}));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "931\t\t\t0\t\t\t\t0\t0\n"
                     "932\t\t\t0\t\t\t\t0\t0\n"
                     "933\t\t\t0\t\t\t\t0\t0\n"
                     "934\t999\t挂\t1\t\t\t\t0\t0\n"
                     "935\t999\t挂\t2\t\t\t\t0\t0\n"
                     "936\t999\t挂\t3\t\t\t\t0\t0\n");
}

TEST(CliMonitor, NewestHundredOf150Draws) {
    MonitorFeedDir dir;
    std::mt19937 rng(150);
    std::vector<std::pair<std::string, std::string>> draws;
    for (int i = 1; i <= 150; ++i) {
        char h[8];
        std::snprintf(h, sizeof h, "%05u", unsigned(rng() % 100000));
        draws.push_back({std::to_string(202612080000LL + i), h});
    }
    writeFile(dir.file("seq.txt"), sequence(draws));
    const std::string base = "012 123 234 345 456 567 678 789 890 901";
    CliRun r = runCli(dir, {"monitor", "--sequence", dir.file("seq.txt"), "--idx", "9", "--base",
                            base, "--segment", "10", "--hits-low", "0", "--hits-high", "3",
                            "--trigger", "1", "--plan-length", "3"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::vector<std::string>> rows;
    for (const std::string& l : splitLines(r.out))
        if (l.rfind("LOG\t", 0) != 0) rows.push_back(splitTabs(l));
    ASSERT_EQ(rows.size(), 100u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& f = rows[i];
        ASSERT_EQ(f.size(), 9u);
        const auto& [label, haoma] = draws[50 + i];
        EXPECT_EQ(f[0], label);
        EXPECT_EQ(f[1], haoma.substr(2));
        EXPECT_EQ(f[2], base.find(f[1]) != std::string::npos ? "中" : "挂") << label;
        EXPECT_EQ(f[8], (50 + i + 1) % 10 == 0 ? "1" : "0") << "segments of ten close at " << label;
    }
}

TEST(CliMonitor, DrawFileGivesItsFirst99Lines) {
    MonitorFeedDir dir;
    CliRun feed = runCli(dir, {"feed", "--out", dir.file("draws.txt"), "--count", "150"});
    ASSERT_EQ(feed.code, 0) << feed.err;
    CliRun r =
        runCli(dir, {"monitor", "--draws", dir.file("draws.txt"), "--idx", "0", "--base", "123"});
    ASSERT_EQ(r.code, 0) << r.err;
    auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 99u);
    EXPECT_EQ(splitTabs(lines.front())[0], "202612080052");
    EXPECT_EQ(splitTabs(lines.back())[0], "202612080150");
}

TEST(CliMonitor, EmptyBaseIsAUsageError) {
    MonitorFeedDir dir;
    writeFile(dir.file("seq.txt"), sequence(kMissedPlan));
    for (std::vector<std::string> base :
         {std::vector<std::string>{"--base", ""}, std::vector<std::string>{}}) {
        std::vector<std::string> args{"monitor", "--sequence", dir.file("seq.txt"), "--idx", "9"};
        args.insert(args.end(), base.begin(), base.end());
        CliRun r = runCli(dir, args);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("missing --base LIST", 0), 0u) << r.err;
    }
}

TEST(CliMonitor, HelpNamesTheOptions) {
    MonitorFeedDir dir;
    CliRun r = runCli(dir, {"--help"});
    EXPECT_EQ(r.code, 0);
    for (const char* opt : {"monitor", "--live-after", "feed", "--interval", "--seed"})
        EXPECT_NE(r.out.find(opt), std::string::npos) << opt;
}

const std::regex kFeedLine("第([0-9]+)期 开奖号码 [0-9]{5}");

// The labels of a whole feed file, newest first; empty when a line is damaged.
std::vector<long long> feedLabels(const std::string& text) {
    std::vector<long long> labels;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) return {};
        std::smatch m;
        std::string line = text.substr(at, end - at);
        if (!std::regex_match(line, m, kFeedLine)) return {};
        labels.push_back(std::stoll(m[1]));
        at = end + 2;
    }
    return labels;
}

bool countsDownByOne(const std::vector<long long>& labels) {
    for (std::size_t i = 1; i < labels.size(); ++i)
        if (labels[i] != labels[i - 1] - 1) return false;
    return !labels.empty();
}

TEST(CliFeed, NewestFirstLabelsCountUpDeterministicBySeed) {
    MonitorFeedDir dir;
    CliRun r = runCli(dir, {"feed", "--out", dir.file("a.txt")});
    ASSERT_EQ(r.code, 0) << r.err;
    auto labels = feedLabels(slurpFile(dir.file("a.txt")));
    EXPECT_GE(labels.size(), 99u);
    EXPECT_TRUE(countsDownByOne(labels));

    ASSERT_EQ(runCli(dir, {"feed", "--out", dir.file("b.txt"), "--seed", "77", "--count", "99",
                           "--start", "202701010001"})
                  .code,
              0);
    ASSERT_EQ(runCli(dir, {"feed", "--out", dir.file("c.txt"), "--seed", "77", "--count", "99",
                           "--start", "202701010001"})
                  .code,
              0);
    ASSERT_EQ(runCli(dir, {"feed", "--out", dir.file("d.txt"), "--seed", "78", "--count", "99",
                           "--start", "202701010001"})
                  .code,
              0);
    const std::string b = slurpFile(dir.file("b.txt"));
    EXPECT_EQ(b, slurpFile(dir.file("c.txt")));
    EXPECT_NE(b, slurpFile(dir.file("d.txt")));
    labels = feedLabels(b);
    ASSERT_EQ(labels.size(), 99u);
    EXPECT_EQ(labels.front(), 202701010099LL);
    EXPECT_EQ(labels.back(), 202701010001LL);
    EXPECT_TRUE(countsDownByOne(labels));
}

TEST(CliFeed, LinesLikeTheSampleFile) {
    MonitorFeedDir dir;
    ASSERT_EQ(runCli(dir, {"feed", "--out", dir.file("a.txt")}).code, 0);
    EXPECT_FALSE(feedLabels(slurpFile(ZUOHAO_TEST_DATA "/sample-draws.txt")).empty())
        << "the sample file has the shape the feed writes";
    EXPECT_FALSE(feedLabels(slurpFile(dir.file("a.txt"))).empty());
}

TEST(CliFeed, FewerThan99DrawsOrNoFileIsAUsageError) {
    MonitorFeedDir dir;
    EXPECT_EQ(runCli(dir, {"feed", "--out", dir.file("a.txt"), "--count", "98"}).code, 2);
    EXPECT_FALSE(fs::exists(dir.file("a.txt")));
    EXPECT_EQ(runCli(dir, {"feed"}).code, 2);
    EXPECT_EQ(runCli(dir, {"feed", "--out", dir.file("a.txt"), "--start", "期"}).code, 2);
}

// With --interval the feed adds a draw and replaces the file whole: a reader polling it sees
// only whole files, and new draws on top.
TEST(CliFeed, IntervalReplacesTheFileWhole) {
    MonitorFeedDir dir;
    const std::string path = dir.file("live.txt");
    zuohao::testsupport::ChildProcess child;
    startCli(child, dir,
             {"feed", "--out", path, "--count", "99", "--interval", "1", "--start", "1001"});
    ASSERT_TRUE(child.running());
    // Poll until two more draws came (a draw a second), for at most 15 seconds.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    int reads = 0, partial = 0;
    long long firstNewest = 0, lastNewest = 0;
    while (lastNewest < 1101 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (!fs::exists(path)) continue;
        ++reads;
        auto labels = feedLabels(slurpFile(path));
        if (!countsDownByOne(labels) || labels.size() < 99) {
            ++partial;
            continue;
        }
        if (!firstNewest) firstNewest = labels.front();
        lastNewest = labels.front();
    }
    child.terminate();
    child.wait();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(partial, 0) << "of " << reads << " reads";
    EXPECT_EQ(firstNewest, 1099);
    EXPECT_GE(lastNewest, 1101);
}

} // namespace
