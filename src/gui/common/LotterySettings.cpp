#include "gui/common/LotterySettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/model/Text.h"
#include "gui/common/IniFile.h"
#include "gui/common/Settings.h"

namespace zuohao::gui {

namespace {
const QString kHead = QStringLiteral("zuohao-lotteries");
const QString kFormatKey = QStringLiteral("format");
const QString kFormat = QStringLiteral("1");
const QString kName = QStringLiteral("name");
const QString kFile = QStringLiteral("file");
const QString kNaming = QStringLiteral("naming");
const QString kPerDay = QStringLiteral("perday");
const QString kDateLabel = QStringLiteral("date");
const QString kDayCount = QStringLiteral("day");
// The file ends with "[end]" and "sections=N": a file cut short lacks it, and then its last
// section may be cut too.
const QByteArray kEnd = "[end]";
const QByteArray kSections = "sections=";
const QByteArray kSectionPrefix = "[lottery";

QString sectionName(int index) {
    return QStringLiteral("lottery%1").arg(index);
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// The file's text cut into its sections: each starts at a "[" line; the part before the first
// section is not one.
QList<QByteArray> sectionsOf(const QByteArray& bytes) {
    QList<QByteArray> out;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.trimmed().startsWith('[')) out.append(QByteArray());
        if (!out.isEmpty()) out.last() += line + '\n';
    }
    return out;
}

bool isLotterySection(const QByteArray& section) {
    return section.trimmed().startsWith(kSectionPrefix);
}

// Whether the file ends with its end section and the count of lottery sections matches.
bool whole(const QList<QByteArray>& sections) {
    if (sections.isEmpty()) return false;
    const QList<QByteArray> last = sections.last().trimmed().split('\n');
    if (last.size() != 2 || last[0].trimmed() != kEnd) return false;
    const QByteArray count = last[1].trimmed();
    if (!count.startsWith(kSections)) return false;
    bool ok = false;
    const int n = count.mid(kSections.size()).toInt(&ok);
    return ok && n == int(std::count_if(sections.begin(), sections.end(), isLotterySection));
}

std::optional<PeriodNaming> namingOf(const QString& text) {
    if (text == kDateLabel) return PeriodNaming::DateLabel;
    if (text == kDayCount) return PeriodNaming::DayCount;
    return std::nullopt;
}

// Reads one lottery section into the list; false when it cannot be (the list is then as it
// was).
bool readSection(const QByteArray& bytes, LotteryRegistry& registry) {
    // The program writes this file in UTF-8 only: other bytes are damage, not a code page.
    if (!IsValidUtf8(bytes.toStdString())) return false;
    const IniFile ini(bytes);
    const QString header = QString::fromUtf8(bytes.trimmed().split('\n').first().trimmed());
    const QString section = header.mid(1, header.size() - 2);
    bool numbered = false;
    const int index = section.mid(QStringLiteral("lottery").size()).toInt(&numbered);
    const auto file = ini.value(section, kFile);
    if (!numbered || !file) return false;
    if (index < int(kLotteryKinds.size())) {
        // A built-in lottery keeps its name and naming; only the first's file lives elsewhere.
        if (index == 0) return false;
        return bool(registry.setDrawFile(index, file->toStdString()));
    }
    const auto name = ini.value(section, kName);
    const auto naming = namingOf(ini.value(section, kNaming).value_or(QString()));
    bool perDayOk = false;
    const int perDay = ini.value(section, kPerDay).value_or(QString()).toInt(&perDayOk);
    if (!name || !naming || !perDayOk) return false;
    return bool(registry.add(name->toStdString(), file->toStdString(), *naming, perDay));
}
} // namespace

QString DefaultLotteryListPath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(dir).filePath(QStringLiteral("lotteries.ini"));
}

QByteArray LotteryListBytes(const LotteryRegistry& registry) {
    IniFile ini(QByteArray("[zuohao-lotteries]\nformat=1\n"));
    int sections = 0;
    for (int i = 1; i < registry.size(); ++i) {
        const LotteryEntry& e = *registry.at(i);
        const QString s = sectionName(i);
        if (!e.fixed) ini.setValue(s, kName, q(e.name));
        ini.setValue(s, kFile, q(e.drawFile));
        if (!e.fixed) {
            ini.setValue(s, kNaming, e.naming == PeriodNaming::DateLabel ? kDateLabel : kDayCount);
            ini.setValue(s, kPerDay, QString::number(e.periodsPerDay));
        }
        ++sections;
    }
    return ini.content() + kEnd + '\n' + kSections + QByteArray::number(sections) + '\n';
}

LotteryListParse ParseLotteryList(const QByteArray& bytes) {
    LotteryListParse out;
    if (bytes.trimmed().isEmpty()) return out;
    const QList<QByteArray> sections = sectionsOf(bytes);
    if (IniFile(bytes).value(kHead, kFormatKey) != kFormat) {
        out.foreign = true;
        return out;
    }
    // In a file cut short the last lottery section may have lost its end.
    qsizetype lastLottery = -1;
    if (!whole(sections))
        for (qsizetype i = 0; i < sections.size(); ++i)
            if (isLotterySection(sections[i])) lastLottery = i;
    for (qsizetype i = 0; i < sections.size(); ++i) {
        if (!isLotterySection(sections[i])) continue;
        if (i == lastLottery || !readSection(sections[i], out.registry))
            out.badSections.append(sections[i]);
    }
    return out;
}

LotteryListLoad LoadLotteryList(const LotteryListPaths& paths) {
    LotteryListLoad out;
    const QString aside = SetAsidePath(paths.listPath);
    const QFileInfo info(paths.listPath);
    if (info.exists()) {
        QFile f(paths.listPath);
        const bool readable = info.isFile() && f.open(QIODevice::ReadOnly);
        const LotteryListParse parsed =
            readable ? ParseLotteryList(f.readAll()) : LotteryListParse{};
        f.close();
        if (!readable || parsed.foreign) {
            // Neither lost nor read again: the whole file is moved beside itself.
            if (QFile::rename(paths.listPath, aside)) out.setAsideTo = aside;
            out.setAsideCount = 1;
        } else {
            out.registry = parsed.registry;
            if (!parsed.badSections.isEmpty()) {
                QFile bad(aside);
                if (bad.open(QIODevice::WriteOnly | QIODevice::Append)) {
                    for (const QByteArray& s : parsed.badSections)
                        bad.write(s);
                    out.setAsideTo = aside;
                }
                out.setAsideCount = int(parsed.badSections.size());
            }
        }
    }
    const QString zelkc =
        GetFromINI(kIniSection, kIniKey, IniReadPath(paths.iniPath, paths.userIniCopy));
    // Nothing to refuse: any text is a path (reading it is the draw reader's business).
    (void)out.registry.setDrawFile(0, zelkc.toStdString());
    return out;
}

LotteryListSave SaveLotteryList(const LotteryRegistry& registry, const LotteryListPaths& paths) {
    LotteryListSave out{true, {}};
    QDir().mkpath(QFileInfo(paths.listPath).absolutePath());
    QString why;
    if (!IniFile(LotteryListBytes(registry)).save(paths.listPath, &why)) {
        out.ok = false;
        out.note = QStringLiteral("彩票设置无法保存，原文件未改动：") + why;
    }
    // The shared file is written only when the first lottery's draw file changed.
    const QString first = q(registry.at(0)->drawFile);
    if (GetFromINI(kIniSection, kIniKey, IniReadPath(paths.iniPath, paths.userIniCopy)) == first)
        return out;
    const IniWriteResult shared =
        WriteIniWithFallback(kIniSection, kIniKey, first, paths.iniPath, paths.userIniCopy);
    if (!shared.ok) {
        out.ok = false;
        out.note = SettingsNotSavedText(shared);
    } else if (out.ok && shared.path != paths.iniPath) {
        out.note = SettingsInUserCopyText(shared.path);
    }
    return out;
}

QString LotteryListSetAsideText(const LotteryListLoad& load) {
    if (load.setAsideCount == 0) return {};
    if (load.setAsideTo.isEmpty())
        return QStringLiteral("彩票设置有 %1 处读不出，已略过").arg(load.setAsideCount);
    return QStringLiteral("彩票设置有 %1 处读不出，已另存为 %2，其余彩票照常")
        .arg(load.setAsideCount)
        .arg(QDir::toNativeSeparators(load.setAsideTo));
}

} // namespace zuohao::gui
