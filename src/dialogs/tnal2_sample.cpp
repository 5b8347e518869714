// The sample label under the settings, the size boxes that drive it, and the test page.
#include "dialogs/spinedit.h"
#include "dialogs/tnal2.h"
#include "labels/monochrome.h"
#include "labels/pixels.h"
#include "labels/texts.h"
#include "platform/apperror.h"
#include "platform/desktop/dialogs.h"
#include "window/tnal1.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace {

const QString sampleLine = QStringLiteral("000000000000|0000000000000000");
constexpr int kGapAboveSample = 10;
constexpr int kLowestSampleBottom = 407;
constexpr int kMarginBelowSample = 15;

// The typed size as a number: nothing for an empty box, an error for text that is no number.
std::optional<int> typedNumber(const SpinEdit* box)
{
    const QString text = box->text().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok)
        throw AppError(StandardErrors::notAnInteger(text));
    return number;
}

bool inRange(const SpinEdit* box, int value)
{
    return value >= box->minimum() && value <= box->maximum();
}

} // namespace

void TNal2::PodgladNal()
{
    Settings& s = m_labels.settings;
    s.BezRamkiB = BezRamki->isChecked();
    s.BezNazwyB = BezNazBib->isChecked();
    s.BezSygnB = BezSygn->isChecked();
    s.ZLogoB = ZLogo->isChecked();
    s.Path = LPath->text();
    PixelGeometry& g = m_labels.geometry;
    g.PixSzerN = mmToPixels(SzerNalep->currentValue());
    g.PixWysN = mmToPixels(WysNalep->currentValue());
    if (s.stock) { // the label's exact size
        const PixelGeometry exact = geometryOf(s);
        g.PixSzerN = exact.PixSzerN;
        g.PixWysN = exact.PixWysN;
    }
    g.PixSzerKK = mmToPixels(SzerKK->currentValue());
    m_labels.WzIdent = WzIdent->text();

    // Centred in the strip left of the command buttons, below the settings.
    const int left = roundHalfEven((Button4->x() - g.PixSzerN) / 2.0);
    const int top = Label6->geometry().bottom() + 1 + kGapAboveSample;
    setFixedHeight(std::max(top + g.PixWysN, kLowestSampleBottom) + kMarginBelowSample);
    placeCommandButtons();
    ImageNal->move(left, top);
    ImageNal->show();

    if (s.ZLogoB)
        m_labels.loadLogo();
    // Like the preview, drawn at the screen's device pixel ratio: sharp on a high-density
    // screen, the same size in the dialog's own pixels.
    const QSize size(g.PixSzerN + 2, g.PixWysN + 2);
    sampleBitmap = whiteMonochromeImage(size, devicePixelRatioF());
    ImageNal->resize(size);
    m_labels.KodKresk.setModul(2);
    m_labels.KodKresk.setRatio(3.0);

    TNalepka sample;
    m_labels.AktNalepka = &sample;
    m_labels.RysNalep(size, sampleLine, s.NazBib1, s.NazBib2, 1, 1, false);
    m_labels.AktNalepka = nullptr;
    try {
        m_labels.PokazNalepke(sample, sampleBitmap);
    } catch (const AppError& error) {
        m_dialogs.message(
            {error.text(), Texts::messageCaption(), MessageButtons::Ok, MessageIcon::Error});
    }
    ImageNal->setPixmap(QPixmap::fromImage(sampleBitmap));
}

void TNal2::SzerNalepChange()
{
    const std::optional<int> width = typedNumber(SzerNalep);
    if (!width || *width <= 10 || Creating || !inRange(SzerNalep, *width))
        return;
    if (*width <= SzerKK->currentValue() + 1)
        SzerKK->setClampedValue(*width - 5);
    SzerKK->setMaximum(*width - 2);
    m_labels.settings.SzerNalI = *width;
    PodgladNal();
}

// A height of exactly 10 mm is inside the box's range but is applied only by the commit.
void TNal2::WysNalepChange()
{
    const std::optional<int> height = typedNumber(WysNalep);
    if (!height || *height <= 10 || Creating || !inRange(WysNalep, *height))
        return;
    m_labels.settings.WysNalI = *height;
    PodgladNal();
}

// A typed width outside the range reaches the main window as typed, without a refresh; the box
// clamps it when it loses the focus, which runs this handler again.
void TNal2::SzerKKChange()
{
    const std::optional<int> width = typedNumber(SzerKK);
    if (!width)
        return;
    if (!Creating && inRange(SzerKK, *width))
        PodgladNal();
    m_labels.settings.SzerKKI = SzerKK->currentValue();
}

void TNal2::Button1Click()
{
    m_main.printTestPage();
}
