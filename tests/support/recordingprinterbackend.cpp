#include "recordingprinterbackend.h"

#include "platform/printing/devmode.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <QTextItem>

namespace {

// Records the calls that reach it, mapped to device pixels.
class RecordingPaintEngine : public QPaintEngine {
public:
    explicit RecordingPaintEngine(QList<DrawCall>& calls)
        : QPaintEngine(QPaintEngine::AllFeatures)
        , m_calls(calls)
    {
    }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & DirtyPen)
            m_pen = state.pen();
        if (state.state() & DirtyBrush)
            m_brush = state.brush();
        if (state.state() & DirtyFont)
            m_font = state.font();
        if (state.state() & DirtyBackgroundMode)
            m_opaque = state.backgroundMode() == Qt::OpaqueMode;
        if (state.state() & DirtyTransform)
            m_transform = state.transform();
    }

    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            DrawCall call;
            call.rect = m_transform.mapRect(rects[i]);
            if (m_brush.style() != Qt::NoBrush)
                call.brush = m_brush.color();
            if (m_pen.style() != Qt::NoPen)
                call.pen = m_pen.color();
            m_calls << call;
        }
    }
    void drawRects(const QRect* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QRectF rect(rects[i]);
            drawRects(&rect, 1);
        }
    }

    void drawTextItem(const QPointF& origin, const QTextItem& item) override
    {
        DrawCall call;
        call.kind = DrawCall::Text;
        call.rect = QRectF(m_transform.map(origin), QSizeF(item.width(), item.ascent()));
        call.text = item.text();
        call.font = m_font;
        call.opaque = m_opaque;
        m_calls << call;
    }

    void drawImage(const QRectF& target, const QImage& image, const QRectF&,
                   Qt::ImageConversionFlags) override
    {
        DrawCall call;
        call.kind = DrawCall::Image;
        call.rect = m_transform.mapRect(target);
        call.image = image;
        m_calls << call;
    }
    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override
    {
        drawImage(target, pixmap.toImage(), source, Qt::AutoColor);
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    // A path of rectangles, as bars are drawn, is recorded rectangle by rectangle.
    void drawPath(const QPainterPath& path) override
    {
        for (const QPolygonF& outline : path.toSubpathPolygons()) {
            const QRectF rect = outline.boundingRect();
            drawRects(&rect, 1);
        }
    }

private:
    QList<DrawCall>& m_calls;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    bool m_opaque = false;
    QTransform m_transform;
};

// An A4 page at the printer's resolution.
class RecordingPaintDevice : public QPaintDevice {
public:
    RecordingPaintDevice(int dpi, QList<DrawCall>& calls)
        : m_dpi(dpi)
        , m_engine(calls)
    {
    }
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return qRound(210 / 25.4 * m_dpi);
        case PdmHeight:
            return qRound(297 / 25.4 * m_dpi);
        case PdmWidthMM:
            return 210;
        case PdmHeightMM:
            return 297;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        default:
            return 1;
        }
    }

private:
    int m_dpi;
    mutable RecordingPaintEngine m_engine;
};

class RecordingDocument : public PrintDocument {
public:
    explicit RecordingDocument(RecordedDocument& record)
        : m_record(record)
        , m_device(record.resolution, record.calls)
    {
        m_painter.begin(&m_device);
    }
    ~RecordingDocument() override
    {
        if (m_record.state == RecordedDocument::Open)
            abort();
    }

    QPainter& painter() override { return m_painter; }
    // The sheet counts as printed once the caller's steps went through.
    void end(const SheetHandOver& handOver) override
    {
        m_painter.end();
        m_record.state = RecordedDocument::Aborted;
        handOver.prepared(QStringLiteral("recorded %1").arg(m_record.sheet));
        handOver.accepted(true);
        m_record.state = RecordedDocument::Ended;
        handOver.released();
    }
    void abort() override
    {
        m_painter.end();
        m_record.state = RecordedDocument::Aborted;
    }

private:
    RecordedDocument& m_record;
    RecordingPaintDevice m_device;
    QPainter m_painter;
};

} // namespace

QStringList RecordedDocument::texts() const
{
    QStringList texts;
    for (const DrawCall& call : calls)
        if (call.kind == DrawCall::Text)
            texts << call.text;
    return texts;
}

QList<DrawCall> RecordedDocument::rects() const
{
    QList<DrawCall> rects;
    for (const DrawCall& call : calls)
        if (call.kind == DrawCall::Rect)
            rects << call;
    return rects;
}

RecordingPrinterBackend::RecordingPrinterBackend(QList<Installed> printers, int defaultPrinter)
    : installed(std::move(printers))
    , defaultIndex(defaultPrinter)
{
}

QList<PrinterInfo> RecordingPrinterBackend::printers()
{
    QList<PrinterInfo> list;
    for (const Installed& printer : installed) {
        const QString device = printer.listName.section(QStringLiteral(" on "), 0, 0);
        const QString port = printer.listName.section(QStringLiteral(" on "), 1);
        list.append({printer.listName, device, QStringLiteral("recording"), port});
    }
    return list;
}

QByteArray RecordingPrinterBackend::driverSettings(const PrinterInfo& printer)
{
    ++driverSettingsCalls;
    for (const Installed& candidate : installed) {
        if (candidate.listName != printer.listName)
            continue;
        PrintSettings settings;
        settings.deviceName = printer.device;
        settings.resolution = candidate.resolution;
        settings.margins = margins;
        QByteArray block = DevMode::encode(settings);
        if (candidate.driverExtra >= 0) {
            block = block.left(DevMode::publicSize) + QByteArray(candidate.driverExtra, 'x');
            qToLittleEndian<quint16>(quint16(candidate.driverExtra),
                                     block.data() + DevMode::driverExtraOffset);
        }
        return block;
    }
    return {};
}

std::unique_ptr<PrintDocument> RecordingPrinterBackend::startDocument(const PrinterInfo& printer,
                                                                      const QByteArray& settings,
                                                                      const QString& title,
                                                                      int sheet)
{
    if (failStart || (failFrom > 0 && sheet >= failFrom))
        throw PrinterError(QStringLiteral("The printer is off"));
    RecordedDocument& record = documents.emplace_back();
    record.printer = printer.listName;
    record.title = title;
    record.sheet = sheet;
    record.settings = settings;
    record.resolution = DevMode::decode(settings).resolution;
    return std::make_unique<RecordingDocument>(record);
}

QList<RecordedDocument> RecordingPrinterBackend::ended() const
{
    QList<RecordedDocument> list;
    for (const RecordedDocument& document : documents)
        if (document.state == RecordedDocument::Ended)
            list << document;
    return list;
}

std::optional<PrinterSetupChoice> ScriptedPrinterSetup::exec(const QList<PrinterInfo>&,
                                                             const QString& printer,
                                                             const QByteArray& settings)
{
    ++opened;
    openedOn = printer;
    openedWith = settings;
    std::optional<PrinterSetupChoice> answer; // cancelled when the script has no answer left
    if (!answers.empty()) {
        answer.swap(answers.front());
        answers.pop_front();
    }
    return answer;
}
