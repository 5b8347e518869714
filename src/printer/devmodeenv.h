#pragma once

#include <QByteArray>
#include <QString>

class Printer;
class QIODevice;

// One held copy of a printer's settings block, and the printer it belongs to.
class DevModeEnv {
public:
    // create_with: a holder for printer index `pidx` of `p` (negative: the current printer),
    // filled with that printer's current settings.
    DevModeEnv(Printer& p, int pidx);
    virtual ~DevModeEnv() = default;
    DevModeEnv(const DevModeEnv&) = delete;
    DevModeEnv& operator=(const DevModeEnv&) = delete;

    // dmSize + dmDriverExtra of the held copy.
    int size() const;
    // Capture: copies the printer's current block. With `override_printer_index` the holder
    // takes the printer object's current printer as its own; otherwise it selects its own.
    void update_mode(bool override_printer_index);
    // Apply: selects the holder's printer and puts the held copy in place of its block. It takes
    // effect at the next document and in the next printer-setup dialog.
    void use_mode();
    void save_print_settings_to_stream(QIODevice& stream) const;
    // Reads `size` bytes over the held copy and applies it. A short read keeps the copy as it
    // was.
    void read_print_settings_from_stream(QIODevice& stream);

    QString dev;
    QString drv;
    QString prt;
    QByteArray* handle = nullptr; // the printer object's block, as last taken
    Printer& printer;
    bool initialized = false;
    int selected;
    QByteArray device_mode; // the held copy; null while none is held

private:
    void takeCurrentDevice();
};
