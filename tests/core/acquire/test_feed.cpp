// The draw feed: a file written the way the betting program writes it, replaced whole.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "../../support/support_read_file.h"
#include "core/acquire/DrawSource.h"
#include "core/acquire/Feed.h"
#include "core/acquire/LineRule.h"
#include "support_files.h"

namespace zuohao {
namespace {

using testing::TempDir;

// Reads the file the way the draw file reader opens it (on Windows with delete sharing: a
// reader that does not share delete access would make the feed's replace wait for it).
std::string slurp(const std::string& path) {
    return zuohao::testing::ReadWholeFile(path);
}

// Splits a whole feed file into its lines; false when a line is not a draw line ending in
// CR LF (a partial or damaged file).
bool feedLines(const std::string& text, std::vector<std::string>& lines) {
    static const std::regex kLine("第[0-9]+期 开奖号码 [0-9]{5}");
    lines.clear();
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) return false;
        lines.push_back(text.substr(at, end - at));
        if (!std::regex_match(lines.back(), kLine)) return false;
        at = end + 2;
    }
    return !lines.empty();
}

TEST(Feed, NewestFirstWithLabelsCountingUp) {
    TempDir dir;
    FeedWriter feed(dir.file("draws.txt"), 7, "202612080001");
    EXPECT_EQ(feed.newestLabel(), "");
    feed.addDraws(120);
    EXPECT_EQ(feed.size(), 120u);
    EXPECT_EQ(feed.newestLabel(), "202612080120");
    ASSERT_TRUE(feed.write().ok());

    std::vector<std::string> lines;
    ASSERT_TRUE(feedLines(slurp(dir.file("draws.txt")), lines));
    ASSERT_EQ(lines.size(), 120u);
    EXPECT_EQ(lines.front().rfind("第202612080120期 开奖号码 ", 0), 0u);
    EXPECT_EQ(lines.back().rfind("第202612080001期 开奖号码 ", 0), 0u);

    auto head = ReadDrawFileHead(dir.file("draws.txt"));
    ASSERT_TRUE(head.has_value());
    ParsedDrawText p = ParseDrawText(*head);
    ASSERT_EQ(p.draws.size(), 99u);
    for (std::size_t i = 0; i < p.draws.size(); ++i)
        EXPECT_EQ(p.draws[i].qishu, std::to_string(202612080022LL + long(i)));
}

TEST(Feed, SameSeedSameDraws) {
    TempDir dir;
    FeedWriter a(dir.file("a.txt"), 11, "1"), b(dir.file("b.txt"), 11, "1"),
        c(dir.file("c.txt"), 12, "1");
    for (FeedWriter* f : {&a, &b, &c}) {
        f->addDraws(100);
        ASSERT_TRUE(f->write().ok());
    }
    EXPECT_EQ(slurp(dir.file("a.txt")), slurp(dir.file("b.txt")));
    EXPECT_NE(slurp(dir.file("a.txt")), slurp(dir.file("c.txt")));
    // Adding in pieces gives the same draws as adding at once.
    FeedWriter d(dir.file("d.txt"), 11, "1");
    d.addDraws(40);
    d.addDraws(60);
    ASSERT_TRUE(d.write().ok());
    EXPECT_EQ(slurp(dir.file("a.txt")), slurp(dir.file("d.txt")));
}

TEST(Feed, KeepsTheNewest200) {
    TempDir dir;
    FeedWriter feed(dir.file("draws.txt"), 1, "1");
    feed.addDraws(250);
    EXPECT_EQ(feed.size(), FeedWriter::kKeep);
    ASSERT_TRUE(feed.write().ok());
    std::vector<std::string> lines;
    ASSERT_TRUE(feedLines(slurp(dir.file("draws.txt")), lines));
    ASSERT_EQ(lines.size(), 200u);
    EXPECT_EQ(lines.back().rfind("第51期", 0), 0u);
}

TEST(Feed, WriteLeavesNoTemporaryFileAndReportsFailure) {
    TempDir dir;
    FeedWriter feed(dir.file("draws.txt"), 1, "1");
    feed.addDraws(99);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(feed.write().ok());
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++files;
        EXPECT_EQ(e.path().filename(), "draws.txt");
    }
    EXPECT_EQ(files, 1);

    FeedWriter nowhere(dir.file("no-such-dir/draws.txt"), 1, "1");
    nowhere.addDraws(99);
    auto r = nowhere.write();
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.error().empty());
}

// A reader that reads the file again and again while the feed replaces it sees a whole
// file every time: every line complete, 99 to 200 lines, newest first.
TEST(Feed, AReaderNeverSeesAPartialFile) {
    TempDir dir;
    const std::string path = dir.file("draws.txt");
    FeedWriter feed(path, 5, "202612080001");
    feed.addDraws(99);
    ASSERT_TRUE(feed.write().ok());
    std::atomic<bool> done{false};
    std::atomic<int> writeFailures{0};
    std::thread writer([&] {
        for (int i = 0; i < 300; ++i) {
            feed.addDraws(1);
            if (!feed.write().ok()) ++writeFailures;
        }
        done = true;
    });
    int reads = 0, bad = 0;
    std::vector<std::string> lines;
    while (!done) {
        ++reads;
        if (!feedLines(slurp(path), lines) || lines.size() < 99 || lines.size() > 200) ++bad;
    }
    writer.join();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(bad, 0) << "of " << reads << " reads";
    EXPECT_EQ(writeFailures, 0);
    ASSERT_TRUE(feedLines(slurp(path), lines));
    EXPECT_EQ(lines.size(), 200u);
    EXPECT_EQ(lines.front().rfind("第202612080399期", 0), 0u);
}

} // namespace
} // namespace zuohao
