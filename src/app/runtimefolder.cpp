#include "app/runtimefolder.h"

#include "platform/apperror.h"
#include "platform/files/instancechannel.h"

#include <QFile>

void provideRuntimeFolder()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    try {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(InstanceChannel::defaultDirectory()));
    } catch (const AppError&) {
        // Reported where the channel is set up.
    }
}
