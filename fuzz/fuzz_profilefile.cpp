// The settings file as the program meets it: read into the settings, then written back with
// the settings dialog's keys. Whatever the file held, the keys written must read back.
#include "fuzzsupport.h"
#include "labels/discovery.h"
#include "labels/settingsfile.h"
#include "platform/files/profilefile.h"

namespace {

const QString bufferFolder = QStringLiteral("/var/lib/zelk/bufor/");
const QString bufferName = QStringLiteral("naklejka.dat");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString fileName = Fuzz::scratchFile(Fuzz::bytesOf(data, size));
    const SettingsReading reading = readSettings(ProfileFile(fileName));
    writeSettings(fileName, reading.settings, bufferFolder + bufferName, true);

    const ProfileFile written(fileName);
    if (written.readString(BufferKeys::section, BufferKeys::folder) != bufferFolder ||
        written.readString(BufferKeys::section, BufferKeys::fileName) != bufferName)
        Fuzz::fail("a written key does not read back");
    readSettings(written);
    return 0;
}
