#include "labels/printjournal.h"

#include "platform/files/fileops.h"

#include <QFileInfo>
#include <QUrl>
#include <QUuid>

namespace {

const QByteArray header = "zelk_nal druk 1 ";

QByteArray encoded(const QString& text)
{
    return QUrl::toPercentEncoding(text);
}

QString decoded(const QByteArray& field)
{
    return QUrl::fromPercentEncoding(field);
}

// The labels of a sheet, each percent-encoded, joined by commas.
QByteArray encodedLabels(const QStringList& labels)
{
    QList<QByteArray> fields;
    for (const QString& label : labels)
        fields << encoded(label);
    return fields.join(',');
}

// One empty label and none are told apart by the count; an empty field of more names no labels
// (a record of an earlier version kept in the history). A field of another count of labels is
// damaged: none.
std::optional<QStringList> decodedLabels(const QByteArray& field, int count)
{
    QStringList labels;
    if (field.isEmpty() && count != 1)
        return labels;
    if (count < 1 || field.count(',') != count - 1)
        return {};
    labels.reserve(count);
    for (const QByteArray& label : field.split(','))
        labels << decoded(label);
    return labels;
}

// "A", "R" and "N" lines move their sheet on; a line for a sheet not recorded counts for nothing.
void applyState(QList<SheetRecord>& sheets, const QList<QByteArray>& fields)
{
    const SheetRecord::State state = fields[0] == "A"   ? SheetRecord::State::Accepted
                                     : fields[0] == "R" ? SheetRecord::State::Released
                                                        : SheetRecord::State::NotPrinted;
    const int sequence = fields.value(1).toInt();
    for (SheetRecord& sheet : sheets)
        if (sheet.sequence == sequence && sheet.state != SheetRecord::State::Released)
            sheet.state = state;
}

} // namespace

std::optional<PrintJournal::Contents> PrintJournal::read(const QString& path)
{
    if (!FileOps::exists(path))
        return {};
    QList<QByteArray> lines = FileOps::read(path).split('\n');
    lines.removeLast(); // empty after the last line's end, or a line cut short
    if (lines.isEmpty() || !lines.first().startsWith(header))
        return {};
    const QList<QByteArray> names = lines.takeFirst().mid(header.size()).split(' ');
    Contents contents{QString::fromLatin1(names[0]), QString::fromLatin1(names.value(1)), {}};
    for (const QByteArray& line : std::as_const(lines)) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields[0] == "S") {
            if (const std::optional<SheetRecord> sheet = parseSheet(fields))
                contents.sheets << *sheet;
        } else if (fields[0] == "A" || fields[0] == "R" || fields[0] == "N") {
            applyState(contents.sheets, fields);
        } else if (fields[0] == "K") {
            contents.kept = qMax(contents.kept, fields.value(1).toInt());
        }
    }
    return contents;
}

PrintJournal::Contents PrintJournal::create(const QString& path, const QString& queueIdentity)
{
    const Contents contents{queueIdentity, QUuid::createUuid().toString(QUuid::WithoutBraces), {}};
    FileOps::createNew(path,
                       header + (contents.queueIdentity + u' ' + contents.id).toLatin1() + '\n');
    FileOps::syncFolder(QFileInfo(path).path());
    return contents;
}

void PrintJournal::appendSheet(const QString& path, const SheetRecord& sheet)
{
    FileOps::append(path, "S " + sheetFields(sheet) + '\n');
}

void PrintJournal::appendState(const QString& path, int sequence, SheetRecord::State state,
                               FileOps::Flush flush)
{
    const char* mark = state == SheetRecord::State::Accepted ? "A " : "R ";
    FileOps::append(path, mark + QByteArray::number(sequence) + '\n', flush);
}

void PrintJournal::appendKept(const QString& path, const QList<SheetRecord>& sheets)
{
    QByteArray lines;
    for (const SheetRecord& sheet : sheets)
        lines += (sheet.printed() ? "R " : "N ") + QByteArray::number(sheet.sequence) + '\n';
    FileOps::append(path, lines + "K " + QByteArray::number(sheets.last().sequence) + '\n');
}

QByteArray PrintJournal::sheetFields(const SheetRecord& sheet)
{
    const QList<QByteArray> fields{QByteArray::number(sheet.sequence),
                                   QByteArray::number(sheet.from),
                                   QByteArray::number(sheet.to),
                                   QByteArray::number(sheet.lines),
                                   QByteArray::number(sheet.firstPlace),
                                   QByteArray::number(sheet.firstFree),
                                   sheet.repeated ? "1" : "0",
                                   encoded(sheet.when.toString(Qt::ISODateWithMs)),
                                   encoded(sheet.printer),
                                   encoded(sheet.destination),
                                   encodedLabels(sheet.labels)};
    return fields.join(' ');
}

std::optional<SheetRecord> PrintJournal::parseSheet(const QList<QByteArray>& fields)
{
    if (fields.size() != 11 && fields.size() != 12)
        return {};
    SheetRecord sheet;
    sheet.sequence = fields[1].toInt();
    sheet.from = fields[2].toLongLong();
    sheet.to = fields[3].toLongLong();
    sheet.lines = fields[4].toInt();
    sheet.firstPlace = fields[5].toInt();
    sheet.firstFree = fields[6].toInt();
    sheet.repeated = fields[7] == "1";
    sheet.when = QDateTime::fromString(decoded(fields[8]), Qt::ISODateWithMs);
    sheet.printer = decoded(fields[9]);
    sheet.destination = decoded(fields[10]);
    if (fields.size() == 11) // an earlier version's record has no labels
        return sheet;
    const std::optional<QStringList> labels = decodedLabels(fields[11], sheet.lines);
    if (!labels)
        return {};
    sheet.labels = *labels;
    return sheet;
}
