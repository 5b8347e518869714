#include "faketraypresence.h"
#include "window/traywatch.h"

#include <gtest/gtest.h>

namespace {

using Kind = TrayPresence::Kind;

// A notification area that comes at a given look (the first is at the start, one a second
// after it), or never.
struct LateTrayCase {
    const char* name;
    int comesAtLook; // 0: never
    Kind kind;
    int missingReports;
};

class LateTray : public ::testing::TestWithParam<LateTrayCase> {};

TEST_P(LateTray, IsTakenWhenItComesAndReportedMissingOnlyAfterTenSeconds)
{
    FakeTrayPresence trays;
    QList<Kind> appeared;
    int missing = 0;
    TrayWatch watch(
        trays, [&](Kind kind) { appeared << kind; }, [&] { ++missing; });
    for (int look = 1; look <= 20; ++look) {
        if (look == GetParam().comesAtLook)
            trays.kind = GetParam().kind;
        if (appeared.isEmpty())
            watch.poll();
    }
    EXPECT_EQ(missing, GetParam().missingReports);
    EXPECT_EQ(appeared, GetParam().comesAtLook ? QList<Kind>{GetParam().kind} : QList<Kind>{});
}

INSTANTIATE_TEST_SUITE_P(Looks, LateTray,
                         ::testing::Values(LateTrayCase{"atTheStart", 1, Kind::StatusNotifier, 0},
                                           LateTrayCase{"sixSecondsLater", 7, Kind::XEmbed, 0},
                                           LateTrayCase{"lastLookBeforeTheReport", 11,
                                                        Kind::StatusNotifier, 0},
                                           LateTrayCase{"afterTheReport", 15, Kind::XEmbed, 1},
                                           LateTrayCase{"never", 0, Kind::None, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
