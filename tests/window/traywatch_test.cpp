#include "faketraypresence.h"
#include "window/traywatch.h"

#include <gtest/gtest.h>

namespace {

// A notification area that comes at a given look (the first at the start, then one a second),
// or never (0): it is taken when it comes, and reported missing once, ten seconds after the
// start, only when it has not come by then.
TEST(LateTray, IsTakenWhenItComesAndReportedMissingOnlyAfterTenSeconds)
{
    const struct {
        int comesAtLook;
        int missingReports;
    } cases[] = {{1, 0}, {11, 0}, {15, 1}, {0, 1}};
    for (const auto& [comesAtLook, missingReports] : cases) {
        SCOPED_TRACE(comesAtLook);
        FakeTrayPresence trays;
        int appeared = 0, missing = 0;
        TrayWatch watch(
            trays, [&](TrayPresence::Kind) { ++appeared; }, [&] { ++missing; });
        for (int look = 1; look <= 20 && !appeared; ++look) {
            if (look == comesAtLook)
                trays.kind = TrayPresence::Kind::StatusNotifier;
            watch.poll();
        }
        EXPECT_EQ(appeared, comesAtLook ? 1 : 0);
        EXPECT_EQ(missing, missingReports);
    }
}

} // namespace
