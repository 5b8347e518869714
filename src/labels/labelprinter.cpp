// The engine's start and end: locating the configuration, reading the settings, and the queue
// saved at the end.
#include "labels/labelprinter.h"

#include "labels/discovery.h"
#include "labels/settingsfile.h"
#include "labels/texts.h"
#include "platform/files/profilefile.h"
#include "platform/printing/printerbackend.h"

LabelPrinter::LabelPrinter(const Services& services, const QString& executableDir,
                           const QStringList& arguments)
    : m_services(services)
    , m_guard(*services.dialogs, Texts::appTitle())
    , m_executableDir(executableDir)
    , m_arguments(arguments)
{
    // Sheets a killed run left half recorded are settled by what their printer shows.
    queueStore.setSheetSettler(
        [printers = services.printers](const QString& destination, bool accepted) {
            if (printers)
                return printers->settleSheet(destination, accepted);
            return accepted ? SheetFate::Printed : SheetFate::NotPrinted;
        });
    loadSettings();
}

LabelPrinter::~LabelPrinter()
{
    // A path that did not save leaves lines queued: they go to the saved-queue file. A failure
    // is reported like the others: a run that reported it already does not repeat it, and a
    // program that is ending writes it to standard error.
    if (!queue.ListaLini.isEmpty())
        m_guard.run([this] { SaveNal(); });
}

void LabelPrinter::loadSettings()
{
    paths = locateSettingsFile(m_executableDir, m_arguments);
    const ProfileFile settingsFile(paths.settingsFile());
    locateBuffer(paths, settingsFile);
    const SettingsReading reading = readSettings(settingsFile);
    settings = reading.settings;
    // A rejected value leaves its font at the defaults; start-up goes on.
    for (const QString& error : reading.errors)
        m_guard.report(error);
    for (const QString& warning : reading.warnings)
        m_services.dialogs->message(
            {warning, Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Exclamation});
}

void LabelPrinter::setFirstFree(int place)
{
    writeFirstFree(paths.settingsFile(), place);
    settings.PierwszaWolna = place;
}
