#include "platform/files/profilefile.h"

#include "platform/apperror.h"
#include "platform/files/ansicodec.h"
#include "platform/files/replacefile.h"
#include "platform/integertext.h"

#include <algorithm>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringTokenizer>

namespace {

constexpr QByteArrayView utf16Bom("\xFF\xFE");
constexpr QByteArrayView utf8Bom("\xEF\xBB\xBF");
constexpr qsizetype maxValueLength = 2047;

QString folded(QStringView name)
{
    return name.toString().toCaseFolded();
}

bool isQuote(QChar ch)
{
    return ch == u'"' || ch == u'\'';
}

// The value of a "key=value" line: trimmed, out of matching quotes, cut to the longest value
// the service returns.
QString valueOf(QStringView line)
{
    QStringView value = line.sliced(line.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value.left(maxValueLength).toString();
}

// The name inside "[name]"; a header without its closing bracket runs to the end of the line.
QStringView sectionName(QStringView header)
{
    QStringView name = header.sliced(1);
    const qsizetype close = name.indexOf(u']');
    return (close < 0 ? name : name.left(close)).trimmed();
}

// A line break inside a value would split its line and change the file's structure.
QString singleLine(QString value)
{
    return value.replace(u'\r', u' ').replace(u'\n', u' ');
}

bool hasNonAscii(QByteArrayView bytes)
{
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
}

std::optional<QString> decodeUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

ProfileFile::ProfileFile(QString fileName)
    : m_fileName(std::move(fileName))
    , m_sections(1)
{
    m_exists = QFileInfo(m_fileName).isFile();
    if (!m_exists)
        return;
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_unreadable = true;
        return;
    }
    parse(decode(file.readAll()));
}

QString ProfileFile::decode(const QByteArray& bytes)
{
    if (bytes.startsWith(utf16Bom)) {
        m_encoding = Encoding::Utf16;
        return QStringDecoder(QStringDecoder::Utf16LE)(QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith(utf8Bom)) {
        m_encoding = Encoding::Utf8WithBom;
        return QString::fromUtf8(QByteArrayView(bytes).sliced(3));
    }
    if (hasNonAscii(bytes)) {
        if (std::optional<QString> text = decodeUtf8(bytes)) {
            m_encoding = Encoding::Utf8;
            return *text;
        }
    }
    return AnsiCodec::decode(bytes);
}

void ProfileFile::parse(const QString& text)
{
    if (text.isEmpty())
        return;
    // A final line break ends the last line; it does not begin another.
    QStringView body(text);
    if (body.endsWith(u'\n'))
        body.chop(1);
    for (QStringView line : QStringTokenizer(body, u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        addLine(line.toString());
    }
}

void ProfileFile::addLine(const QString& line)
{
    const QStringView text = QStringView(line).trimmed();
    const bool header = text.startsWith(u'[');
    if (header) {
        const QString name = folded(sectionName(text));
        if (!m_sectionIndex.contains(name))
            m_sectionIndex.insert(name, m_sections.size());
        m_sections.append(Section{});
    }
    Section& section = m_sections.last();
    section.lines.append(line);
    if (!text.isEmpty())
        section.end = section.lines.size();
    const qsizetype equals = text.indexOf(u'=');
    if (header || equals < 0)
        return;
    const QString key = folded(text.left(equals).trimmed());
    if (!section.keys.contains(key))
        section.keys.insert(key, section.lines.size() - 1);
}

ProfileFile::Place ProfileFile::find(QStringView section, QStringView key) const
{
    const qsizetype sectionAt = m_sectionIndex.value(folded(section), -1);
    if (sectionAt < 0)
        return {};
    return {sectionAt, m_sections[sectionAt].keys.value(folded(key), -1)};
}

std::optional<QString> ProfileFile::value(QStringView section, QStringView key) const
{
    const Place place = find(section, key);
    if (place.line < 0)
        return std::nullopt;
    return valueOf(m_sections[place.section].lines[place.line]);
}

QString ProfileFile::readString(QStringView section, QStringView key, const QString& fallback) const
{
    return value(section, key).value_or(fallback);
}

int ProfileFile::readInteger(QStringView section, QStringView key, int fallback) const
{
    const std::optional<QString> text = value(section, key);
    return text ? parseInteger(*text).value_or(fallback) : fallback;
}

bool ProfileFile::readBool(QStringView section, QStringView key, bool fallback) const
{
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

QStringList ProfileFile::keys(QStringView section) const
{
    const qsizetype sectionAt = m_sectionIndex.value(folded(section), -1);
    if (sectionAt < 0)
        return {};
    QList<qsizetype> lines = m_sections[sectionAt].keys.values();
    std::sort(lines.begin(), lines.end());
    QStringList names;
    for (qsizetype line : lines) {
        const QStringView text = QStringView(m_sections[sectionAt].lines[line]).trimmed();
        names << text.left(text.indexOf(u'=')).trimmed().toString();
    }
    return names;
}

void ProfileFile::writeString(QStringView section, QStringView key, const QString& value)
{
    const QString line = key.toString() + u'=' + singleLine(value);
    Place place = find(section, key);
    if (place.section < 0) {
        place.section = m_sections.size();
        m_sectionIndex.insert(folded(section), place.section);
        m_sections.append(Section{{u'[' + section.toString() + u']'}, {}, 1});
    }
    Section& target = m_sections[place.section];
    if (place.line >= 0) {
        target.lines[place.line] = line;
        return;
    }
    // Only blank lines follow `end`, so no key's line moves.
    target.lines.insert(target.end, line);
    target.keys.insert(folded(key), target.end);
    ++target.end;
}

void ProfileFile::writeInteger(QStringView section, QStringView key, int value)
{
    writeString(section, key, QString::number(value));
}

void ProfileFile::writeBool(QStringView section, QStringView key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QByteArray ProfileFile::encoded() const
{
    QString text;
    for (const Section& section : m_sections)
        for (const QString& line : section.lines)
            text += line + QLatin1StringView("\r\n");
    switch (m_encoding) {
    case Encoding::Utf16:
        return utf16Bom.toByteArray() + QStringEncoder(QStringEncoder::Utf16LE)(text);
    case Encoding::Utf8WithBom:
        return utf8Bom.toByteArray() + text.toUtf8();
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Ansi:
        break;
    }
    // Text that the code page cannot hold (a folder name in another script, say) would come
    // back as question marks; such a file is written as UTF-8, which reading recognises.
    const QByteArray ansi = AnsiCodec::encode(text);
    return AnsiCodec::decode(ansi) == text ? ansi : text.toUtf8();
}

void ProfileFile::save()
{
    // A file that could not be read would lose all its other lines.
    if (m_unreadable || !replaceFile(m_fileName, encoded()))
        throw AppError(QStringLiteral("Unable to write to %1").arg(m_fileName));
    m_exists = true;
}
