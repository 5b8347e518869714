#include "app/startline.h"
#include "labelprinterfixture.h"
#include "recordingprinterbackend.h"

namespace {

class StartLine : public LabelPrinterFixture {};

// Without a printer in the settings the line names the one the sheets will go to: the system's
// default, or the printer that stands in for it when the system has none.
TEST_F(StartLine, NamesThePrinterTheSheetsGoTo)
{
    const struct {
        int defaultIndex;
        const char* printer;
    } cases[] = {{1, "Biuro"}, {2, "Plik PDF"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printer);
        RecordingPrinterBackend backend({{"Etykiety"}, {"Biuro"}, {"Plik PDF"}}, c.defaultIndex);
        start(&backend);
        EXPECT_EQ(startLine(*labels),
                  QStringLiteral("zelk_nal: ustawienia %1, bufor %2, drukarka %3\n")
                      .arg(labels->paths.settingsFile(), labels->paths.NazwaPliku, c.printer));
        EXPECT_EQ(backend.driverSettingsCalls, 0) << "nothing selected before the first sheet";
    }
    start(nullptr);
    EXPECT_TRUE(startLine(*labels).endsWith(", drukarka brak (nie ma żadnej drukarki)\n"));
}

} // namespace
