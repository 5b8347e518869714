// Settings blocks damaged in ways that fuzzing the settings files turned up.
#include "platform/printing/devmode.h"

#include <gtest/gtest.h>
#include <QtEndian>

namespace {

constexpr int pageSizeIdOffset = 228; // in our private part, after its signature and version

// Our own block for A5 paper whose private part names the page size `id`.
QByteArray a5BlockNaming(qint32 id)
{
    PrintSettings settings;
    settings.pageSize = QPageSize(QPageSize::A5);
    QByteArray block = DevMode::encode(settings);
    qToLittleEndian<qint32>(id, block.data() + pageSizeIdOffset);
    return block;
}

TEST(DamagedDevMode, APageSizeIdThatQtLacksFallsBackOnThePublicPart)
{
    const qint32 unknownIds[] = {QPageSize::LastPageSize + 1, 1224736768, -1, QPageSize::Custom};
    for (const qint32 id : unknownIds) {
        SCOPED_TRACE(id);
        EXPECT_EQ(DevMode::decode(a5BlockNaming(id)).pageSize.id(), QPageSize::A5);
    }
    EXPECT_EQ(DevMode::decode(a5BlockNaming(QPageSize::Letter)).pageSize.id(), QPageSize::Letter);
}

} // namespace
