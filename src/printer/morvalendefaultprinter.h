#pragma once

#include "platform/printing/printer.h"
#include "printer/devmodeenv.h"

#include <memory>
#include <vector>

class QIODevice;

// The program's printer object, extended with copies of printer settings held under names.
// Settings names are compared without regard to case and occur at most once in the list.
class MorvalenDefaultPrinter : public Printer {
public:
    using Printer::Printer;

    struct DeviceMode {
        QString name;
        std::unique_ptr<DevModeEnv> env;
    };
    std::vector<DeviceMode> device_modes_list; // in order of creation
    DevModeEnv* current_device = nullptr;

    // The holder of the settings name `n`, or none.
    virtual DevModeEnv* get_device_modes_list_item_by_name(const QString& n);
    DevModeEnv* device_mode_of(const QString& n) { return get_device_modes_list_item_by_name(n); }

    void save_print_settings_as(const QString& n, int pidx);
    void save_current_print_settings_as(const QString& n);
    void use_print_settings_of(const QString& n);

    // The settings file: one settings block, nothing else.
    void save_print_settings_to_stream(const QString& n, QIODevice& stream);
    void save_print_settings_to_file(const QString& settings_name, const QString& file_name);
    // Finds the printer the saved block belongs to and applies the block to it under `n`.
    void read_print_settings_from_stream(const QString& n, QIODevice& stream);
    void read_print_settings_from_file(const QString& settings_name, const QString& file_name);

    // The collection form: a count, then each name in a 256-byte field followed by its block.
    void save_all_print_settings_to_file(const QString& file_name);
    void read_all_print_settings_from_file(const QString& file_name);

    // The first installed printer whose list name, cut before " on ", begins with `deviceName`.
    int find_printer_index(const QString& deviceName);

private:
    DevModeEnv& holder(const QString& n);
    void remove(const QString& n);
};

// Makes the current printer current again without a settings block, so that the printer object
// obtains a fresh one from the driver.
void reset_printer_device_mode(Printer& printer);
