#pragma once

#include "labels/queuestore.h"

#include <QFileInfo>

// The names of the files of a folder's label queue.
struct QueueStore::FileNames {
    static QString takenName(const QString& buffer) { return buffer + QStringLiteral(".taken"); }

    explicit FileNames(const QueueLocation& location)
        : saved(location.folder + QStringLiteral("zelk.nal"))
        , fold(saved + QStringLiteral(".fold"))
        , setAside(saved + QStringLiteral(".odrzucone"))
        , setAsideFold(setAside + QStringLiteral(".fold"))
        , marker(saved + QStringLiteral(".dopisek"))
        , temp(saved + QStringLiteral(".tmp"))
        , lock(saved + QStringLiteral(".lock"))
        , journal(saved + QStringLiteral(".druk"))
        , history(saved + QStringLiteral(".historia"))
        , folder(QFileInfo(saved).path())
        , buffer(location.buffer)
        , taken(takenName(buffer))
        , bufferFolder(QFileInfo(buffer).path())
    {
    }

    QString saved;
    QString fold;
    QString setAside;
    QString setAsideFold;
    QString marker;
    QString temp;
    QString lock;
    QString journal; // the print journal
    QString history; // the history of printed sheets
    QString folder;
    QString buffer;
    QString taken;
    QString bufferFolder;
};
