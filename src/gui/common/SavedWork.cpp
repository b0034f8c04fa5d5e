#include "gui/common/SavedWork.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/model/LotteryKind.h"
#include "core/model/LotteryName.h"
#include "core/model/LotteryRegistry.h"
#include "core/model/MonitorState.h"
#include "core/monitor/MonitorLogRecord.h"
#include "gui/common/IniFile.h"

namespace zuohao::gui {

namespace {
const QString kHead = QStringLiteral("zuohao-work");
const QString kFormatKey = QStringLiteral("format");
// Format 2 ends with "[end]" and "entries=N", N the key lines above it: a file cut short by
// another program or a disk fault lacks the end. Format 1 (no end) is read whole as before.
const QString kFormat = QStringLiteral("2");
const QString kFormatUnmarked = QStringLiteral("1");
const QByteArray kEnd = "[end]";
const QByteArray kEntries = "entries=";
const QString kKill = QStringLiteral("kill");
const QString kMonitor = QStringLiteral("monitor");
const QString kPanel = QStringLiteral("panel");
const QString kLog = QStringLiteral("LOG");
constexpr int kSegmentChoices = 31; // the monitor's lists hold 0 .. 30
constexpr int kMaxPeriodText = 20;

const QString kName = QStringLiteral("NAME");
// The built-in lotteries, whose sections the first versions wrote without a name.
constexpr int kBuiltIns = int(kLotteryKinds.size());

QString lotterySection(int i) {
    return QStringLiteral("lottery%1").arg(i);
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString bits(const bool* values, std::size_t n) {
    QString out;
    for (std::size_t i = 0; i < n; ++i)
        out += values[i] ? u'1' : u'0';
    return out;
}

// The key lines (not a section, not a comment, holding "=") of a file's text.
int keyLines(const QList<QByteArray>& lines) {
    int n = 0;
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        n += !line.startsWith('[') && !line.startsWith(';') && line.contains('=');
    }
    return n;
}

QList<QByteArray> textLines(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

// Whether a format-2 file is all there: it ends with its end section and the count matches.
bool whole(const QByteArray& bytes) {
    QList<QByteArray> lines = textLines(bytes);
    if (lines.size() < 2 || lines[lines.size() - 2].trimmed() != kEnd) return false;
    const QByteArray last = lines.last().trimmed();
    if (!last.startsWith(kEntries)) return false;
    bool ok = false;
    const int count = last.mid(kEntries.size()).toInt(&ok);
    lines.resize(lines.size() - 2);
    return ok && count == keyLines(lines);
}

// Reads the values of one section, each checked; what fails keeps its default.
class Reader {
public:
    Reader(const IniFile& ini, QString section) : m_ini(ini), m_section(std::move(section)) {}
    std::optional<QString> raw(const QString& key) const { return m_ini.value(m_section, key); }
    // Distinct digits among `allowed`, ascending; nothing when anything else is there.
    std::optional<std::string> digits(const QString& key, char highest) const {
        auto v = raw(key);
        if (!v) return std::nullopt;
        std::array<bool, 10> seen{};
        for (QChar c : *v) {
            if (c < u'0' || c > QLatin1Char(highest)) return std::nullopt;
            seen[std::size_t(c.unicode() - u'0')] = true;
        }
        std::string out;
        for (int d = 0; d < 10; ++d)
            if (seen[std::size_t(d)]) out += char('0' + d);
        return out;
    }
    std::optional<int> number(const QString& key, int lo, int hi) const {
        auto v = raw(key);
        bool ok = false;
        const int n = v ? v->toInt(&ok) : 0;
        if (!ok || n < lo || n > hi) return std::nullopt;
        return n;
    }
    template <std::size_t N> bool flags(const QString& key, std::array<bool, N>& out) const {
        auto v = raw(key);
        if (!v || v->size() != qsizetype(N)) return false;
        for (QChar c : *v)
            if (c != u'0' && c != u'1') return false;
        for (std::size_t i = 0; i < N; ++i)
            out[i] = v->at(qsizetype(i)) == u'1';
        return true;
    }
    std::optional<bool> flag(const QString& key) const {
        std::array<bool, 1> one{};
        if (!flags(key, one)) return std::nullopt;
        return one[0];
    }

private:
    const IniFile& m_ini;
    QString m_section;
};

void readConditions(const Reader& r, ConditionSet& c) {
    if (auto v = r.number(QStringLiteral("IDX"), 0, 11)) c.IDX = *v;
    if (auto v = r.flag(QStringLiteral("PLA"))) c.PLA = *v;
    if (auto v = r.flag(QStringLiteral("FAN"))) c.FAN = *v;
    r.flags(QStringLiteral("CHK"), c.CHK);
    for (std::size_t g = 0; g < c.SEL.size(); ++g) {
        if (auto v = r.digits(QStringLiteral("SEL%1").arg(g), '9')) c.SEL[g] = *v;
        if (auto v = r.digits(QStringLiteral("CNT%1").arg(g), '6'); v && !v->empty()) c.CNT[g] = *v;
    }
    for (std::size_t k = 0; k < 2; ++k) {
        if (auto v = r.digits(QStringLiteral("DAN%1").arg(k), '9')) c.DAN[k] = *v;
        if (auto v = r.digits(QStringLiteral("DCC%1").arg(k), '4')) c.DCC[k] = *v;
    }
    if (auto v = r.digits(QStringLiteral("KUA"), '9')) c.KUA = *v;
    std::array<bool, 4> lu{};
    if (r.flags(QStringLiteral("KLU"), lu))
        for (std::size_t i = 0; i < lu.size(); ++i)
            c.KLU[i] = lu[i] ? 1 : 0;
}

void writeConditions(IniFile& ini, const QString& s, const ConditionSet& c) {
    ini.setValue(s, QStringLiteral("IDX"), QString::number(c.IDX));
    ini.setValue(s, QStringLiteral("PLA"), c.PLA ? QStringLiteral("1") : QStringLiteral("0"));
    ini.setValue(s, QStringLiteral("FAN"), c.FAN ? QStringLiteral("1") : QStringLiteral("0"));
    ini.setValue(s, QStringLiteral("CHK"), bits(c.CHK.data(), c.CHK.size()));
    for (std::size_t g = 0; g < c.SEL.size(); ++g) {
        ini.setValue(s, QStringLiteral("SEL%1").arg(g), q(c.SEL[g]));
        ini.setValue(s, QStringLiteral("CNT%1").arg(g), q(c.CNT[g]));
    }
    for (std::size_t k = 0; k < 2; ++k) {
        ini.setValue(s, QStringLiteral("DAN%1").arg(k), q(c.DAN[k]));
        ini.setValue(s, QStringLiteral("DCC%1").arg(k), q(c.DCC[k]));
    }
    ini.setValue(s, QStringLiteral("KUA"), q(c.KUA));
    QString lu;
    for (int v : c.KLU)
        lu += v != 0 ? u'1' : u'0';
    ini.setValue(s, QStringLiteral("KLU"), lu);
}

// A period label or a segment length: digits only, short.
std::optional<std::string> periodText(const Reader& r, const QString& key) {
    auto v = r.raw(key);
    if (!v || v->size() > kMaxPeriodText) return std::nullopt;
    for (QChar c : *v)
        if (c < u'0' || c > u'9') return std::nullopt;
    return v->toStdString();
}

void writeMonitor(IniFile& ini, const QString& s, const LotteryWork& w) {
    for (std::size_t i = 0; i < w.segmentSettings.size(); ++i)
        ini.setValue(s, QStringLiteral("SZ%1").arg(i), QString::number(w.segmentSettings[i]));
    // No segment length and no lock period are written as nothing, as the empty boxes were.
    ini.setValue(s, QStringLiteral("ZhuoQi"),
                 w.segmentPeriod == 0 ? QString() : QString::number(w.segmentPeriod));
    ini.setValue(s, QStringLiteral("QS"),
                 w.lockPeriod.value() == 0 ? QString() : q(w.lockPeriod.text()));
    ini.setValue(s, kLog, q(MonitorLogRecord(w.monitorLog)));
}

void readMonitor(const Reader& r, LotteryWork& w) {
    for (std::size_t i = 0; i < w.segmentSettings.size(); ++i)
        if (auto v = r.number(QStringLiteral("SZ%1").arg(i), 0, kSegmentChoices - 1)) {
            w.segmentSettings[i] = *v;
            w.monitorKept = true;
        }
    if (auto v = periodText(r, QStringLiteral("ZhuoQi"))) w.segmentPeriod = SettingValue(*v);
    if (auto v = periodText(r, QStringLiteral("QS"))) w.lockPeriod = Period::parse(*v);
    if (auto v = r.raw(kLog)) w.monitorLog = ParseMonitorLogRecord(v->toStdString());
}

// A lottery's kill texts and extra digits in its own section (lottery 0's are elsewhere), only
// those it has: without them the file is as earlier versions wrote it.
const QString kKill3 = QStringLiteral("KILL3");
const QString kKill4 = QStringLiteral("KILL4");

void writeTransfer(IniFile& ini, const QString& s, const LotteryWork& w) {
    const auto put = [&](const QString& key, const std::string& value) {
        if (!value.empty()) ini.setValue(s, key, q(value));
    };
    put(kKill3, w.kill.three);
    put(kKill4, w.kill.four[2]);
    for (std::size_t k = 0; k < w.extraDigits.size(); ++k)
        put(QStringLiteral("EXT%1").arg(k), w.extraDigits[k]);
}

void readTransfer(const Reader& kill, const QString& three, const QString& four,
                  const Reader& extra, LotteryWork& w) {
    // Through the same acceptance as a paste: a list that is not one is dropped.
    if (auto v = kill.raw(three)) AcceptKillList(w.kill, v->toStdString(), 0);
    if (auto v = kill.raw(four)) AcceptKillList(w.kill, v->toStdString(), 1);
    for (std::size_t k = 0; k < w.extraDigits.size(); ++k)
        if (auto v = extra.digits(QStringLiteral("EXT%1").arg(k), '9')) w.extraDigits[k] = *v;
}

// The name kept in a section of the player's own lottery; nothing when it is no name.
std::optional<std::string> nameOf(const Reader& r) {
    auto v = r.raw(kName);
    if (!v) return std::nullopt;
    const std::string raw = v->toStdString();
    if (CheckLotteryName(raw) != LotteryNameFault::None) return std::nullopt;
    return std::string(TrimLotteryName(raw));
}

LotteryWork named(std::string name) {
    LotteryWork w;
    w.name = std::move(name);
    return w;
}

} // namespace

SavedWork::SavedWork() {
    for (const LotteryKind& kind : kLotteryKinds)
        lotteries.push_back(named(kind.name));
}

const LotteryWork* SavedWork::find(const std::string& name) const {
    for (const LotteryWork& w : lotteries)
        if (SameLotteryName(w.name, name)) return &w;
    return nullptr;
}

LotteryWork& SavedWork::lottery(const std::string& name) {
    for (LotteryWork& w : lotteries)
        if (SameLotteryName(w.name, name)) return w;
    lotteries.push_back(named(name));
    return lotteries.back();
}

QString DefaultSavedWorkPath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(dir).filePath(QStringLiteral("work.ini"));
}

QByteArray SavedWorkBytes(const SavedWork& w) {
    IniFile ini(QByteArray("[zuohao-work]\nformat=2\n"));
    // The built-in lotteries keep their places whatever the order of the list.
    std::vector<const LotteryWork*> order(std::size_t(kBuiltIns), nullptr);
    for (const LotteryWork& l : w.lotteries) {
        int builtIn = -1;
        for (int i = 0; i < kBuiltIns; ++i)
            if (SameLotteryName(l.name, kLotteryKinds[std::size_t(i)].name)) builtIn = i;
        if (builtIn >= 0)
            order[std::size_t(builtIn)] = &l;
        else if (int(order.size()) < kMaxLotteries)
            order.push_back(&l);
    }
    const LotteryWork none;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const LotteryWork& l = order[i] ? *order[i] : none;
        const QString s = lotterySection(int(i));
        writeConditions(ini, s, l.conditions);
        if (i >= std::size_t(kBuiltIns)) ini.setValue(s, kName, q(l.name));
    }
    const LotteryWork& first = order[0] ? *order[0] : none;
    ini.setValue(kKill, QStringLiteral("three"), q(first.kill.three));
    ini.setValue(kKill, QStringLiteral("four"), q(first.kill.four[2]));
    // Lottery 0's monitor in the section the first versions wrote; the others' in their own.
    writeMonitor(ini, kMonitor, order[0] ? *order[0] : none);
    ini.setValue(kMonitor, QStringLiteral("Sound"),
                 w.alarmSound ? QStringLiteral("1") : QStringLiteral("0"));
    for (std::size_t i = 0; i < order.size(); ++i) {
        const LotteryWork& l = order[i] ? *order[i] : none;
        ini.setValue(lotterySection(int(i)), QStringLiteral("SELPERIOD"), q(l.selectionPeriod));
        if (i > 0) writeMonitor(ini, lotterySection(int(i)), l);
    }
    for (std::size_t k = 0; k < first.extraDigits.size(); ++k)
        ini.setValue(kPanel, QStringLiteral("EXT%1").arg(k), q(first.extraDigits[k]));
    for (std::size_t i = 1; i < order.size(); ++i)
        writeTransfer(ini, lotterySection(int(i)), order[i] ? *order[i] : none);
    QByteArray bytes = ini.content();
    const int entries = keyLines(textLines(bytes));
    return bytes + kEnd + '\n' + kEntries + QByteArray::number(entries) + '\n';
}

std::optional<SavedWork> ParseSavedWork(const QByteArray& bytes) {
    const IniFile ini(bytes);
    const auto format = ini.value(kHead, kFormatKey);
    if (format != kFormatUnmarked && (format != kFormat || !whole(bytes))) return std::nullopt;
    SavedWork w;
    for (int i = 0; i < kMaxLotteries; ++i) {
        const Reader r(ini, lotterySection(i));
        std::string name = i < kBuiltIns ? std::string(kLotteryKinds[std::size_t(i)].name) : "";
        if (i >= kBuiltIns) {
            // A section without a usable name, or a name kept twice, is left out.
            const std::optional<std::string> kept = nameOf(r);
            if (!kept || w.find(*kept)) continue;
            name = *kept;
        }
        LotteryWork& l = w.lottery(name);
        readConditions(r, l.conditions);
        if (auto v = periodText(r, QStringLiteral("SELPERIOD"))) l.selectionPeriod = *v;
        readMonitor(i == 0 ? Reader(ini, kMonitor) : r, l);
        // Lottery 0's (and a file of an earlier version's) in the sections of the first versions.
        if (i == 0)
            readTransfer(Reader(ini, kKill), QStringLiteral("three"), QStringLiteral("four"),
                         Reader(ini, kPanel), l);
        else
            readTransfer(r, kKill3, kKill4, r, l);
    }
    if (auto v = Reader(ini, kMonitor).flag(QStringLiteral("Sound"))) w.alarmSound = *v;
    return w;
}

bool WriteSavedWork(const SavedWork& work, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return IniFile(SavedWorkBytes(work)).save(path);
}

SavedWorkLoad LoadSavedWork(const QString& path) {
    SavedWorkLoad out;
    const QFileInfo info(path);
    if (!info.exists()) return out;
    if (info.isFile()) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            out.work = ParseSavedWork(f.readAll());
            if (out.work) return out;
        }
    }
    const QString aside = SetAsidePath(path);
    if (QFile::rename(path, aside)) out.setAsideTo = aside;
    return out;
}

QString SavedWorkSetAsideText(const QString& movedTo) {
    return QStringLiteral("上次保存的做号条件读不出，已改名为 %1，条件从默认开始")
        .arg(QDir::toNativeSeparators(movedTo));
}

} // namespace zuohao::gui
