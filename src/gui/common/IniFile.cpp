#include "gui/common/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace zuohao::gui {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

#ifdef Q_OS_WIN
constexpr auto kEncoding = QStringConverter::System;
constexpr const char* kNativeEol = "\r\n";
#else
constexpr auto kEncoding = QStringConverter::Utf8;
constexpr const char* kNativeEol = "\n";
#endif

// The section named by a "[name]" line (blanks inside the brackets ignored); nothing for
// other lines.
std::optional<QString> sectionName(const QByteArray& line) {
    const QByteArray t = line.trimmed();
    if (!t.startsWith('[')) return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0) return std::nullopt;
    return IniFile::decode(t.mid(1, close - 1)).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
};

// The key and value of a "key=value" line; nothing for comments, blank lines and lines
// without "=".
std::optional<KeyLine> keyLine(const QByteArray& line) {
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('[')) return std::nullopt;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0) return std::nullopt;
    KeyLine kl{IniFile::decode(t.left(eq)).trimmed(), IniFile::decode(t.mid(eq + 1)).trimmed()};
    if (kl.key.isEmpty()) return std::nullopt;
    const QString& v = kl.value;
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        kl.value = v.mid(1, v.size() - 2);
    return kl;
}

} // namespace

QString IniFile::decode(const QByteArray& bytes) {
    QStringDecoder dec(kEncoding);
    return dec.decode(bytes);
}

QByteArray IniFile::encode(const QString& text) {
    QStringEncoder enc(kEncoding);
    return enc.encode(text);
}

IniFile::IniFile(const QByteArray& content) : m_eol(kNativeEol) {
    QByteArray data = content;
    if (data.startsWith(kUtf8Bom)) {
        m_bom = true;
        data.remove(0, kUtf8Bom.size());
    }
    if (data.isEmpty()) return;
    if (data.contains("\r\n"))
        m_eol = "\r\n";
    else if (data.contains('\n'))
        m_eol = "\n";
    m_finalEol = data.endsWith('\n');
    m_lines = data.split('\n');
    if (m_finalEol) m_lines.removeLast();
    for (QByteArray& l : m_lines)
        if (l.endsWith('\r')) l.chop(1);
}

std::optional<IniFile> IniFile::load(const QString& path) {
    QFile f(path);
    if (!f.exists()) return IniFile();
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return IniFile(f.readAll());
}

IniFile::Range IniFile::findSection(const QString& section) const {
    Range r;
    const QString wanted = section.trimmed();
    for (int i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i]);
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
        const auto kl = keyLine(m_lines[i]);
        if (kl && kl->key.compare(wanted, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const int line = findKey(findSection(section), key);
    if (line < 0) return std::nullopt;
    return keyLine(m_lines[line])->value;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const QByteArray entry = encode(key.trimmed() + u'=' + value);
    const Range r = findSection(section);
    if (r.header < 0) {
        m_lines.append(encode(u'[' + section.trimmed() + u']'));
        m_lines.append(entry);
        m_finalEol = true;
        return;
    }
    if (const int line = findKey(r, key); line >= 0) {
        m_lines[line] = entry;
        return;
    }
    // A new key follows the last non-blank line of its section, ahead of the blank lines
    // that separate it from the next section.
    int at = r.end;
    while (at > r.header + 1 && m_lines[at - 1].trimmed().isEmpty())
        --at;
    m_lines.insert(at, entry);
    if (at == m_lines.size() - 1) m_finalEol = true;
}

QByteArray IniFile::content() const {
    QByteArray out;
    if (m_bom) out += kUtf8Bom;
    for (int i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i];
        if (i + 1 < m_lines.size() || m_finalEol) out += m_eol;
    }
    return out;
}

bool IniFile::save(const QString& path) const {
    QSaveFile f(path);
    // Where no temporary file can be made beside it, an existing file is written in place.
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = content();
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace zuohao::gui
