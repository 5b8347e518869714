// The printer choice: the printer named in the settings, its settings held under that name,
// and the printer-setup dialog.
#include "labels/labelprinter.h"

#include "labels/texts.h"
#include "platform/printing/printersetupdialog.h"

#include <QFileInfo>

MorvalenDefaultPrinter& LabelPrinter::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<MorvalenDefaultPrinter>(m_services.printers);
    return *m_printer;
}

QString LabelPrinter::printerInUse()
{
    return printer().printerInUse();
}

void LabelPrinter::SetSelectedPrinter(const QString& name)
{
    MorvalenDefaultPrinter& installed = printer();
    installed.setPrinterIndex(-1);
    const QStringList names = installed.printers();
    for (int i = 0; i < names.size(); ++i)
        if (names[i] == name)
            installed.setPrinterIndex(i);
}

QString LabelPrinter::printerSettingsFile() const
{
    return paths.LocalPath + QStringLiteral("zelk_nal.prs");
}

void LabelPrinter::restorePrinter()
{
    if (settings.PrinterName.isEmpty())
        return;
    SetSelectedPrinter(settings.PrinterName);
    reset_printer_device_mode(printer());
    PrinterSettingsName = settings.PrinterName;
    if (QFileInfo::exists(printerSettingsFile()))
        printer().read_print_settings_from_file(PrinterSettingsName, printerSettingsFile());
}

void LabelPrinter::tellNamedPrinterMissing()
{
    const QString& named = settings.PrinterName;
    if (named.isEmpty() || printer().printers().contains(named))
        return;
    m_services.dialogs->message(
        {QStringLiteral("Drukarka „%1” wskazana w ustawieniach nie jest zainstalowana; naklejki "
                        "będą drukowane na drukarce „%2”.")
             .arg(named, printerInUse()),
         Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Exclamation});
}

void LabelPrinter::savePrinterSettings()
{
    if (printer().get_device_modes_list_item_by_name(PrinterSettingsName))
        printer().save_print_settings_to_file(PrinterSettingsName, printerSettingsFile());
}

void LabelPrinter::UstawDrukButClick()
{
    MorvalenDefaultPrinter& installed = printer();
    // The dialog opens with the settings held for the chosen printer.
    if (DevModeEnv* held = installed.get_device_modes_list_item_by_name(PrinterSettingsName))
        held->use_mode();
    if (!m_services.printerSetup || !installed.setup(*m_services.printerSetup))
        return;

    const QString chosen = installed.printers().at(installed.printerIndex());
    if (chosen == settings.PrinterName) {
        installed.save_current_print_settings_as(PrinterSettingsName);
        return;
    }
    settings.PrinterName = chosen;
    PrinterSettingsName = chosen;
    // A printer chosen before in this run keeps the settings held for it then.
    if (!installed.get_device_modes_list_item_by_name(PrinterSettingsName))
        installed.save_current_print_settings_as(PrinterSettingsName);
}
