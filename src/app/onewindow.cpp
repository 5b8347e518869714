#include "app/onewindow.h"

#include "platform/desktop/dialogs.h"
#include "platform/desktop/windowtitles.h"
#include "platform/files/instancechannel.h"

namespace {

constexpr int kTitleBufferLength = 256;

bool anyTitleEquals(const QString& title, WindowTitles& titles)
{
    QStringList list;
    for (const QString& text : titles.topLevelTitles())
        EnumTitlesProc(text, list);
    bool running = false;
    for (const QString& entry : list)
        running = running || entry == title;
    return running;
}

} // namespace

bool EnumTitlesProc(const QString& windowText, QStringList& list)
{
    const QString text = windowText.left(kTitleBufferLength);
    if (!text.isEmpty())
        list << text;
    return true;
}

bool OneWindowCheck(const QString& title, const InstanceCheck& check)
{
    const bool running = anyTitleEquals(title, check.titles) || !check.channel.tryLock();
    if (!running)
        return false;
    check.dialogs.message(
        {QStringLiteral("Program jest już uruchomiony, uruchomienie większej liczby kopii jest "
                        "niemożliwe!"),
         title, MessageButtons::Ok, MessageIcon::Exclamation});
    check.endProcess();
    return true;
}
