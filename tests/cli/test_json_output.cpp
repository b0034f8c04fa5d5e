// zuohao-cli --json: one valid document per command, with every figure of the text output,
// digit for digit; and the writer's escaping.
#include <gtest/gtest.h>

#include "cli/Json.h"
#include "support_cli_run.h"
#include "support_json.h"

using namespace clitest;

namespace {

const std::string kSample = std::string(ZUOHAO_TEST_DATA) + "/sample-draws.txt";

std::string orEmpty(const Json& v) {
    return v.isNull() ? "" : v.text;
}

// "name\tvalue" lines of the text whose name is a field of the document.
void expectNamedFields(const std::vector<std::string>& lines, const Json& j) {
    int seen = 0;
    for (const std::string& l : lines) {
        const auto f = splitTabs(l);
        if (f.size() == 2 && j.members.count(f[0])) {
            EXPECT_EQ(j[f[0]].text, f[1]) << f[0];
            ++seen;
        }
    }
    EXPECT_GT(seen, 0);
}

void checkStats(const RunResult& t, const Json& j) {
    const auto lines = t.lines();
    ASSERT_EQ(j["draws"].items.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto f = splitTabs(lines[i]);
        const Json& d = j["draws"][i];
        ASSERT_EQ(f.size(), 2 + d["cells"].items.size());
        EXPECT_EQ(f[0] + f[1], d["period"].text + d["number"].text);
        for (std::size_t c = 2; c < f.size(); ++c)
            EXPECT_EQ(f[c],
                      (d["hits"][c - 2].text == "true" ? "*" : "") + orEmpty(d["cells"][c - 2]));
    }
}

void checkPlan(const RunResult& t, const Json& j) {
    auto lines = t.lines();
    ASSERT_EQ(lines.back(), "SEL\t" + j["selections"][0].text + "\t" + j["selections"][1].text +
                                "\t" + j["selections"][2].text + "\t" + j["selections"][3].text +
                                "\t" + j["selections"][4].text);
    lines.pop_back();
    ASSERT_EQ(j["lines"].items.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Json& p = j["lines"][i];
        const std::string result = p["result"].text;
        EXPECT_EQ(lines[i], p["draw"].text + "\t" + p["period"].text + "  " + p["size"].text +
                                "注  【" + p["group"].text + "】  " +
                                (result == "hit"    ? "中"
                                 : result == "miss" ? "挂"
                                                    : "进行中..."));
    }
}

void checkMonitor(const RunResult& t, const Json& j) {
    std::size_t rows = 0, logs = 0;
    for (const std::string& l : t.lines()) {
        if (l.rfind("LOG\t", 0) == 0) {
            EXPECT_EQ(l.substr(4), j["log"][logs++].text);
            continue;
        }
        const Json& r = j["rows"][rows++];
        const std::string zg = r["result"].text == "hit" ? "中" : "挂";
        EXPECT_EQ(l, r["period"].text + "\t" + r["number"].text + "\t" + zg + "\t" +
                         r["miss_run"].text + "\t" + orEmpty(r["segment_hits"]) + "\t" +
                         orEmpty(r["second"]) + "\t" + orEmpty(r["plan"]) + "\t" +
                         r["plan_period"].text + "\t" + r["segment_end"].text);
    }
    EXPECT_EQ(rows, j["rows"].items.size());
    EXPECT_EQ(logs, j["log"].items.size());
    EXPECT_GT(logs, 0u);
}

void checkBacktest(const RunResult& t, const Json& j) {
    expectNamedFields(t.lines(), j);
    std::size_t n = 0;
    for (const std::string& l : t.lines())
        if (l.rfind("LINE\t", 0) == 0) {
            const Json& x = j["lines"][n++];
            EXPECT_EQ(l, "LINE\t" + x["period"].text + "\t" + x["number"].text + "\t" +
                             x["size"].text + "\t" + (x["hit"].text == "true" ? "中" : "挂"));
        }
    EXPECT_EQ(n, j.members.count("lines") ? j["lines"].items.size() : 0u);
}

// Table rows after a header line, field by field against the named members of each item.
void expectRows(const std::vector<std::string>& lines, std::size_t first, const Json& items,
                const std::vector<std::string>& names) {
    ASSERT_EQ(lines.size() - first, items.items.size());
    for (std::size_t i = first; i < lines.size(); ++i) {
        const auto f = splitTabs(lines[i]);
        ASSERT_EQ(f.size(), names.size());
        for (std::size_t k = 0; k < names.size(); ++k)
            EXPECT_EQ(f[k], items[i - first][names[k]].text) << names[k];
    }
}

void checkKillRate(const RunResult& t, const Json& j) {
    expectRows(t.lines(), 1, j["rows"],
               {"condition", "detail", "killed", "draws", "kill_rate", "chance_rate"});
}

void checkRisk(const RunResult& t, const Json& j) {
    expectNamedFields(t.lines(), j);
    expectRows(t.lines(), 4, j["rows"], {"k", "chance_within", "cost"});
}

void checkInfo(const RunResult& t, const Json& j) {
    std::string expected = "archive\t" + j["archive"].text + "\nbytes\t" + j["bytes"].text + "\n";
    for (const Json& l : j["lotteries"].items) {
        for (const char* k : {"lottery", "draws", "corrections", "first", "last"})
            expected += std::string(k) + "\t" + l[k].text + "\n";
        for (const Json& d : l["days"].items)
            expected += "day\t" + d["day"].text + "\t" + d["draws"].text + "\n";
    }
    EXPECT_EQ(t.out, expected);
}

void checkGaps(const RunResult& t, const Json& j) {
    expectRows(t.lines(), 0, j["gaps"], {"after", "before", "missing"});
    EXPECT_EQ(t.err,
              j["gap_count"].text + " gap(s), " + j["missing"].text + " period(s) missing\n");
}

TEST(JsonOutput, EveryFigureEqualsTheTextOutput) {
    TempDir dir;
    const std::string a = (dir.path() / "a.sqlite").string();
    ASSERT_EQ(runCli({"archive", "import", kSample, "--archive", a}).code, 0);
    ASSERT_EQ(runCli({"archive", "import", "--archive", a,
                      dir.write("gaps.txt", "202612080001 11111\n202612080005 22222\n"
                                            "202612080007 33333\n")})
                  .code,
              0);
    const std::string base =
        runCli({"reduce", "--idx", "9", "--dan", "0=5", "--kua", "0"}).lines()[0];
    const struct {
        std::vector<std::string> args;
        void (*check)(const RunResult&, const Json&);
    } cases[] = {
        {{"stats", "--draws", kSample, "--group", "9"}, checkStats},
        {{"stats", "--archive", a, "--last", "30", "--group", "11"}, checkStats},
        {{"plan", "--draws", kSample, "--start-after", "60", "--idx", "9", "--check", "0",
          "--check", "14"},
         checkPlan},
        {{"monitor", "--draws", kSample, "--idx", "9", "--base", base, "--segment", "5",
          "--hits-low", "0", "--hits-high", "5", "--plan-length", "3", "--trigger", "0",
          "--live-after", "40"},
         checkMonitor},
        {{"backtest", "--draws", kSample, "--idx", "9", "--kua", "0", "--lines"}, checkBacktest},
        {{"backtest", "--draws", kSample, "--idx", "10", "--check", "0", "--auto"}, checkBacktest},
        {{"killrate", "--draws", kSample, "--idx", "9", "--dan", "0=5", "--route", "3"},
         checkKillRate},
        {{"risk", "--size", "400", "--space", "1000", "--periods", "1440"}, checkRisk},
        {{"archive", "info", "--archive", a}, checkInfo},
        {{"archive", "gaps", "--archive", a}, checkGaps},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const RunResult text = runCli(c.args);
        auto withJson = c.args;
        withJson.push_back("--json");
        const RunResult json = runCli(withJson);
        ASSERT_EQ(text.code, 0) << text.err;
        ASSERT_EQ(json.code, 0) << json.err;
        ASSERT_EQ(json.out.back(), '\n');
        try {
            const Json doc = JsonReader::parse(json.out);
            EXPECT_EQ(doc["version"].text, "1");
            EXPECT_EQ(doc["command"].text,
                      c.args[0] == "archive" ? "archive " + c.args[1] : c.args[0]);
            c.check(text, doc);
        } catch (const std::exception& e) { // bad JSON, or a field missing
            ADD_FAILURE() << e.what() << "\n" << json.out.substr(0, 300);
        }
    }
}

TEST(JsonOutput, StringsAreEscapedAndStayValid) {
    const std::string raw =
        std::string("a\"b\\c\n\t\x01\x1f") + "\x7f" + "腾讯" + "\xff" + "\xe8\xbf";
    const std::string quoted = zuohao::cli::JsonQuoted(raw);
    EXPECT_EQ(quoted, "\"a\\\"b\\\\c\\n\\t\\u0001\\u001f\x7f腾讯\\ufffd\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonReader::parse(quoted).text,
              "a\"b\\c\n\t\x01\x1f\x7f腾讯\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    zuohao::cli::JsonWriter w;
    w.beginObject().key("n").number("0.4000").key("bad").number("01").key("e").beginArray();
    EXPECT_EQ(w.endArray().endObject().text(), "{\"n\":0.4000,\"bad\":\"01\",\"e\":[]}\n");
}

} // namespace
