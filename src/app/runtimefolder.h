#pragma once

// Where a cron, su or ssh shell has no XDG_RUNTIME_DIR, Qt picks a folder of its own and says so
// on standard error at every start; the user's private folder of the instance channel serves
// instead. Call before the application object exists. Without such a folder nothing changes:
// the instance channel reports why when it is set up.
void provideRuntimeFolder();
