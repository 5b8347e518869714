#include "labels/catalogueentry.h"

#include "platform/rounding.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

// Hundredths of a millimetre in one of each unit.
double hundredthsPer(QStringView unit)
{
    if (unit == u"mm")
        return 100;
    if (unit == u"cm")
        return 1000;
    if (unit == u"in")
        return 2540;
    if (unit == u"pc")
        return 2540 / 6.0;
    return 2540 / 72.0; // points, also when no unit is given
}

class TemplateReader {
public:
    explicit TemplateReader(QXmlStreamReader& xml)
        : m_xml(xml)
    {
    }

    // The <Template> element the reader stands on, to its end.
    CatalogueEntry read()
    {
        CatalogueEntry entry;
        LabelStock& stock = entry.stock;
        stock.maker = text("brand");
        stock.part = text("part");
        entry.equiv = text("equiv");
        entry.paperId = text("size");
        stock.paperWidth = length("width", 0);
        stock.paperHeight = length("height", 0);
        int labels = 0;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name().startsWith(u"Label-")) {
                ++labels;
                readLabel(entry);
            } else {
                m_xml.skipCurrentElement();
            }
        }
        if (!entry.equiv.isEmpty())
            entry.fault.reset(); // it is what the part it names is
        else if (labels == 0)
            fail(entry, LeftOutReason::Incomplete);
        else if (labels > 1)
            fail(entry, LeftOutReason::SeveralLayouts);
        return entry;
    }

private:
    QString text(const char* name) const
    {
        return m_xml.attributes().value(QLatin1String(name)).toString();
    }

    int length(const char* name, std::optional<int> absent)
    {
        const std::optional<int> value =
            catalogueLength(m_xml.attributes().value(QLatin1String(name)), absent);
        if (!value)
            m_incomplete = true;
        return value.value_or(0);
    }

    static void fail(CatalogueEntry& entry, LeftOutReason reason)
    {
        if (!entry.fault)
            entry.fault = reason;
    }

    void readLabel(CatalogueEntry& entry)
    {
        if (m_xml.name() != u"Label-rectangle") {
            fail(entry, LeftOutReason::NotRectangular);
            m_xml.skipCurrentElement();
            return;
        }
        LabelStock& stock = entry.stock;
        m_incomplete = false;
        stock.width = length("width", std::nullopt);
        stock.height = length("height", std::nullopt);
        int layouts = 0;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == u"Layout" && ++layouts == 1) {
                stock.columns = text("nx").toInt();
                stock.rows = text("ny").toInt();
                stock.left = length("x0", 0);
                stock.top = length("y0", 0);
                stock.columnPitch = length("dx", 0);
                stock.rowPitch = length("dy", 0);
            }
            m_xml.skipCurrentElement();
        }
        if (layouts > 1)
            fail(entry, LeftOutReason::SeveralLayouts);
        if (layouts == 0 || m_incomplete)
            fail(entry, LeftOutReason::Incomplete);
    }

    QXmlStreamReader& m_xml;
    bool m_incomplete = false;
};

CataloguePaper readPaper(const QXmlStreamAttributes& attributes)
{
    QString name = attributes.value(QLatin1String("_name")).toString();
    if (name.isEmpty())
        name = attributes.value(QLatin1String("name")).toString();
    return {name, catalogueLength(attributes.value(QLatin1String("width"))).value_or(0),
            catalogueLength(attributes.value(QLatin1String("height"))).value_or(0)};
}

} // namespace

void readCatalogueFile(QIODevice& file, QList<CatalogueEntry>& entries,
                       QHash<QString, CataloguePaper>& papers)
{
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement()) {
        if (xml.name() == u"Template") {
            entries << TemplateReader(xml).read();
        } else if (xml.name() == u"Paper-size") {
            const QString id = xml.attributes().value(QLatin1String("id")).toString();
            if (!papers.contains(id))
                papers.insert(id, readPaper(xml.attributes()));
            xml.skipCurrentElement();
        } else if (!xml.name().startsWith(u"Glabels-")) {
            xml.skipCurrentElement(); // neither a catalogue nor a part of one
        }
    }
}

std::optional<int> catalogueLength(QStringView text, std::optional<int> absent)
{
    static const QRegularExpression length(
        QStringLiteral(R"(^([-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?)\s*(pt|in|mm|cm|pc)?$)"));
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return absent;
    const QRegularExpressionMatch match = length.match(trimmed.toString());
    if (!match.hasMatch())
        return std::nullopt;
    return roundHalfEven(match.capturedView(1).toDouble() * hundredthsPer(match.capturedView(2)));
}
