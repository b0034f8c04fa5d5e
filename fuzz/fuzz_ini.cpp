// libFuzzer target: the settings file. The input is a settings file. Read and written back
// unchanged it is byte for byte the same; after the path is set, the path reads back, every
// line of the file but the one replaced is still there in its order with its own line end,
// and a second reading gives the same bytes.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "gui/common/IniFile.h"
#include "support_fuzz.h"

using zuohao::gui::IniFile;

namespace {
QList<QByteArray> linesOf(const QByteArray& b) {
    QList<QByteArray> out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < b.size(); ++i)
        if (b[i] == '\n' || (b[i] == '\r' && (i + 1 >= b.size() || b[i + 1] != '\n'))) {
            out.append(b.mid(start, i + 1 - start));
            start = i + 1;
        }
    if (start < b.size()) out.append(b.mid(start));
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    IniFile ini(bytes);
    FUZZ_CHECK(ini.content() == bytes);
    const QString path = QStringLiteral("D:\\挂机\\开奖.txt");
    ini.setValue(QStringLiteral("网址"), QStringLiteral("zelkc"), path);
    const QByteArray after = ini.content();
    FUZZ_CHECK(IniFile(after).content() == after);
    FUZZ_CHECK(IniFile(after).value(QStringLiteral("网址"), QStringLiteral("zelkc")) == path);
    // Every old line, but at most one replaced and the last one's added line end, is kept
    // in order: the longest common subsequence of the old and new lines misses at most one.
    const QList<QByteArray> before = linesOf(bytes), now = linesOf(after);
    const qsizetype n = before.size(), m = now.size();
    if (n * m > 1000000) return 0; // thousands of lines: the table would be too big
    auto same = [&](qsizetype i, qsizetype j) {
        return now[j] == before[i] || (i == n - 1 && now[j].startsWith(before[i]));
    };
    std::vector<std::vector<int>> lcs(std::size_t(n + 1), std::vector<int>(std::size_t(m + 1)));
    for (qsizetype i = n - 1; i >= 0; --i)
        for (qsizetype j = m - 1; j >= 0; --j)
            lcs[i][j] = same(i, j) ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    const qsizetype missed = n - lcs[0][0];
    FUZZ_CHECK(missed <= 1);
    return 0;
}
