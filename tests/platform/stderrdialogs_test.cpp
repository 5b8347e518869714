#include "platform/stderrdialogs.h"

#include <gtest/gtest.h>

namespace {

// What a run without a desktop writes: each report once, whole, and only faults fail the run.
TEST(StderrDialogs, WritesEachReportOnceAndWholeAndCountsOnlyFaults)
{
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    StderrDialogs dialogs(out);
    const QString setAside =
        QStringLiteral("„12") + QChar(0) + QStringLiteral("3|x”: powód\nkoniec");
    const std::pair<QString, MessageIcon> reports[] = {
        {QStringLiteral("Brak domyślnej drukarki"), MessageIcon::Error},
        {QStringLiteral("Brak domyślnej drukarki"), MessageIcon::Error},
        {setAside, MessageIcon::Exclamation},
    };
    for (const auto& [text, icon] : reports)
        EXPECT_EQ(dialogs.message({text, QString(), MessageButtons::Ok, icon}), MessageAnswer::Ok);
    EXPECT_EQ(dialogs.message({QStringLiteral("Czy?"), QString(), MessageButtons::YesNo,
                               MessageIcon::Question}),
              MessageAnswer::No);

    EXPECT_EQ(dialogs.faultCount(), 1);
    QByteArray written(4096, '\0');
    std::rewind(out);
    written.resize(qsizetype(std::fread(written.data(), 1, written.size(), out)));
    std::fclose(out);
    EXPECT_EQ(QString::fromUtf8(written), QStringLiteral("zelk_nal: Brak domyślnej drukarki\n"
                                                         "zelk_nal: „12\u24003|x”: powód\nkoniec\n"
                                                         "zelk_nal: Czy? (odpowiedź: Nie)\n"));
}

} // namespace
