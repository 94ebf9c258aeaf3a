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
#include <QPageSize>
#include <QPdfWriter>
#include <qcustomplot.h>

#include <algorithm>
#include <atomic>
#include <future>
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
}

ReportDocument::~ReportDocument() = default;

void ReportDocument::AddPart(ReportPart& part)
{
    parts_.push_back(&part);
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
    writer.setPageSize(QPageSize(PaperOf(request_.paper)));
    writer.setPageMargins(QMarginsF(15.0, 12.0, 15.0, 12.0), QPageLayout::Millimeter);
    writer.setPageOrientation(QPageLayout::Portrait);
    const QString title = name_ + QStringLiteral(": ") + fileName_;
    writer.setTitle(title);
    writer.setCreator(ReportProgram());
    writer.setDocumentXmpMetadata(XmpMetadata(title, ReportProgram(), request_.analysisTime));
}

/** What a report being written holds between its set-up steps and pages. */
struct ReportDocument::Writing {
    /** Stops the checksum, whose thread the future's end then waits for, when the report ends before it is needed. */
    ~Writing() { *stop = true; }

    std::shared_ptr<std::atomic<bool>> stop = std::make_shared<std::atomic<bool>>(false);
    std::future<std::pair<ProfileFileFacts, QString>> reading; ///< the checksum's facts, or why they are missing
    std::vector<std::pair<ReportPart*, int>> setUp;            ///< the graph steps, in order, before the two text steps
    int setUpDone = 0;
    QBuffer buffer;
    std::unique_ptr<QPdfWriter> writer;
    std::unique_ptr<TextPages> first; ///< the pages before the graphs
    std::unique_ptr<TextPages> last;  ///< the pages after them
    std::vector<ReportPart*> graphs;  ///< the parts with a graph
    QCPPainter painter;
    std::unique_ptr<PageFrame> frame;
    double setUpShare = 0.0; ///< of the progress
    int pages = 0;
    int drawn = 0;

    int SetUpSteps() const { return static_cast<int>(setUp.size()) + 2; }
};

void ReportDocument::DrawGraphPage(int graphPage)
{
    Writing& w = *writing_;
    ReportPart* part = w.graphs[static_cast<std::size_t>(graphPage / pager_.Pages())];
    const int page = graphPage % pager_.Pages();
    const QRectF body = w.frame->Begin(QPageLayout::Landscape);
    const QRectF area = pager_.DrawNote(w.painter, body, page, part->GraphName());
    w.painter.save();
    w.painter.translate(area.topLeft());
    part->DrawGraph(w.painter, pager_.Start(page), pager_.End(page), static_cast<int>(area.width()),
                    static_cast<int>(area.height()));
    w.painter.restore();
}

void ReportDocument::Begin()
{
    writing_ = std::make_unique<Writing>();
    Writing& w = *writing_;
    // The checksum reads the whole profile file; another thread makes it while
    // the graphs are prepared (which needs this one: the plot is a widget) and
    // the closing pages laid out.
    w.reading = std::async(std::launch::async, [path = ReportString(request_.profilePath), stop = w.stop] {
        std::pair<ProfileFileFacts, QString> read;
        ReadProfileFileFacts(path, *stop, read.first, read.second);
        return read;
    });
    for (ReportPart* part : parts_) {
        for (int step = 0; step < part->GraphSteps(); ++step)
            w.setUp.emplace_back(part, step);
        if (part->GraphSteps() > 0)
            w.graphs.push_back(part);
    }
    // Each set-up step counts as a page, against the fewest pages the report can have.
    const int fewestPages = pager_.Pages() * static_cast<int>(w.graphs.size()) + 2;
    w.setUpShare = static_cast<double>(w.SetUpSteps()) / static_cast<double>(w.SetUpSteps() + fewestPages);
}

bool ReportDocument::SetUp() const
{
    return writing_ && writing_->setUpDone == writing_->SetUpSteps();
}

bool ReportDocument::SetUpNext(QString& error)
{
    Writing& w = *writing_;
    const int step = w.setUpDone++;
    if (step < static_cast<int>(w.setUp.size())) {
        const auto [part, partStep] = w.setUp[static_cast<std::size_t>(step)];
        part->PrepareGraph(partStep);
        return true;
    }
    if (step == static_cast<int>(w.setUp.size())) {
        LayOutClosing();
        return true;
    }
    if (!LayOutOpening(error)) {
        writing_.reset();
        return false;
    }
    return true;
}

void ReportDocument::LayOutClosing()
{
    Writing& w = *writing_;
    w.buffer.open(QIODevice::WriteOnly);
    w.writer = std::make_unique<QPdfWriter>(&w.buffer);
    SetUpWriter(*w.writer);
    ReportText closing;
    for (const ReportPart* part : parts_)
        part->WriteClosing(closing);
    WriteReproduction(closing);
    w.last = std::make_unique<TextPages>(closing, *w.writer, PageFrame::BodySize(*w.writer, QPageLayout::Portrait));
}

bool ReportDocument::LayOutOpening(QString& error)
{
    Writing& w = *writing_;
    // The profile section is the first to need the checksum.
    const auto [file, failure] = w.reading.get();
    if (!failure.isEmpty()) {
        error = failure;
        return false;
    }
    ReportText opening;
    WriteProfile(opening, file.size, file.sha256);
    for (const ReportPart* part : parts_)
        part->WriteOpening(opening, pager_);
    w.first = std::make_unique<TextPages>(opening, *w.writer, PageFrame::BodySize(*w.writer, QPageLayout::Portrait));

    if (!w.painter.begin(w.writer.get())) {
        error = QStringLiteral("The report's pages could not be started.");
        return false;
    }
    w.pages = w.first->Count() + pager_.Pages() * static_cast<int>(w.graphs.size()) + w.last->Count();
    w.frame = std::make_unique<PageFrame>(*w.writer, w.painter, name_, fileName_,
                                          ReportProgram() + QStringLiteral(" \u2014 analysis of ") +
                                              ReportString(UtcTimeText(request_.analysisTime)),
                                          w.pages);
    return true;
}

int ReportDocument::Percent() const
{
    if (!writing_)
        return 0;
    const Writing& w = *writing_;
    if (w.pages > 0 && w.drawn == w.pages)
        return 100;
    double done = w.setUpShare * w.setUpDone / w.SetUpSteps();
    if (w.pages > 0)
        done = w.setUpShare + (1.0 - w.setUpShare) * w.drawn / w.pages;
    return static_cast<int>(done * 100.0);
}

int ReportDocument::PageCount() const
{
    return writing_ ? writing_->pages : 0;
}

int ReportDocument::PagesDrawn() const
{
    return writing_ ? writing_->drawn : 0;
}

void ReportDocument::DrawNextPage()
{
    Writing& w = *writing_;
    const int page = w.drawn;
    const int graphPages = w.pages - w.first->Count() - w.last->Count();
    if (page < w.first->Count())
        w.first->Draw(w.painter, page, w.frame->Begin(QPageLayout::Portrait));
    else if (page < w.first->Count() + graphPages)
        DrawGraphPage(page - w.first->Count());
    else
        w.last->Draw(w.painter, page - w.first->Count() - graphPages, w.frame->Begin(QPageLayout::Portrait));
    ++w.drawn;
}

QByteArray ReportDocument::Finish()
{
    writing_->painter.end();
    QByteArray pdf = writing_->buffer.data();
    writing_.reset();
    FixVaryingStamps(pdf, request_.analysisTime);
    return pdf;
}

QByteArray ReportDocument::Bytes(QString& error)
{
    Begin();
    while (!SetUp()) {
        if (!SetUpNext(error))
            return {};
    }
    while (PagesDrawn() < PageCount())
        DrawNextPage();
    return Finish();
}

} // namespace zlm
