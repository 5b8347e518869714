#include "faketraypresence.h"
#include "scripteddialogs.h"
#include "window/traywatch.h"

#include <gtest/gtest.h>

namespace {

// A notification area that comes at a given look (the first at the start, then one a second),
// or never (0): it is taken when it comes, and reported missing once, ten seconds after the
// start, only when it has not come by then; that notice is withdrawn when it comes.
TEST(LateTray, IsTakenWhenItComesAndReportedMissingOnlyAfterTenSeconds)
{
    const struct {
        int comesAtLook;
        int missingReports;
        bool withdrawn;
    } cases[] = {{1, 0, false}, {11, 0, false}, {15, 1, true}, {0, 1, false}};
    for (const auto& [comesAtLook, missingReports, withdrawn] : cases) {
        SCOPED_TRACE(comesAtLook);
        FakeTrayPresence trays;
        ScriptedDialogs dialogs;
        int appeared = 0;
        TrayWatch watch(trays, dialogs, [&](TrayPresence::Kind) { ++appeared; });
        for (int look = 1; look <= 20 && !appeared; ++look) {
            if (look == comesAtLook)
                trays.kind = TrayPresence::Kind::StatusNotifier;
            watch.poll();
        }
        EXPECT_EQ(appeared, comesAtLook ? 1 : 0);
        EXPECT_EQ(dialogs.shown().size(), missingReports);
        EXPECT_EQ(dialogs.withdrawn,
                  withdrawn ? QStringList{dialogs.shown().value(0).text} : QStringList{});
    }
}

} // namespace
