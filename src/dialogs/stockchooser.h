#pragma once

#include "labels/settings.h"
#include "labels/stockcatalogue.h"

#include <QDialog>

class LabelPrinter;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The chooser of the label stock: a search over the catalogue, the sheets found (maker, part,
// label size, columns × rows, paper, and why one that is left out is), a picture of the chosen
// sheet, and "Wybierz" or "Anuluj". Beside them, the correction of the printer in use with the
// calibration page to measure it: the fields change the settings being edited at once, and
// "Anuluj" puts them back.
class StockChooser : public QDialog {
    Q_OBJECT
public:
    StockChooser(LabelPrinter& labels, StockCatalogue catalogue, QWidget* parent = nullptr);

    // The sheet chosen in the list; none while no offered sheet is.
    std::optional<LabelStock> chosen() const;

    QLineEdit* search = nullptr;
    QTreeWidget* list = nullptr;
    QLabel* picture = nullptr;
    QLabel* note = nullptr; // why sheets are missing
    QGroupBox* correction = nullptr;
    QDoubleSpinBox* right = nullptr; // millimetres
    QDoubleSpinBox* down = nullptr;
    QDoubleSpinBox* scaleX = nullptr; // percent
    QDoubleSpinBox* scaleY = nullptr;
    QPushButton* calibrate = nullptr; // "Drukuj stronę kalibracyjną"
    QPushButton* choose = nullptr;    // "Wybierz"
    QPushButton* cancel = nullptr;    // "Anuluj"

public slots:
    void reject() override;

private:
    QWidget* buildCorrection();
    void fill();
    void showSheet();
    void correctionEdited();
    void printCalibrationPage();

    LabelPrinter& m_labels;
    StockCatalogue m_catalogue;
    QList<LabelStock> m_shown; // the offered sheets in the list, in its order
    QString m_printer;         // the printer the correction belongs to
    PrinterCorrections m_correctionsAtOpening;
};
