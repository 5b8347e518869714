#include "labels/logofile.h"

#include <QImageReader>
#include <QtEndian>

namespace {

// The bytes an uncompressed Windows bitmap needs: its pixel rows, each padded to four bytes, end
// where its header says they start plus their size. Zero when the header does not say (another
// header, compressed rows): the reader's own checks are all there is then.
qint64 bitmapBytesNeeded(const QByteArray& header)
{
    constexpr qsizetype fileHeader = 14;
    constexpr qsizetype infoHeader = 40;
    if (header.size() < fileHeader + infoHeader || !header.startsWith("BM"))
        return 0;
    const auto at = [&header](qsizetype offset) {
        return qFromLittleEndian<qint32>(header.constData() + offset);
    };
    const qint64 pixelsStart = quint32(at(10));
    const qint64 width = at(18);
    const qint64 height = qAbs(qint64(at(22)));
    const int bitsPerPixel = qFromLittleEndian<quint16>(header.constData() + 28);
    const quint32 compression = quint32(at(30));
    constexpr quint32 uncompressed = 0;
    constexpr quint32 bitFields = 3;
    if (quint32(at(14)) < infoHeader || (compression != uncompressed && compression != bitFields))
        return 0;
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return pixelsStart + rowBytes * height;
}

} // namespace

LogoRead readLogo(QIODevice& file, QImage& logo)
{
    logo = QImage();
    const qint64 needed = bitmapBytesNeeded(file.peek(64));
    if (needed > file.size())
        return LogoRead::CutShort;
    QImageReader reader(&file);
    QImage read = reader.read();
    if (read.isNull())
        return reader.error() == QImageReader::InvalidDataError ? LogoRead::CutShort
                                                                : LogoRead::NotAPicture;
    logo = std::move(read);
    return LogoRead::Whole;
}
