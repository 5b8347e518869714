#include "platform/desktop/stderrdialogs.h"

#include <gtest/gtest.h>

TEST(StderrDialogs, WritesEachReportOnceAndWholeAndCountsOnlyFaults)
{
    std::FILE* out = std::tmpfile();
    StderrDialogs dialogs(out);
    for (int twice = 0; twice < 2; ++twice)
        dialogs.message(
            {QStringLiteral("Brak drukarki"), {}, MessageButtons::Ok, MessageIcon::Error});
    dialogs.message({"„1" + QString(QChar(0)) + "2”\nkoniec",
                     {},
                     MessageButtons::Ok,
                     MessageIcon::Exclamation}); // a warning, with a NUL
    EXPECT_EQ(dialogs.faultCount(), 1);
    char written[100] = {};
    std::rewind(out);
    EXPECT_GT(std::fread(written, 1, sizeof written - 1, out), 0u);
    EXPECT_STREQ(written, "zelk_nal: Brak drukarki\nzelk_nal: „1\u24002”\nkoniec\n");
    std::fclose(out);
}
