#include "report/PdfReport.h"

#include "analysis/CorrectionZones.h"
#include "analysis/CorrectionsTable.h"
#include "analysis/DisplayFormat.h"
#include "analysis/ResultsTable.h"
#include "commands/SafeFileWrite.h"
#include "commands/SessionState.h"
#include "graph/DeviationGraph.h"
#include "graph/GraphControl.h"
#include "profile_input/PathText.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace zlm {

namespace {

const QString kReportName = QStringLiteral("Evenrule (ZLM) straightedge report");
const QString kProgram = QStringLiteral("Evenrule (ZLM) " ZLM_VERSION);

/** Pages are laid out at screen resolution, as the graph measures its texts; the output stays vector. */
constexpr int kResolution = 96;
constexpr double kHeaderHeight = 24.0;
constexpr double kFooterHeight = 20.0;
constexpr double kGraphNoteHeight = 22.0;

/**
 * The report's font. Without shaping no ligature replaces "fi" or "fl", so a
 * search for "profile" finds the word in the PDF.
 */
QFont ReportFont(int pointSize)
{
    QFont font(QStringLiteral("DejaVu Sans"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QString FromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString Escaped(const std::string& text)
{
    return FromStd(text).toHtmlEscaped();
}

struct ProfileFileFacts {
    qint64 size = 0;
    QString sha256;
};

/** The size and SHA-256 of the profile file's bytes as they are on disk now. */
bool ReadProfileFileFacts(const QString& path, ProfileFileFacts& facts, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read the profile %1 for its checksum: %2").arg(path, file.errorString());
        return false;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 size = 0;
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0) {
            error = QStringLiteral("Cannot read the profile %1 for its checksum: %2").arg(path, file.errorString());
            return false;
        }
        if (got == 0)
            break;
        hash.addData(QByteArrayView(buffer, got));
        size += got;
    }
    facts.size = size;
    facts.sha256 = QString::fromLatin1(hash.result().toHex());
    return true;
}

/** The report's text parts as HTML for QTextDocument. */
class ReportText {
public:
    void Heading(const QString& text) { html_ += QStringLiteral("<h3>") + Escaped(text) + QStringLiteral("</h3>"); }
    void Paragraph(const QString& text) { html_ += QStringLiteral("<p>") + Escaped(text) + QStringLiteral("</p>"); }

    /** Lines of monospaced text kept as they are. */
    void Preformatted(const QString& text)
    {
        html_ += QStringLiteral("<pre style='font-size: 8pt'>") + Escaped(text) + QStringLiteral("</pre>");
    }

    void BeginFacts() { html_ += QStringLiteral("<table cellspacing='0' cellpadding='2' width='100%'>"); }
    void Fact(const QString& name, const QString& value, bool monospace = false)
    {
        html_ += QStringLiteral("<tr><td width='210'><b>") + Escaped(name) + QStringLiteral("</b></td><td>");
        html_ += monospace ? QStringLiteral("<tt>") + Escaped(value) + QStringLiteral("</tt>") : Escaped(value);
        html_ += QStringLiteral("</td></tr>");
    }
    void EndFacts() { html_ += QStringLiteral("</table>"); }

    /** A table with its header row repeated on every page it spans; a header's "(unit)" goes on a line of its own. */
    void Table(const TextTable& table)
    {
        html_ += QStringLiteral("<table border='1' cellspacing='0' cellpadding='2' width='100%' "
                                "style='border-collapse: collapse; border-color: #808080; font-size: 8pt'><thead><tr>");
        for (std::int32_t col = 0; col < table.Cols(); ++col) {
            QString header = Escaped(table.Cell(0, col));
            header.replace(QStringLiteral(" ("), QStringLiteral("<br>("));
            html_ += QStringLiteral("<th bgcolor='#e8e8e8'>") + header + QStringLiteral("</th>");
        }
        html_ += QStringLiteral("</tr></thead>");
        for (std::int32_t row = 1; row < table.Rows(); ++row) {
            html_ += QStringLiteral("<tr>");
            for (std::int32_t col = 0; col < table.Cols(); ++col)
                html_ += QStringLiteral("<td align='right'>") + Escaped(table.Cell(row, col)) + QStringLiteral("</td>");
            html_ += QStringLiteral("</tr>");
        }
        html_ += QStringLiteral("</table>");
    }

    const QString& Html() const { return html_; }

private:
    QString html_;
};

/** The characters of monospaced text that fit across a portrait page's body. */
constexpr int kCommandLineWidth = 84;

/**
 * A shell command broken between its words into lines of at most `width`
 * characters where it can be, each but the last ending in " \\", so that it can
 * be copied into a shell as it stands. Single-quoted words are never broken.
 */
QString ContinuedLines(const QString& command, int width)
{
    QStringList words;
    QString word;
    bool quoted = false;
    for (const QChar c : command) {
        if (c == u'\'')
            quoted = !quoted;
        if (c == u' ' && !quoted) {
            words.append(word);
            word.clear();
        } else {
            word += c;
        }
    }
    words.append(word);
    QString lines;
    QString line;
    bool lineHasWord = false;
    for (const QString& next : words) {
        if (lineHasWord && line.size() + 1 + next.size() + 2 > width) {
            lines += line + QStringLiteral(" \\\n");
            line = QStringLiteral("    ");
            lineHasWord = false;
        } else if (lineHasWord) {
            line += u' ';
        }
        line += next;
        lineHasWord = true;
    }
    return lines + line;
}

QString WithUnit(const std::string& number, const std::string& unit)
{
    return FromStd(number + " " + unit);
}

/** What the pages need to know of the run, worked out once. */
struct ReportFacts {
    QString fileName;
    QString footer;
    double profileLength = 0.0;
    double pageDistance = 0.0; ///< the distance each graph page spans
    int graphPages = 1;
    CorrectionSummary zones;
};

QString ProfileAndResultHtml(const SessionState& state, const ReportRequest& request, const ReportFacts& facts,
                             const ProfileFileFacts& file)
{
    const RunResults& results = state.results;
    const UnitTexts& units = state.units;
    const char separator = request.decimalSeparator;
    ReportText text;

    text.Heading(QStringLiteral("Profile"));
    text.BeginFacts();
    text.Fact(QStringLiteral("File name"), facts.fileName);
    // A long path may break after any "/" (a zero-width space, which copying and searching ignore).
    text.Fact(QStringLiteral("Full path"),
              FromStd(request.profilePath).replace(QChar(u'/'), QStringLiteral("/\u200B")));
    text.Fact(QStringLiteral("Size"), QString::number(file.size) + QStringLiteral(" bytes"));
    text.Fact(QStringLiteral("SHA-256"), file.sha256, true);
    text.Fact(QStringLiteral("Channel"), QString::number(state.channelRead));
    text.Fact(QStringLiteral("Points"), QString::number(results.pointCount));
    QString interval = WithUnit(PlainDecimalText(results.interval), units.length);
    if (state.profile.nativeInterval > 0.0 && !state.profile.nativeDistanceUnit.empty() &&
        state.profile.nativeDistanceUnit != units.length)
        interval +=
            QStringLiteral(" (%1 in the file)")
                .arg(WithUnit(PlainDecimalText(state.profile.nativeInterval), state.profile.nativeDistanceUnit));
    text.Fact(QStringLiteral("Sample interval"), interval);
    text.Fact(QStringLiteral("Profile length"),
              WithUnit(FormatNumber(facts.profileLength, "0.00", separator), units.length));
    text.Fact(QStringLiteral("Title"), FromStd(state.profileTitle));
    for (const auto& [name, value] : state.profile.headerFields)
        text.Fact(FromStd(name), FromStd(value));
    text.EndFacts();

    const StraightedgeMethod& method = results.method;
    text.Heading(QStringLiteral("Method"));
    text.BeginFacts();
    text.Fact(QStringLiteral("Base length"), WithUnit(PlainDecimalText(method.baseLength), units.length));
    text.Fact(QStringLiteral("Step"), method.continuous ? QStringLiteral("continuous (one sample interval)")
                                                        : WithUnit(PlainDecimalText(method.step), units.length));
    text.Fact(QStringLiteral("Tolerance"), WithUnit(PlainDecimalText(method.tolerance), units.deviation));
    text.Fact(QStringLiteral("Unit system"),
              method.units == UnitSystem::SI ? QStringLiteral("SI (m, mm)") : QStringLiteral("US (ft, in)"));
    if (results.HasSectionSummary())
        text.Fact(QStringLiteral("Section length"), WithUnit(PlainDecimalText(results.sectionLength), units.length));
    text.EndFacts();

    text.Heading(QStringLiteral("Result"));
    text.BeginFacts();
    text.Fact(QStringLiteral("Placements"), QString::number(results.placements.size()));
    text.Fact(QStringLiteral("Exceeding placements"), QString::number(results.exceedingCount));
    text.Fact(QStringLiteral("Percent exceeding overall"),
              FromStd(FormatNumber(results.overallPercentExceeding, "#0.00", separator)) + QStringLiteral("%"));
    text.Fact(QStringLiteral("Percent defective length"),
              FromStd(FormatNumber(facts.zones.percentDefectiveLength, "#0.00", separator)) + QStringLiteral("%"));
    text.Fact(QStringLiteral("Exceedance zones"), QString::number(facts.zones.zones.size()));
    text.Fact(QStringLiteral("Total zone length"),
              WithUnit(FormatNumber(facts.zones.totalLength, "0.00", separator), units.length));
    text.EndFacts();
    if (results.HasSectionSummary()) {
        text.Heading(QStringLiteral("Sections"));
        text.Table(ResultsTableText(results, units, separator));
    }

    text.Heading(QStringLiteral("Deviation graph"));
    text.Paragraph(QStringLiteral("The graph follows on %1 landscape page%2, each covering at most %3 %4 of road, "
                                  "with the tolerance line, the exceedance zones shaded and the section lines.")
                       .arg(facts.graphPages)
                       .arg(facts.graphPages == 1 ? QString() : QStringLiteral("s"))
                       .arg(GraphPageDistanceText(results.method.units))
                       .arg(FromStd(units.length)));
    return text.Html();
}

QString CorrectionsAndReproductionHtml(const SessionState& state, const ReportRequest& request,
                                       const ReportFacts& facts)
{
    ReportText text;
    text.Heading(QStringLiteral("Corrections"));
    if (facts.zones.zones.empty()) {
        text.Paragraph(QStringLiteral("No placement exceeds the tolerance: there is nothing to correct."));
    } else {
        text.Paragraph(QStringLiteral("Each zone joins exceeding placements whose spans overlap or touch; the worst "
                                      "placement's supports and low point show where to grind or fill."));
        text.Table(CorrectionsTable(facts.zones, state.units, request.decimalSeparator));
    }

    text.Heading(QStringLiteral("Reproducing this report"));
    text.BeginFacts();
    text.Fact(QStringLiteral("Program"), kProgram);
    text.Fact(QStringLiteral("Analysis time"), FromStd(UtcTimeText(request.analysisTime)));
    text.EndFacts();
    text.Paragraph(QStringLiteral("This command line, run on a file with the SHA-256 above, repeats the analysis:"));
    text.Preformatted(ContinuedLines(FromStd(request.commandLine), kCommandLineWidth));
    return text.Html();
}

/** A text part of the report laid out in pages of the body's size. */
class TextPages {
public:
    TextPages(const QString& html, QPaintDevice& device, const QSizeF& body)
    {
        document_.setDefaultFont(ReportFont(9));
        document_.documentLayout()->setPaintDevice(&device);
        document_.setDocumentMargin(0.0);
        // Numbers and headers are never split inside a word; long paths break at their "/".
        QTextOption option = document_.defaultTextOption();
        option.setWrapMode(QTextOption::WordWrap);
        document_.setDefaultTextOption(option);
        document_.setHtml(html);
        document_.setPageSize(body);
    }

    int Count() const { return document_.pageCount(); }

    void Draw(QPainter& painter, int page, const QRectF& body)
    {
        const QRectF window(0.0, page * document_.pageSize().height(), body.width(), body.height());
        painter.save();
        painter.translate(body.topLeft());
        painter.setClipRect(QRectF(QPointF(0.0, 0.0), body.size()));
        painter.translate(0.0, -window.top());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = window;
        context.palette.setColor(QPalette::Text, Qt::black);
        document_.documentLayout()->draw(&painter, context);
        painter.restore();
    }

private:
    QTextDocument document_;
};

/** Starts each page with the running header and footer and says where its body is. */
class PageFrame {
public:
    PageFrame(QPdfWriter& writer, QPainter& painter, const ReportFacts& facts, int pageCount)
        : writer_(writer), painter_(painter), facts_(facts), pageCount_(pageCount)
    {
    }

    QRectF Begin(QPageLayout::Orientation orientation)
    {
        if (page_ > 0) {
            writer_.setPageOrientation(orientation);
            writer_.newPage();
        }
        ++page_;
        const QSizeF size = writer_.pageLayout().paintRectPixels(writer_.resolution()).size();
        const QFont font = ReportFont(8);
        painter_.save();
        painter_.setPen(Qt::black);
        const QRectF header(0.0, 0.0, size.width(), kHeaderHeight - 6.0);
        QFont bold = font;
        bold.setBold(true);
        painter_.setFont(bold);
        painter_.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, kReportName);
        painter_.setFont(font);
        // A long file name is shortened in its middle rather than run into the texts beside it.
        const QString fileName =
            QFontMetricsF(font, &writer_).elidedText(facts_.fileName, Qt::ElideMiddle, size.width() * 0.3);
        painter_.drawText(header, Qt::AlignHCenter | Qt::AlignVCenter, fileName);
        painter_.drawText(header, Qt::AlignRight | Qt::AlignVCenter,
                          QStringLiteral("Page %1 of %2").arg(page_).arg(pageCount_));
        painter_.setPen(QPen(QColor(128, 128, 128), 0.75));
        painter_.drawLine(QPointF(0.0, kHeaderHeight - 4.0), QPointF(size.width(), kHeaderHeight - 4.0));
        const double footerTop = size.height() - kFooterHeight;
        painter_.drawLine(QPointF(0.0, footerTop + 4.0), QPointF(size.width(), footerTop + 4.0));
        painter_.setPen(Qt::black);
        painter_.drawText(QRectF(0.0, footerTop + 6.0, size.width(), kFooterHeight - 6.0),
                          Qt::AlignLeft | Qt::AlignVCenter, facts_.footer);
        painter_.restore();
        return QRectF(0.0, kHeaderHeight, size.width(), size.height() - kHeaderHeight - kFooterHeight);
    }

    /** The body of a page in the given orientation, before any page is begun. */
    static QSizeF BodySize(const QPdfWriter& writer, QPageLayout::Orientation orientation)
    {
        QPageLayout layout = writer.pageLayout();
        layout.setOrientation(orientation);
        const QSizeF size = layout.paintRectPixels(writer.resolution()).size();
        return QSizeF(size.width(), size.height() - kHeaderHeight - kFooterHeight);
    }

private:
    QPdfWriter& writer_;
    QPainter& painter_;
    const ReportFacts& facts_;
    int pageCount_;
    int page_ = 0;
};

QPageSize::PageSizeId PaperOf(PaperSize paper)
{
    switch (paper) {
    case PaperSize::A4:
        return QPageSize::A4;
    case PaperSize::Letter:
        return QPageSize::Letter;
    case PaperSize::LocaleDefault:
        break;
    }
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
}

/** A PDF date of the analysis time ("D:20240601120000Z"). */
QByteArray PdfDate(std::int64_t seconds)
{
    const QDateTime at = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
    return "D:" + at.toString(QStringLiteral("yyyyMMddhhmmss")).toLatin1();
}

/** XMP metadata naming the document and its dates, fixed by the analysis time rather than the clock. */
QByteArray XmpMetadata(const QString& title, std::int64_t seconds)
{
    const QString date = QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(Qt::ISODate);
    const QString xmp =
        QStringLiteral("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
                       "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
                       "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
                       "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/' "
                       "xmlns:xmp='http://ns.adobe.com/xap/1.0/'>\n"
                       "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li></rdf:Alt></dc:title>\n"
                       "<xmp:CreatorTool>%2</xmp:CreatorTool>\n"
                       "<xmp:CreateDate>%3</xmp:CreateDate>\n"
                       "<xmp:ModifyDate>%3</xmp:ModifyDate>\n"
                       "<xmp:MetadataDate>%3</xmp:MetadataDate>\n"
                       "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end='w'?>")
            .arg(title.toHtmlEscaped(), kProgram.toHtmlEscaped(), date);
    return xmp.toUtf8();
}

/**
 * Qt stamps the document with the clock's time and a random identifier. Both
 * are replaced in place by texts of the same length (so the cross-reference
 * offsets stay right): the time by the analysis time, the identifier by a hash
 * of the document, so that the same report is the same bytes.
 */
void FixVaryingStamps(QByteArray& pdf, std::int64_t seconds)
{
    static const QRegularExpression creationDate(QStringLiteral("/CreationDate \\(D:(\\d{14})"));
    const QByteArray date = PdfDate(seconds).mid(2);
    qsizetype from = 0;
    for (;;) {
        const QRegularExpressionMatch match = creationDate.match(QString::fromLatin1(pdf), from);
        if (!match.hasMatch())
            break;
        pdf.replace(match.capturedStart(1), 14, date);
        from = match.capturedEnd(1);
    }
    static const QRegularExpression documentId(QStringLiteral("/ID \\[\\s*<([0-9a-fA-F]+)>\\s*<([0-9a-fA-F]+)>"));
    const QRegularExpressionMatch id = documentId.match(QString::fromLatin1(pdf));
    if (!id.hasMatch())
        return;
    QByteArray withoutId = pdf;
    withoutId.replace(id.capturedStart(1), id.capturedLength(1), QByteArray(id.capturedLength(1), '0'));
    withoutId.replace(id.capturedStart(2), id.capturedLength(2), QByteArray(id.capturedLength(2), '0'));
    const QByteArray digest = QCryptographicHash::hash(withoutId, QCryptographicHash::Sha256).toHex();
    pdf.replace(id.capturedStart(1), id.capturedLength(1), digest.left(id.capturedLength(1)));
    pdf.replace(id.capturedStart(2), id.capturedLength(2), digest.left(id.capturedLength(2)));
}

} // namespace

double GraphPageDistance(UnitSystem units)
{
    return units == UnitSystem::SI ? kSiGraphPageDistance : kUsGraphPageDistance;
}

QString GraphPageDistanceText(UnitSystem units)
{
    // Whole numbers with their thousands grouped as the text writes them: "300", "1,000".
    QString text = QString::number(static_cast<qint64>(GraphPageDistance(units)));
    for (qsizetype at = text.size() - 3; at > 0; at -= 3)
        text.insert(at, u',');
    return text;
}

QByteArray PdfReportBytes(const SessionState& state, const ReportRequest& request, QString& error)
{
    const QString profilePath = FromStd(request.profilePath);
    ProfileFileFacts file;
    if (!ReadProfileFileFacts(profilePath, file, error))
        return {};

    const RunResults& results = state.results;
    ReportFacts facts;
    std::string directory;
    facts.fileName = FromStd(SplitFilePath(request.profilePath, directory));
    facts.footer = kProgram + QStringLiteral(" \u2014 analysis of ") + FromStd(UtcTimeText(request.analysisTime));
    facts.profileLength = static_cast<double>(std::max(results.pointCount - 1, 0)) * results.interval;
    facts.zones = FindCorrectionZones(results, state.workingElevations);
    // A road shorter than a page fills its page; a longer one is cut into pages of
    // the full distance, so every page has the same scale.
    const double limit = GraphPageDistance(results.method.units);
    const bool paged = std::isfinite(facts.profileLength) && facts.profileLength > limit;
    facts.pageDistance = paged || !(facts.profileLength > 0.0) ? limit : facts.profileLength;
    facts.graphPages = paged ? static_cast<int>(std::ceil(facts.profileLength / limit)) : 1;

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(PaperOf(request.paper)));
    writer.setPageMargins(QMarginsF(15.0, 12.0, 15.0, 12.0), QPageLayout::Millimeter);
    writer.setPageOrientation(QPageLayout::Portrait);
    const QString title = kReportName + QStringLiteral(": ") + facts.fileName;
    writer.setTitle(title);
    writer.setCreator(kProgram);
    writer.setDocumentXmpMetadata(XmpMetadata(title, request.analysisTime));

    const QSizeF textBody = PageFrame::BodySize(writer, QPageLayout::Portrait);
    TextPages first(ProfileAndResultHtml(state, request, facts, file), writer, textBody);
    TextPages last(CorrectionsAndReproductionHtml(state, request, facts), writer, textBody);

    GraphControl graph;
    FillDeviationGraph(graph, state, profilePath, request.decimalSeparator);
    graph.Redraw();

    QCPPainter painter;
    if (!painter.begin(&writer)) {
        error = QStringLiteral("The report's pages could not be started.");
        return {};
    }
    PageFrame frame(writer, painter, facts, first.Count() + facts.graphPages + last.Count());
    for (int page = 0; page < first.Count(); ++page)
        first.Draw(painter, page, frame.Begin(QPageLayout::Portrait));

    const QFont noteFont = ReportFont(8);
    const char separator = request.decimalSeparator;
    for (int page = 0; page < facts.graphPages; ++page) {
        const double start = page * facts.pageDistance;
        const double end = start + facts.pageDistance;
        graph.SetZoomWindow(start, end);
        const QRectF body = frame.Begin(QPageLayout::Landscape);
        painter.save();
        painter.setFont(noteFont);
        painter.setPen(Qt::black);
        const QString unit = FromStd(state.units.length);
        painter.drawText(
            QRectF(body.left(), body.top(), body.width(), kGraphNoteHeight), Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("Deviation graph %1 of %2: distance %3 to %4 %5 of %6 %5 (each page covers at most %7 %5)")
                .arg(page + 1)
                .arg(facts.graphPages)
                .arg(FromStd(FormatNumber(start, "0.00", separator)),
                     FromStd(FormatNumber(std::min(end, facts.profileLength), "0.00", separator)), unit,
                     FromStd(FormatNumber(facts.profileLength, "0.00", separator)),
                     GraphPageDistanceText(results.method.units)));
        painter.translate(body.left(), body.top() + kGraphNoteHeight);
        graph.Render(painter, static_cast<int>(body.width()), static_cast<int>(body.height() - kGraphNoteHeight));
        painter.restore();
    }

    for (int page = 0; page < last.Count(); ++page)
        last.Draw(painter, page, frame.Begin(QPageLayout::Portrait));
    painter.end();

    QByteArray pdf = buffer.data();
    FixVaryingStamps(pdf, request.analysisTime);
    return pdf;
}

SaveResult WritePdfReport(const std::string& path, const SessionState& state, const ReportRequest& request)
{
    SaveResult result;
    QString error;
    const QByteArray pdf = PdfReportBytes(state, request, error);
    if (pdf.isEmpty()) {
        result.message = error.toStdString();
        return result;
    }
    const SafeWriteResult written = WriteFileSafely(path, std::string_view(pdf.constData(), pdf.size()));
    result.ok = written.ok;
    result.message = written.message;
    return result;
}

} // namespace zlm
