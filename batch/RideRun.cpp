#include "batch/RideRun.h"

#include "analysis/DisplayFormat.h"
#include "batch/BatchRun.h"
#include "batch/SurveyRun.h"
#include "commands/OpenCommand.h"
#include "commands/ReportRequest.h"
#include "commands/SafeFileWrite.h"
#include "commands/SessionState.h"
#include "ride_quality/RideQualityText.h"

#include <cmath>

namespace zlm {

const char* const kRideSurveyHeader =
    "File,Channels,Points,Interval,Length,IRI Left,IRI Right,MRI,HRI,Localized Areas,Percent Localized,Error";

RideFileRun AnalyseRideFile(const std::string& path, const BatchOptions& options, ProgressSink& progress)
{
    RideFileRun run;
    RidePathsRead read = ReadRidePaths(options.ridePaths, [&](ChannelNumber channel) {
        OpenOutcome opened = ReadBatchProfile(path, channel, options, true);
        if (opened.loaded && run.title.empty()) {
            run.title = opened.title;
        }
        return opened;
    });
    if (!read.loaded) {
        run.message = std::move(read.message);
        return run;
    }
    run.paths = read.paths;
    const RideQualityMethod& method = options.rideMethod;
    if (const std::optional<std::string> refusal = PathsRefusal(read.left, read.right, method.units)) {
        run.message = *refusal;
        return run;
    }
    if (!options.sectionText.empty() && method.sectionLength == 0.0) {
        run.message = RideSectionRefusal(method.sectionLength, read.left.interval, method.units);
        return run;
    }
    RideQualityOutcome outcome =
        AnalyseRideQuality(read.left.elevations, read.right.elevations, read.left.interval, method, progress);
    if (!outcome.ok) {
        run.message = std::move(outcome.refusal);
        return run;
    }
    run.results = std::move(outcome.results);
    run.left = std::move(read.left);
    run.right = std::move(read.right);
    run.ok = true;
    return run;
}

std::string RideSurveyLine(const std::string& file, const RideFileRun& run, const BatchOptions& options)
{
    if (!run.ok) {
        return CsvField(file) + ",,,,,,,,,,," + CsvField(run.message) + "\r\n";
    }
    const RideQualityResults& r = run.results;
    const char* pattern = RideUnitTextsFor(r.method.units).pattern;
    const auto iri = [pattern](double value) {
        return std::isnan(value) ? std::string() : FormatNumber(value, pattern, '.');
    };
    std::string channels = std::to_string(run.paths.left);
    if (run.paths.right > 0) {
        channels += ' ';
        channels += std::to_string(run.paths.right);
    }
    std::string line = CsvField(file) + "," + channels + "," + std::to_string(r.pointCount) + "," +
                       FormatNumber(r.interval, "0.000000", '.') + "," + FormatNumber(r.ProfileLength(), "0.000", '.') +
                       "," + iri(r.iriLeft) + "," + iri(r.iriRight) + "," + iri(r.mri) + "," + iri(r.hri) + ",";
    if (options.rideMethod.localized) {
        line += std::to_string(r.areas.size()) + "," + FormatNumber(r.percentLocalized, "#0.00", '.');
    } else {
        line += ",";
    }
    return line + ",\r\n";
}

std::string WriteRideFiles(const RideQualityResults& results, const std::string& sectionsPath,
                           const std::string& localizedPath)
{
    if (!sectionsPath.empty()) {
        const SafeWriteResult saved = WriteFileSafely(sectionsPath, RideSectionsCsv(results));
        if (!saved.ok) {
            return saved.message;
        }
    }
    if (results.method.localized && !localizedPath.empty()) {
        const SafeWriteResult saved = WriteFileSafely(localizedPath, RoughAreasCsv(results));
        if (!saved.ok) {
            return saved.message;
        }
    }
    return {};
}

namespace {

/** The session a ride report is drawn from: the run's slot, with the channels and units it read. */
SessionState RideReportState(RideFileRun run, const BatchOptions& options)
{
    SessionState state;
    state.profileTitle = std::move(run.title);
    RideQualitySlot& slot = state.rideQuality;
    slot.method = run.results.method;
    slot.leftChannel = run.paths.left;
    slot.rightChannel = run.paths.right;
    slot.left = std::move(run.left);
    slot.right = std::move(run.right);
    slot.results = std::move(run.results);
    slot.valid = true;
    if (ProfileFormatOf(options.profilePath) == ProfileFormat::Delimited) {
        slot.delimitedUnits = options.columnUnits;
    }
    return state;
}

} // namespace

BatchOutcome RunRideBatch(const BatchOptions& options, char decimalSeparator, ProgressSink& progress,
                          ReportWriter* reports)
{
    BatchOutcome outcome;
    const AnalysisTime analysisTime = BatchReportTime(options, reports);
    if (!analysisTime.ok) {
        outcome.message = analysisTime.message;
        return outcome;
    }
    RideFileRun run = AnalyseRideFile(options.profilePath, options, progress);
    if (!run.ok) {
        outcome.message = run.message;
        return outcome;
    }
    if (options.outputPath.empty()) {
        outcome.summary = RideSectionsCsv(run.results);
    }
    const std::string failure = WriteRideFiles(run.results, options.outputPath, options.localizedPath);
    if (!failure.empty()) {
        outcome.message = failure;
        return outcome;
    }
    outcome.errorLines = RideOverallLines(run.results, decimalSeparator);
    if (!options.reportPath.empty()) {
        ReportRequest request = BatchReportRequest(options, analysisTime, decimalSeparator);
        request.analysis = ReportAnalysis::RideQuality;
        const SessionState state = RideReportState(std::move(run), options);
        request.commandLine = RideReproducingCommandLine(state, request.profilePath);
        const SaveResult saved = reports->Write(options.reportPath, state, request);
        if (!saved.ok) {
            outcome.message = saved.message;
            outcome.errorLines.clear();
            return outcome;
        }
    }
    outcome.exitCode = 0;
    return outcome;
}

} // namespace zlm
