#pragma once

#include <optional>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// An INI file read and written the way the Windows profile-string service does it: section and
// key names match without regard to letter case, keys and values are trimmed of blanks, a value
// in matching quotes loses them, and a value is read up to 2047 characters. A write replaces the
// key's line in place, or adds the key at the end of its section (and the section at the end of
// the file), and keeps every other line as it was.
//
// The file is read once, when the object is made. Writes change the text in memory; save()
// replaces the file with it in one atomic step where the folder allows it, so a batch of writes
// costs one file write and a failed save leaves the old file whole.
//
// The file's encoding is kept: UTF-16LE when it begins with that byte-order mark, UTF-8 when it
// has a UTF-8 byte-order mark or is valid UTF-8 with non-ASCII bytes, else the ANSI code page.
class ProfileFile {
public:
    // Reads `fileName`; a file that is absent or cannot be read has no keys.
    explicit ProfileFile(QString fileName);

    const QString& fileName() const { return m_fileName; }
    bool exists() const { return m_exists; }

    // A missing key yields `fallback`.
    QString readString(QStringView section, QStringView key, const QString& fallback = {}) const;
    // A missing key, or a value that is not a 32-bit whole number, yields `fallback`.
    int readInteger(QStringView section, QStringView key, int fallback) const;
    // Read as an integer with the fallback 1 or 0: 0 is false, any other number true.
    bool readBool(QStringView section, QStringView key, bool fallback) const;

    // The names of the keys of `section` as the file spells them, in the file's order.
    QStringList keys(QStringView section) const;

    void writeString(QStringView section, QStringView key, const QString& value);
    void writeInteger(QStringView section, QStringView key, int value);
    void writeBool(QStringView section, QStringView key, bool value);

    // Replaces the file with the text as written (replaceFile: whole or not at all, in place
    // where the folder takes no new file). Raises AppError "Unable to write to <file name>" when
    // it was not replaced, or when the file could not be read (its other lines would be lost).
    void save();

private:
    enum class Encoding { Ansi, Utf8, Utf8WithBom, Utf16 };

    // The lines of one section, its header first; the lines before the first header form a
    // section of their own, which no lookup finds.
    struct Section {
        QStringList lines;
        QHash<QString, qsizetype> keys; // case-folded key name → its first line
        qsizetype end = 0;              // after the last line that is not blank
    };

    // Where a key stands: indexes into m_sections and its lines, -1 when missing.
    struct Place {
        qsizetype section = -1;
        qsizetype line = -1;
    };

    QString decode(const QByteArray& bytes); // notes the encoding it finds
    void parse(const QString& text);
    void addLine(const QString& line);
    Place find(QStringView section, QStringView key) const;
    std::optional<QString> value(QStringView section, QStringView key) const;
    QByteArray encoded() const;

    QString m_fileName;
    bool m_exists = false;
    bool m_unreadable = false; // present but not read: saving would lose its contents
    Encoding m_encoding = Encoding::Ansi;
    QList<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex; // case-folded name → first section of that name
};
