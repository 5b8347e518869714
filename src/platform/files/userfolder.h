#pragma once

#include <QString>

// The folder that holds a user's instance lock and close socket. Every process of the user must
// find the same folder whatever its environment (a desktop session, cron, su, ssh), so it does
// not follow XDG_RUNTIME_DIR: it is /run/user/<uid> when that is the user's own 0700 folder,
// otherwise /tmp/zelk_nal-<uid>, created with mode 0700 when missing. A folder that is a link,
// belongs to someone else or lets others in is refused: AppError says why, and no shared or
// relative path takes its place.
namespace UserFolder {

// The folder for this process's user. ZELK_NAL_INSTANCE_DIR, when set, names the folder to use
// in place of both (tests keep their copies apart with it); it must pass the same checks.
QString forInstanceChannel();

// The choice itself: `sessionFolder` when it is a private folder of this user, else `fallback`,
// created when missing and then checked.
QString choose(const QString& sessionFolder, const QString& fallback);

} // namespace UserFolder
