#include "app/startline.h"
#include "labelprinterfixture.h"
#include "recordingprinterbackend.h"

namespace {

using StartLine = LabelPrinterFixture;

// Without a printer in the settings nor a default one in the system, sheets go to "Plik PDF".
TEST_F(StartLine, NamesThePrinterTheSheetsGoTo)
{
    RecordingPrinterBackend backend({{"Etykiety"}, {"Plik PDF"}}, 1);
    start(&backend);
    EXPECT_TRUE(startLine(*labels).endsWith(QStringLiteral(", drukarka Plik PDF\n")));
    EXPECT_EQ(backend.driverSettingsCalls, 0) << "nothing selected before the first sheet";
}

} // namespace
