#include "dialogs/stockchooser.h"

#include "dialogs/commandbutton.h"
#include "labels/labelprinter.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTreeWidget>

namespace {

constexpr int kShownRole = Qt::UserRole; // an offered sheet's index among those shown
constexpr QSize kPictureSize(180, 250);

// The sheet in miniature: the paper, and the labels where they stand on it.
QPixmap sheetPicture(const LabelStock& stock)
{
    QPixmap pixmap(kPictureSize);
    pixmap.fill(Qt::transparent);
    const double scale = qMin((kPictureSize.width() - 1.0) / stock.paperWidth,
                              (kPictureSize.height() - 1.0) / stock.paperHeight);
    QPainter painter(&pixmap);
    painter.scale(scale, scale);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(0, 0, stock.paperWidth, stock.paperHeight));
    painter.setBrush(Qt::lightGray);
    for (int place = 0; place < stock.columns * stock.rows; ++place)
        painter.drawRect(stock.label(place));
    return pixmap;
}

QDoubleSpinBox* correctionBox(double limit, int decimals, double nominal)
{
    auto* box = new QDoubleSpinBox;
    box->setDecimals(decimals);
    box->setRange(nominal - limit, nominal + limit);
    box->setSingleStep(decimals == 1 ? 0.1 : 0.01);
    box->setValue(nominal);
    return box;
}

} // namespace

StockChooser::StockChooser(LabelPrinter& labels, StockCatalogue catalogue, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_labels(labels)
    , m_catalogue(std::move(catalogue))
    , m_correctionsAtOpening(labels.settings.corrections)
{
    setWindowTitle(QStringLiteral("Arkusz naklejek"));
    search = new QLineEdit;
    search->setPlaceholderText(QStringLiteral("producent, symbol, wymiary, papier"));
    auto* searchLabel = new QLabel(QStringLiteral("&Szukaj:"));
    searchLabel->setBuddy(search);
    list = new QTreeWidget;
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Producent"), QStringLiteral("Symbol"),
                           QStringLiteral("Naklejka"), QStringLiteral("Kolumny × wiersze"),
                           QStringLiteral("Papier"), QStringLiteral("Uwagi")});
    list->setMinimumSize(560, 300);
    picture = new QLabel;
    picture->setFixedSize(kPictureSize);
    note = new QLabel;
    note->setWordWrap(true);
    choose = new CommandButton(QStringLiteral("Wybierz"), this);
    cancel = new CommandButton(QStringLiteral("Anuluj"), this);
    choose->setDefault(true);

    auto* layout = new QGridLayout(this);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search);
    layout->addLayout(searchRow, 0, 0, 1, 2);
    layout->addWidget(list, 1, 0);
    layout->addWidget(picture, 1, 1, Qt::AlignTop);
    layout->addWidget(note, 2, 0, 1, 2);
    layout->addWidget(buildCorrection(), 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(choose);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 4, 0, 1, 2);

    connect(search, &QLineEdit::textChanged, this, [this] { fill(); });
    connect(list, &QTreeWidget::currentItemChanged, this, [this] { showSheet(); });
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (chosen())
            accept();
    });
    connect(choose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &StockChooser::reject);
    fill();
    if (const std::optional<LabelStock>& current = labels.settings.stock) {
        const QList<QTreeWidgetItem*> found = list->findItems(current->part, Qt::MatchExactly, 1);
        for (QTreeWidgetItem* item : found)
            if (item->text(0) == current->maker)
                list->setCurrentItem(item);
    }
    showSheet();
}

QWidget* StockChooser::buildCorrection()
{
    correction = new QGroupBox;
    right = correctionBox(10, 1, 0);
    down = correctionBox(10, 1, 0);
    scaleX = correctionBox(2, 2, 100);
    scaleY = correctionBox(2, 2, 100);
    calibrate = new CommandButton(QStringLiteral("Drukuj stronę kalibracyjną"), correction);
    auto* layout = new QGridLayout(correction);
    const std::pair<const char16_t*, QDoubleSpinBox*> fields[] = {
        {u"W prawo (mm):", right},
        {u"W dół (mm):", down},
        {u"Skala w poziomie (%):", scaleX},
        {u"Skala w pionie (%):", scaleY}};
    for (int i = 0; i < 4; ++i) {
        layout->addWidget(new QLabel(QString::fromUtf16(fields[i].first)), i / 2, (i % 2) * 2);
        layout->addWidget(fields[i].second, i / 2, (i % 2) * 2 + 1);
    }
    layout->addWidget(calibrate, 0, 4, 2, 1);
    try {
        m_printer = m_labels.printerInUse();
    } catch (const AppError&) {
        correction->setTitle(QStringLiteral(" Korekta drukarki: brak drukarki "));
        correction->setEnabled(false);
        return correction;
    }
    correction->setTitle(QStringLiteral(" Korekta drukarki „%1” ").arg(m_printer));
    const PrinterCorrection current = correctionOf(m_labels.settings.corrections, m_printer);
    right->setValue(current.right / 10.0);
    down->setValue(current.down / 10.0);
    scaleX->setValue(current.scaleX / 100.0);
    scaleY->setValue(current.scaleY / 100.0);
    for (QDoubleSpinBox* box : {right, down, scaleX, scaleY})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { correctionEdited(); });
    connect(calibrate, &QPushButton::clicked, this,
            m_labels.guard().wrap([this] { printCalibrationPage(); }));
    return correction;
}

std::optional<LabelStock> StockChooser::chosen() const
{
    const QTreeWidgetItem* item = list->currentItem();
    if (!item || item->isDisabled())
        return std::nullopt;
    return m_shown.at(item->data(0, kShownRole).toInt());
}

// The sheets that match the search, and those left out that match it, greyed, with the reason.
void StockChooser::fill()
{
    list->clear();
    m_shown.clear();
    if (m_catalogue.isEmpty()) {
        note->setText(StockCatalogue::missingText());
        return;
    }
    const QString text = search->text();
    m_shown = m_catalogue.matching(text);
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        const LabelStock& stock = m_shown[i];
        auto* item = new QTreeWidgetItem(
            list, {stock.maker, stock.part, stock.sizeText(), stock.gridText(), stock.paperText()});
        item->setData(0, kShownRole, int(i));
    }
    if (!text.trimmed().isEmpty()) {
        for (const LeftOutStock& sheet : m_catalogue.leftOutMatching(text)) {
            const LabelStock& stock = sheet.stock;
            auto* item = new QTreeWidgetItem(list, {stock.maker, stock.part});
            if (sheet.reason == LeftOutReason::OutOfRange)
                for (const auto& [column, value] : {std::pair(2, stock.sizeText()),
                                                    {3, stock.gridText()},
                                                    {4, stock.paperText()}})
                    item->setText(column, value);
            item->setText(5, leftOutText(sheet));
            item->setDisabled(true);
        }
    }
    note->setText(m_catalogue.leftOutSummary());
    list->header()->resizeSections(QHeaderView::ResizeToContents);
}

void StockChooser::showSheet()
{
    const std::optional<LabelStock> stock = chosen();
    choose->setEnabled(stock.has_value());
    picture->setPixmap(stock ? sheetPicture(*stock) : QPixmap());
}

void StockChooser::correctionEdited()
{
    const auto fixed = [](const QDoubleSpinBox* box, int units) {
        return qRound(box->value() * units);
    };
    m_labels.settings.corrections[m_printer] = {fixed(right, 10), fixed(down, 10),
                                                fixed(scaleX, 100), fixed(scaleY, 100)};
}

void StockChooser::printCalibrationPage()
{
    m_labels.printCalibrationPage(chosen() ? chosen() : m_labels.settings.stock);
}

void StockChooser::reject()
{
    m_labels.settings.corrections = m_correctionsAtOpening;
    QDialog::reject();
}
