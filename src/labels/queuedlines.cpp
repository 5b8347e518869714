#include "labels/queuedlines.h"

#include <algorithm>
#include <atomic>

using QueueFile::Encoding;

namespace {

// Versions are unique across all queues, so that two queues never look alike by chance.
quint64 nextVersion()
{
    static std::atomic<quint64> counter{0};
    return ++counter;
}

} // namespace

QueuedLines::QueuedLines(const QStringList& lines)
{
    const QByteArray bytes = QueueFile::serialize(lines, true);
    appendBytes(bytes, QueueFile::encodingOf(bytes));
    touch();
}

QueuedLines QueuedLines::fromFile(QByteArray bytes, qint64 base)
{
    QueuedLines lines;
    lines.m_encoding = QueueFile::encodingOf(bytes);
    lines.m_bytes = std::move(bytes);
    lines.m_base = base;
    lines.indexFrom(QueueFile::bomLength(lines.m_bytes));
    lines.touch();
    return lines;
}

void QueuedLines::indexFrom(qsizetype byte)
{
    const QByteArrayView rest = QByteArrayView(m_bytes).sliced(byte);
    if (m_starts.isEmpty()) { // a whole file: the list is made once, not grown in steps
        const qsizetype count = std::count(rest.begin(), rest.end(), '\n') + 1;
        m_starts.reserve(count + roomToGrow(count));
    }
    QueueFile::forEachLine(rest,
                           [&](QByteArrayView, qsizetype start) { m_starts << byte + start; });
}

void QueuedLines::touch()
{
    m_version = nextVersion();
}

QString QueuedLines::at(qsizetype index) const
{
    return QueueFile::decode(rawAt(index), m_encoding);
}

QByteArrayView QueuedLines::rawAt(qsizetype index) const
{
    return QueueFile::lineAt(m_bytes, m_starts.at(index));
}

QString QueuedLines::value(qsizetype index) const
{
    return index >= 0 && index < size() ? at(index) : QString();
}

QStringList QueuedLines::mid(qsizetype from, qsizetype count) const
{
    const qsizetype end = count < 0 ? size() : qMin(size(), from + count);
    QStringList lines;
    lines.reserve(qMax<qsizetype>(0, end - from));
    for (qsizetype i = from; i < end; ++i)
        lines << at(i);
    return lines;
}

QueuedLines& QueuedLines::operator+=(const QStringList& lines)
{
    const QByteArray bytes = QueueFile::serialize(lines, m_encoding != Encoding::Ansi);
    appendBytes(bytes, QueueFile::encodingOf(bytes));
    return *this;
}

void QueuedLines::appendBytes(QByteArrayView bytes, Encoding encoding)
{
    if (bytes.isEmpty())
        return;
    const qsizetype from = m_bytes.size();
    m_bytes.append(bytes);
    if (encoding != Encoding::Ascii)
        m_encoding = encoding;
    indexFrom(from);
    touch();
}

void QueuedLines::removeFront(qsizetype count)
{
    count = qMin(count, size());
    if (count <= 0)
        return;
    const qint64 cut = count == size() ? m_bytes.size() : m_starts.at(count);
    m_bytes.remove(0, cut);
    m_starts.remove(0, count);
    for (qint64& start : m_starts)
        start -= cut;
    m_base += cut;
    touch();
}

qsizetype QueuedLines::countBefore(qint64 offset) const
{
    return std::lower_bound(m_starts.cbegin(), m_starts.cend(), offset - m_base) -
           m_starts.cbegin();
}

qsizetype QueuedLines::removeBefore(qint64 offset)
{
    const qsizetype count = countBefore(offset);
    removeFront(count);
    return count;
}

void QueuedLines::clear()
{
    *this = QueuedLines();
    touch();
}

qint64 QueuedLines::fileOffset(qsizetype index) const
{
    return m_base + (index < size() ? m_starts.at(index) : m_bytes.size());
}

QueuedLines QueuedLines::rewritten(bool utf8) const
{
    QueuedLines lines;
    const QByteArray bytes = QueueFile::serialize(mid(0), utf8);
    lines.appendBytes(bytes, QueueFile::encodingOf(bytes));
    return lines;
}
