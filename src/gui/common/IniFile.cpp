#include "gui/common/IniFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "core/model/Text.h"
#include "core/platform/ReadOnlyFile.h"
#include "gui/common/ChineseText.h"

namespace zuohao::gui {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
constexpr qint64 kMaxIniBytes = 1 << 20; // a settings file is small; more is not read

#ifdef Q_OS_WIN
constexpr bool kNewFileUtf8 = false;
constexpr const char* kNativeEol = "\r\n";
#else
constexpr bool kNewFileUtf8 = true;
constexpr const char* kNativeEol = "\n";
#endif

} // namespace

// Not UTF-8: GB18030, through the system on Windows (Qt has no such codec there without ICU).
QString IniFile::decode(const QByteArray& bytes) const {
    return m_utf8 ? QString::fromUtf8(bytes) : DecodeChinese(bytes);
}

QByteArray IniFile::encode(const QString& text) const {
    return m_utf8 ? text.toUtf8() : EncodeChinese(text);
}

IniFile::IniFile(const QByteArray& content) : m_eol(kNativeEol) {
    QByteArray data = content;
    if (data.startsWith(kUtf8Bom)) {
        m_bom = true;
        data.remove(0, kUtf8Bom.size());
    }
    m_utf8 = data.isEmpty() ? (kNewFileUtf8 || m_bom) : IsValidUtf8(data.toStdString());
    bool eolSeen = false;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = start;
        while (end < data.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        Line line{data.mid(start, end - start), {}};
        if (end < data.size()) {
            const bool crlf = data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n';
            line.eol = crlf ? QByteArray("\r\n") : QByteArray(1, data[end]);
            if (!eolSeen) m_eol = line.eol;
            eolSeen = true;
            end += line.eol.size();
        }
        m_lines.append(line);
        start = end;
    }
}

std::optional<IniFile> IniFile::load(const QString& path) {
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return IniFile();
    platform::ReadOnlyFile f;
    if (!f.open(path.toStdString())) return std::nullopt;
    QByteArray bytes;
    char buf[16384];
    while (bytes.size() < kMaxIniBytes) {
        const std::optional<std::size_t> got = f.read(buf, sizeof buf);
        if (!got) return std::nullopt;
        if (*got == 0) break;
        bytes.append(buf, qsizetype(*got));
    }
    if (bytes.size() >= kMaxIniBytes) return std::nullopt; // not a settings file
    return IniFile(bytes);
}

// The section named by a "[name]" line (blanks inside the brackets ignored); nothing for
// other lines.
std::optional<QString> IniFile::sectionName(const QByteArray& line) const {
    const QByteArray t = line.trimmed();
    if (!t.startsWith('[')) return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0) return std::nullopt;
    return decode(t.mid(1, close - 1)).trimmed();
}

// The key and value of a "key=value" line; nothing for comments, blank lines and lines
// without "=".
std::optional<IniFile::KeyValue> IniFile::keyLine(const QByteArray& line) const {
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('[')) return std::nullopt;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0) return std::nullopt;
    KeyValue kl{decode(t.left(eq)).trimmed(), decode(t.mid(eq + 1)).trimmed()};
    if (kl.key.isEmpty()) return std::nullopt;
    const QString& v = kl.value;
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        kl.value = v.mid(1, v.size() - 2);
    return kl;
}

IniFile::Range IniFile::findSection(const QString& section) const {
    Range r;
    const QString wanted = section.trimmed();
    for (int i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i].text);
        if (!name) continue;
        if (r.header >= 0) {
            r.end = i;
            return r;
        }
        if (name->compare(wanted, Qt::CaseInsensitive) == 0) r.header = i;
    }
    r.end = int(m_lines.size());
    return r;
}

int IniFile::findKey(const Range& range, const QString& key) const {
    if (range.header < 0) return -1;
    const QString wanted = key.trimmed();
    for (int i = range.header + 1; i < range.end; ++i) {
        const auto kl = keyLine(m_lines[i].text);
        if (kl && kl->key.compare(wanted, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const int line = findKey(findSection(section), key);
    if (line < 0) return std::nullopt;
    return keyLine(m_lines[line].text)->value;
}

void IniFile::insertLine(int at, const QByteArray& text) {
    // The line before a new one must end; a new last line ends like the file's lines do.
    if (at > 0 && m_lines[at - 1].eol.isEmpty()) m_lines[at - 1].eol = m_eol;
    m_lines.insert(at, Line{text, m_eol});
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const QByteArray entry = encode(key.trimmed() + u'=' + value);
    const Range r = findSection(section);
    if (r.header < 0) {
        insertLine(int(m_lines.size()), encode(u'[' + section.trimmed() + u']'));
        insertLine(int(m_lines.size()), entry);
        return;
    }
    if (const int line = findKey(r, key); line >= 0) {
        m_lines[line].text = entry;
        return;
    }
    // A new key follows the last non-blank line of its section, ahead of the blank lines
    // that separate it from the next section.
    int at = r.end;
    while (at > r.header + 1 && m_lines[at - 1].text.trimmed().isEmpty())
        --at;
    insertLine(at, entry);
}

QByteArray IniFile::content() const {
    QByteArray out;
    if (m_bom) out += kUtf8Bom;
    for (const Line& l : m_lines)
        out += l.text + l.eol;
    return out;
}

namespace {
// Asks the system to put the file's bytes on the disk; false when it reports an error (a full
// disk may only show here, or at the close).
bool syncToDisk(QFileDevice& f) {
#ifdef Q_OS_WIN
    const auto h = reinterpret_cast<HANDLE>(_get_osfhandle(f.handle()));
    return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h) != 0;
#else
    return ::fsync(f.handle()) == 0;
#endif
}
} // namespace

bool IniFile::save(const QString& path, QString* why) const {
    QSaveFile f(path);
    // Never written in place: where no new file can be made beside it, nothing is written.
    f.setDirectWriteFallback(false);
    auto failed = [&](const QString& reason) {
        if (why) *why = reason;
        f.cancelWriting();
        return false;
    };
    if (!f.open(QIODevice::WriteOnly)) return failed(f.errorString());
    const QByteArray bytes = content();
    // Every byte must be written, flushed and on the disk before the new file replaces the
    // old one: QSaveFile renames even when only its final flush failed.
    if (f.write(bytes) != bytes.size() || !f.flush()) return failed(f.errorString());
    if (!syncToDisk(f)) return failed(qt_error_string(-1)); // errno, or the Windows error
    if (!f.commit()) {
        if (why) *why = f.errorString();
        return false;
    }
    return true;
}

QString SetAsidePath(const QString& path) {
    return path + QStringLiteral(".bad-") +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

} // namespace zuohao::gui
