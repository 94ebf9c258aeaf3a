#include "report/ReportDocument.h"

#include "analysis/DisplayFormat.h"
#include "commands/ReportRequest.h"
#include "commands/SessionState.h"
#include "profile_input/PathText.h"
#include "report/PageFrame.h"
#include "report/PdfStamps.h"
#include "report/ReportPart.h"
#include "report/ReportStyle.h"
#include "report/ReportText.h"
#include "report/TextPages.h"
#include "ride_quality/RideQualityText.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <qcustomplot.h>

#include <algorithm>
#include <future>
#include <thread>
#include <utility>

namespace zlm {

namespace {

/** The characters of monospaced text that fit across a portrait page's body. */
constexpr int kCommandLineWidth = 84;

struct ProfileFileFacts {
    qint64 size = 0;
    QString sha256;
};

/**
 * The size and SHA-256 of the profile file's bytes as they are on disk now;
 * `error` says why when they cannot be read. Stops early, with no use for its
 * facts, once `stop` is set.
 */
void ReadProfileFileFacts(const QString& path, const std::atomic<bool>& stop, ProfileFileFacts& facts, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read the profile %1 for its checksum: %2").arg(path, file.errorString());
        return;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 size = 0;
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0) {
            error = QStringLiteral("Cannot read the profile %1 for its checksum: %2").arg(path, file.errorString());
            return;
        }
        if (got == 0 || stop)
            break;
        hash.addData(QByteArrayView(buffer, got));
        size += got;
    }
    facts.size = size;
    facts.sha256 = QString::fromLatin1(hash.result().toHex());
}

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
    return ReportString(number + " " + unit);
}

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

/** The report's pages: the paper, portrait, with their margins. */
QPageLayout PageLayoutOf(PaperSize paper)
{
    return QPageLayout(QPageSize(PaperOf(paper)), QPageLayout::Portrait, QMarginsF(15.0, 12.0, 15.0, 12.0),
                       QPageLayout::Millimeter);
}

/**
 * A graph page's recording, measured as the report's pages are (the graph lays
 * out its texts by the device's resolution), whatever the screen's resolution.
 */
class GraphRecording final : public QPicture {
protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return kReportResolution;
        default:
            return QPicture::metric(metric);
        }
    }
};

} // namespace

/** What the profile page says of the profile the report's analysis read, from that analysis's run. */
struct ReportDocument::AnalysedProfile {
    const ElevationProfile* profile = nullptr; ///< its header fields and native interval
    std::int32_t pointCount = 0;
    double interval = 0.0;
    UnitSystem units = UnitSystem::US;
    std::string lengthUnit;
    QString channels; ///< "Channel" and its value, or "Paths" and theirs
    QString channelsName;

    double Length() const { return static_cast<double>(std::max(pointCount - 1, 0)) * interval; }
};

namespace {

// The run's record of the profile it analysed: its point count, interval and channels.
ReportDocument::AnalysedProfile AnalysedProfileOf(const SessionState& state, ReportAnalysis analysis)
{
    ReportDocument::AnalysedProfile analysed;
    if (analysis == ReportAnalysis::RideQuality) {
        const RideQualitySlot& slot = state.rideQuality;
        analysed.profile = &slot.left;
        analysed.pointCount = slot.results.pointCount;
        analysed.interval = slot.results.interval;
        analysed.units = slot.results.method.units;
        analysed.lengthUnit = RideUnitTextsFor(analysed.units).length;
        if (slot.rightChannel == 0) {
            analysed.channelsName = QStringLiteral("Channel");
            analysed.channels = QString::number(slot.leftChannel);
        } else {
            analysed.channelsName = QStringLiteral("Paths");
            analysed.channels = QStringLiteral("%1 (left), %2 (right)").arg(slot.leftChannel).arg(slot.rightChannel);
        }
        return analysed;
    }
    analysed.profile = &state.profile;
    analysed.pointCount = state.straightedge.results.pointCount;
    analysed.interval = state.straightedge.results.interval;
    analysed.units = state.straightedge.results.method.units;
    analysed.lengthUnit = state.units.length;
    analysed.channelsName = QStringLiteral("Channel");
    analysed.channels = QString::number(state.channelRead);
    return analysed;
}

} // namespace

ReportDocument::ReportDocument(const SessionState& state, const ReportRequest& request, QString name)
    : state_(state), request_(request), name_(std::move(name)),
      analysed_(std::make_unique<AnalysedProfile>(AnalysedProfileOf(state, request.analysis))),
      profileLength_(analysed_->Length()),
      pager_(profileLength_, analysed_->units, ReportString(analysed_->lengthUnit), request.decimalSeparator)
{
    std::string directory;
    fileName_ = ReportString(SplitFilePath(request.profilePath, directory));
    const QSizeF body = PageFrame::BodySize(PageLayoutOf(request.paper), QPageLayout::Landscape);
    const QRectF area = GraphPager::GraphArea(QRectF(QPointF(0.0, kReportHeaderHeight), body));
    graphSize_ = QSize(static_cast<int>(area.width()), static_cast<int>(area.height()));
}

ReportDocument::~ReportDocument() = default;

void ReportDocument::AddPart(ReportPart& part)
{
    parts_.push_back(&part);
    for (int step = 0; step < part.GraphSteps(); ++step)
        setUp_.emplace_back(&part, step);
    if (part.GraphSteps() > 0) {
        graphs_.push_back(&part);
        recordings_.resize(static_cast<std::size_t>(GraphPages()));
    }
}

void ReportDocument::WriteProfile(ReportText& text, qint64 size, const QString& sha256) const
{
    const AnalysedProfile& analysed = *analysed_;
    const ElevationProfile& profile = *analysed.profile;
    text.Heading(QStringLiteral("Profile"));
    text.BeginFacts();
    text.Fact(QStringLiteral("File name"), fileName_);
    // A long path may break after any "/" (a zero-width space, which copying and searching ignore).
    text.Fact(QStringLiteral("Full path"),
              ReportString(request_.profilePath).replace(QChar(u'/'), QStringLiteral("/\u200B")));
    text.Fact(QStringLiteral("Size"), QString::number(size) + QStringLiteral(" bytes"));
    text.Fact(QStringLiteral("SHA-256"), sha256, true);
    text.Fact(analysed.channelsName, analysed.channels);
    text.Fact(QStringLiteral("Points"), QString::number(analysed.pointCount));
    QString interval = WithUnit(PlainDecimalText(analysed.interval), analysed.lengthUnit);
    if (profile.nativeInterval > 0.0 && !profile.nativeDistanceUnit.empty() &&
        profile.nativeDistanceUnit != analysed.lengthUnit)
        interval += QStringLiteral(" (%1 in the file)")
                        .arg(WithUnit(PlainDecimalText(profile.nativeInterval), profile.nativeDistanceUnit));
    text.Fact(QStringLiteral("Sample interval"), interval);
    text.Fact(QStringLiteral("Profile length"),
              WithUnit(FormatNumber(profileLength_, "0.00", request_.decimalSeparator), analysed.lengthUnit));
    text.Fact(QStringLiteral("Title"), ReportString(state_.profileTitle));
    for (const auto& [name, value] : profile.headerFields)
        text.Fact(ReportString(name), ReportString(value));
}

void ReportDocument::WriteReproduction(ReportText& text) const
{
    text.Heading(QStringLiteral("Reproducing this report"));
    text.BeginFacts();
    text.Fact(QStringLiteral("Program"), ReportProgram());
    text.Fact(QStringLiteral("Analysis time"), ReportString(UtcTimeText(request_.analysisTime)));
    text.Paragraph(QStringLiteral("This command line, run on a file with the SHA-256 above, repeats the analysis:"));
    text.Preformatted(ContinuedLines(ReportString(request_.commandLine), kCommandLineWidth));
}

void ReportDocument::SetUpWriter(QPdfWriter& writer) const
{
    writer.setResolution(kReportResolution);
    writer.setPageLayout(PageLayoutOf(request_.paper));
    const QString title = name_ + QStringLiteral(": ") + fileName_;
    writer.setTitle(title);
    writer.setCreator(ReportProgram());
    writer.setDocumentXmpMetadata(XmpMetadata(title, ReportProgram(), request_.analysisTime));
}

int ReportDocument::GraphPages() const
{
    return pager_.Pages() * static_cast<int>(graphs_.size());
}

bool ReportDocument::RecordNext()
{
    if (stopped_)
        return false;
    if (recorded_ < setUp_.size()) {
        const auto [part, step] = setUp_[recorded_++];
        part->PrepareGraph(step);
        ++stepsDone_;
        return true;
    }
    const int graphPage = static_cast<int>(recorded_ - setUp_.size());
    if (graphPage >= GraphPages())
        return false;
    ++recorded_;
    ReportPart* part = graphs_[static_cast<std::size_t>(graphPage / pager_.Pages())];
    const int page = graphPage % pager_.Pages();
    GraphRecording recording;
    {
        QCPPainter painter(&recording);
        part->DrawGraph(painter, pager_.Start(page), pager_.End(page), graphSize_.width(), graphSize_.height());
    }
    {
        const std::lock_guard<std::mutex> lock(pagesMutex_);
        // The writing thread plays its own copy of the recording's bytes.
        recordings_[static_cast<std::size_t>(graphPage)] = QByteArray(recording.data(), recording.size());
        ++recordingsReady_;
    }
    pageRecorded_.notify_one();
    ++stepsDone_;
    return true;
}

bool ReportDocument::TakeGraphPage(int graphPage, QPicture& picture)
{
    QByteArray recording;
    {
        std::unique_lock<std::mutex> lock(pagesMutex_);
        pageRecorded_.wait(lock, [&] { return stopped_ || recordingsReady_ > graphPage; });
        if (stopped_)
            return false;
        // Each recording is let go once drawn, so that a long road's pages are not all held at once.
        recording = std::exchange(recordings_[static_cast<std::size_t>(graphPage)], QByteArray());
    }
    picture.setData(recording.constData(), static_cast<uint>(recording.size()));
    return true;
}

void ReportDocument::Stop()
{
    {
        const std::lock_guard<std::mutex> lock(pagesMutex_);
        stopped_ = true;
    }
    pageRecorded_.notify_all();
}

QByteArray ReportDocument::Fail(QString& error, const QString& why)
{
    error = why;
    Stop();
    return {};
}

void ReportDocument::DrawGraphPage(QPainter& painter, PageFrame& frame, int graphPage, const QPicture& picture) const
{
    const ReportPart* part = graphs_[static_cast<std::size_t>(graphPage / pager_.Pages())];
    const QRectF area =
        pager_.DrawNote(painter, frame.Begin(QPageLayout::Landscape), graphPage % pager_.Pages(), part->GraphName());
    painter.save();
    painter.translate(area.topLeft());
    // A picture plays back scaled from the screen's resolution (a plain picture's) to the
    // page's; the recording is in the page's already, so the scaling is undone first.
    const QPicture screen;
    const double x = static_cast<double>(screen.logicalDpiX()) / painter.device()->logicalDpiX();
    const double y = static_cast<double>(screen.logicalDpiY()) / painter.device()->logicalDpiY();
    if (x != 1.0 || y != 1.0)
        painter.scale(x, y);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

QByteArray ReportDocument::Write(QString& error, const std::function<void()>& pageDone)
{
    // The checksum reads the whole profile file; another thread makes it while
    // the closing pages are laid out here.
    std::future<std::pair<ProfileFileFacts, QString>> reading =
        std::async(std::launch::async, [this, path = ReportString(request_.profilePath)] {
            std::pair<ProfileFileFacts, QString> read;
            ReadProfileFileFacts(path, stopped_, read.first, read.second);
            return read;
        });
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    SetUpWriter(writer);
    const QSizeF body = PageFrame::BodySize(writer, QPageLayout::Portrait);
    ReportText closing;
    for (const ReportPart* part : parts_)
        part->WriteClosing(closing);
    WriteReproduction(closing);
    const TextPages last(closing, writer, body);

    const auto [file, failure] = reading.get();
    if (!failure.isEmpty())
        return Fail(error, failure);
    if (stopped_)
        return {};
    ReportText opening;
    WriteProfile(opening, file.size, file.sha256);
    for (const ReportPart* part : parts_)
        part->WriteOpening(opening, pager_);
    const TextPages first(opening, writer, body);

    QPainter painter;
    if (!painter.begin(&writer))
        return Fail(error, QStringLiteral("The report's pages could not be started."));
    const int graphPages = GraphPages();
    const int pages = first.Count() + graphPages + last.Count();
    pageCount_ = pages;
    PageFrame frame(writer, painter, name_, fileName_,
                    ReportProgram() + QStringLiteral(" \u2014 analysis of ") +
                        ReportString(UtcTimeText(request_.analysisTime)),
                    pages);
    for (int page = 0; page < pages && !stopped_; ++page) {
        if (page < first.Count()) {
            first.Draw(painter, page, frame.Begin(QPageLayout::Portrait));
        } else if (page < first.Count() + graphPages) {
            QPicture recording;
            if (!TakeGraphPage(page - first.Count(), recording))
                break;
            DrawGraphPage(painter, frame, page - first.Count(), recording);
        } else {
            last.Draw(painter, page - first.Count() - graphPages, frame.Begin(QPageLayout::Portrait));
        }
        ++stepsDone_;
        if (pageDone)
            pageDone();
    }
    painter.end();
    if (stopped_)
        return {};
    QByteArray pdf = buffer.data();
    FixVaryingStamps(pdf, request_.analysisTime);
    ended_ = true;
    return pdf;
}

int ReportDocument::Percent() const
{
    // Until the text is laid out, the pages are counted as the fewest the report can have.
    const int pages = pageCount_ > 0 ? pageCount_.load() : GraphPages() + 2;
    const int steps = static_cast<int>(setUp_.size()) + GraphPages() + pages;
    int percent = ended_ ? 100 : std::min(99, stepsDone_ * 100 / std::max(steps, 1));
    int shown = shown_;
    while (percent > shown && !shown_.compare_exchange_weak(shown, percent)) {
    }
    return std::max(percent, shown);
}

QByteArray ReportDocument::Bytes(QString& error)
{
    QByteArray pdf;
    std::thread writing([&] { pdf = Write(error); });
    try {
        while (RecordNext()) {
        }
    } catch (...) {
        Stop();
        writing.join();
        throw;
    }
    writing.join();
    return pdf;
}

} // namespace zlm
