#pragma once

#include "labels/queuefile.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// The waiting lines of the queue, kept as the bytes of the saved-queue file with the offset of
// each line: a million lines cost their bytes and an offset each, and a line is decoded only
// when a label is made of it. The bytes are those of the file from byte base() on, so that a
// print record can name the file bytes a sheet's lines occupy.
class QueuedLines {
public:
    QueuedLines() = default;
    // Lines made in memory, encoded as UTF-8 (tests, the sample sheet).
    QueuedLines(const QStringList& lines); // NOLINT(google-explicit-constructor)

    // The saved-queue file's bytes, read by their content; `base` is the file offset of the
    // first of them.
    static QueuedLines fromFile(QByteArray bytes, qint64 base = 0);
    // The room a queue of `count` bytes or lines read from a file keeps for more, so that the
    // lines folded in after a start do not move the whole queue to a larger block (a copy of
    // it at once, and twice its memory at the peak). Room never touched costs no memory.
    static qint64 roomToGrow(qint64 count) { return count / 8 + 1024; }

    qsizetype size() const { return m_starts.size(); }
    bool isEmpty() const { return m_starts.isEmpty(); }
    QString at(qsizetype index) const;
    // Line `index` as the file's bytes, without its end.
    QByteArrayView rawAt(qsizetype index) const;
    QString operator[](qsizetype index) const { return at(index); }
    QString value(qsizetype index) const;
    QStringList mid(qsizetype from, qsizetype count = -1) const;
    operator QStringList() const { return mid(0); } // NOLINT(google-explicit-constructor)

    QueuedLines& operator+=(const QStringList& lines);
    // Bytes appended to the file behind these lines, in `encoding` (Ascii reads in either).
    void appendBytes(QByteArrayView bytes, QueueFile::Encoding encoding);
    // The first `count` lines leave; the file still starts with them until it is rewritten.
    void removeFront(qsizetype count);
    void clear();

    // The bytes as the file holds them from base() on, and the encoding they are read in.
    const QByteArray& bytes() const { return m_bytes; }
    QueueFile::Encoding encoding() const { return m_encoding; }
    qint64 base() const { return m_base; }
    // The file offset where line `index` starts; size() gives the end of the bytes.
    qint64 fileOffset(qsizetype index) const;
    // The file was written anew with just these bytes.
    void rebase() { m_base = 0; }
    // How many lines start before the file offset `offset`.
    qsizetype countBefore(qint64 offset) const;
    // Drops the lines that start before the file offset `offset`; returns how many.
    qsizetype removeBefore(qint64 offset);
    // The lines as a file of their own starting at offset 0, in the given encoding.
    QueuedLines rewritten(bool utf8) const;

    // Changes with every change of the lines; equal versions mean equal lines.
    quint64 version() const { return m_version; }

    friend bool operator==(const QueuedLines& lines, const QStringList& list)
    {
        return QStringList(lines) == list;
    }

private:
    void indexFrom(qsizetype byte);
    void touch();

    QByteArray m_bytes;
    QList<qint64> m_starts; // where each line starts in m_bytes
    qint64 m_base = 0;
    QueueFile::Encoding m_encoding = QueueFile::Encoding::Ascii;
    quint64 m_version = 0;
};
