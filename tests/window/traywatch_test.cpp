#include "faketraypresence.h"
#include "scripteddialogs.h"
#include "window/traywatch.h"

#include <gtest/gtest.h>

namespace {

// A notification area that comes at a given look (the first at the start, then one a second),
// or never (0): it is taken when it comes; only when it has not come ten seconds after the start
// is it said to be missing, once, and that notice goes when the area comes.
TEST(LateTray, IsTakenWhenItComesAndReportedMissingOnlyWhileItIsMissing)
{
    const struct {
        int comesAtLook;
        bool reported;
        bool withdrawn;
    } cases[] = {{1, false, false}, {11, false, false}, {15, true, true}, {0, true, false}};
    for (const auto& [comesAtLook, reported, withdrawn] : cases) {
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
        ASSERT_EQ(dialogs.notices().size(), reported ? 1 : 0);
        EXPECT_EQ(dialogs.withdrawn(),
                  withdrawn ? QStringList{dialogs.notices()[0].text} : QStringList{});
        if (reported)
            EXPECT_TRUE(dialogs.notices()[0].text.startsWith("Pulpit nie ma obszaru powiadomień"));
    }
}

} // namespace
