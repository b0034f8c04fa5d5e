#pragma once
// An initialisation file (sections in brackets, key=value lines, ";" comments) read and
// changed the way the Windows profile calls do it, without touching anything else in it:
// other sections, keys, comments, blank lines and their order stay byte for byte.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace zuohao::gui {

class IniFile {
public:
    // Parses the bytes of a file; empty bytes give an empty file.
    explicit IniFile(const QByteArray& content = {});

    // Reads a file; a missing file reads as empty, an unreadable one (or one that is no
    // regular file: a pipe, a device, a folder) gives nothing.
    static std::optional<IniFile> load(const QString& path);

    // The value of a key (section and key compared without regard to case, blanks around
    // the value and one pair of enclosing quotes removed); nothing when absent.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets a key: an existing key line is replaced in place, a new key goes after the last
    // entry of its section, a new section is appended at the end.
    void setValue(const QString& section, const QString& key, const QString& value);

    // The file's bytes as they would be written.
    QByteArray content() const;

    // Writes the file by replacing it in one step with a new one that has been written whole
    // and synced to the disk; false, with the reason in `why`, when that cannot be done (the old
    // file is then left as it was: it is never written in place).
    bool save(const QString& path, QString* why = nullptr) const;

    // The file's text encoding: UTF-8 when its bytes are valid UTF-8, else GB18030 (the code
    // page of the Windows programs that share the file). A new file takes the system code
    // page on Windows and UTF-8 elsewhere.
    bool isUtf8() const { return m_utf8; }
    QString decode(const QByteArray& bytes) const;
    QByteArray encode(const QString& text) const;

private:
    struct Range {
        int header = -1; // line of "[section]", -1 when the section is missing
        int end = 0;     // first line after the section
    };
    struct KeyValue {
        QString key;
        QString value;
    };
    std::optional<QString> sectionName(const QByteArray& line) const;
    std::optional<KeyValue> keyLine(const QByteArray& line) const;
    void insertLine(int at, const QByteArray& text);
    Range findSection(const QString& section) const;
    int findKey(const Range& range, const QString& key) const;

    struct Line {
        QByteArray text;
        QByteArray eol; // its own line end: CR LF, LF, a lone CR or none (the last line)
    };
    QList<Line> m_lines;
    QByteArray m_eol; // the line end new lines get: the file's first one
    bool m_bom = false;
    bool m_utf8 = true;
};

// Where a settings file that cannot be used is moved (or its unreadable parts copied): beside
// it, named "<file>.bad-<yyyyMMdd-HHmmss>", so that nothing of it is lost.
QString SetAsidePath(const QString& path);

} // namespace zuohao::gui
