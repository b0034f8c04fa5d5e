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

    // Reads a file; a missing file reads as empty, an unreadable one gives nothing.
    static std::optional<IniFile> load(const QString& path);

    // The value of a key (section and key compared without regard to case, blanks around
    // the value and one pair of enclosing quotes removed); nothing when absent.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets a key: an existing key line is replaced in place, a new key goes after the last
    // entry of its section, a new section is appended at the end.
    void setValue(const QString& section, const QString& key, const QString& value);

    // The file's bytes as they would be written.
    QByteArray content() const;

    // Writes the file (replacing it in one step); false when it cannot be written.
    bool save(const QString& path) const;

    // The file's text encoding: the system code page on Windows, UTF-8 elsewhere.
    static QString decode(const QByteArray& bytes);
    static QByteArray encode(const QString& text);

private:
    struct Range {
        int header = -1; // line of "[section]", -1 when the section is missing
        int end = 0;     // first line after the section
    };
    Range findSection(const QString& section) const;
    int findKey(const Range& range, const QString& key) const;

    QList<QByteArray> m_lines; // without line ends
    QByteArray m_eol;          // the line end the file already uses
    bool m_bom = false;
    bool m_finalEol = true;
};

} // namespace zuohao::gui
