#include "batch/BatchRun.h"

#include "analysis/CorrectionZone.h"
#include "analysis/DisplayFormat.h"
#include "analysis/ResultsTable.h"
#include "batch/RideRun.h"
#include "commands/CorrectionsWriter.h"
#include "commands/OpenCommand.h"
#include "commands/ReportRequest.h"
#include "commands/SessionState.h"
#include "commands/SimulateCommand.h"
#include "commands/SummaryWriter.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace zlm {

namespace {

// What the options leave out of what a delimited profile needs, as the words of a message.
std::string MissingUnits(const NeededUnits& needed, const DelimitedUnits& given)
{
    std::string missing;
    const auto add = [&missing](bool absent, const char* what) {
        if (absent) {
            missing += (missing.empty() ? "" : ", ") + std::string(what);
        }
    };
    add(needed.elevationUnit && !given.elevationUnit, "its elevation unit");
    add(needed.distanceUnit && !given.distanceUnit,
        needed.interval ? "the unit of its sample interval" : "its distance unit");
    add(needed.interval && !given.interval, "its sample interval (it has no distance column)");
    return missing;
}

} // namespace

OpenOutcome ReadBatchProfile(const std::string& path, ChannelNumber channel, const BatchOptions& options,
                             bool strictChannel)
{
    ChannelNumber chosen = channel;
    const ChannelQuestion answerChannel = [chosen](ChannelNumber, const std::vector<std::string>&) { return chosen; };
    std::string unitsRefusal;
    const UnitsQuestion answerUnits = [&](const DelimitedProbeResult&, const NeededUnits& needed) {
        const std::string missing = MissingUnits(needed, options.columnUnits);
        if (!missing.empty()) {
            unitsRefusal =
                "The file's header does not give " + missing + ": give " +
                (needed.interval ? "--columns-units DIST,ELEV and --interval N" : "--columns-units DIST,ELEV");
            return std::optional<DelimitedUnits>();
        }
        return std::optional<DelimitedUnits>(options.columnUnits);
    };
    OpenOutcome opened = ReadProfileFile(path, chosen, answerChannel, options.method.units, answerUnits);
    if (opened.cancelled) {
        opened.message = std::move(unitsRefusal);
        return opened;
    }
    const auto count = static_cast<std::int32_t>(opened.channelNames.size());
    if (opened.loaded && channel > count && (strictChannel || channel > 2)) {
        OpenOutcome refused;
        refused.message = "The file has " + std::to_string(count) + (count == 1 ? " channel" : " channels") +
                          "; channel " + std::to_string(channel) + " was asked for";
        return refused;
    }
    return opened;
}

StraightedgeFileRun RunStraightedgeFile(const BatchOptions& options, ElevationProfile profile,
                                        const StraightedgeOutputs& outputs, char decimalSeparator,
                                        ProgressSink& progress)
{
    StraightedgeFileRun run;
    SessionState& state = run.state;
    state.straightedge.method = options.method;
    state.units = UnitTextsFor(options.method.units);
    state.profile = std::move(profile);
    const SimulationOutcome simulated =
        RunSimulation(state, options.sectionText, progress, {}, WorkingCopy::TakeProfile);
    if (!simulated.ran) {
        run.message = simulated.refusal;
        return run;
    }
    const ResultsTableText table(state.straightedge.results, state.units, decimalSeparator);
    if (outputs.summary && outputs.makeFolder && !outputs.summaryPath.empty()) {
        const std::filesystem::path folder = std::filesystem::path(outputs.summaryPath).parent_path();
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            run.message = "Unable to make the folder " + folder.string() + ": " + error.message();
            return run;
        }
    }
    if (outputs.summary && outputs.summaryPath.empty()) {
        run.summaryBytes = SummaryText(table, options.delimiter);
    } else if (outputs.summary) {
        if (const SaveResult saved = SaveSummary(outputs.summaryPath, table, options.delimiter); !saved.ok) {
            run.message = saved.message;
            return run;
        }
    }
    if (!outputs.correctionsPath.empty()) {
        const CorrectionSummary& zones = state.straightedge.results.zones;
        if (const SaveResult saved = SaveCorrections(outputs.correctionsPath, zones, state.units); !saved.ok) {
            run.message = saved.message;
            return run;
        }
    }
    run.ok = true;
    return run;
}

AnalysisTime BatchReportTime(const BatchOptions& options, const ReportWriter* reports)
{
    AnalysisTime time;
    if (options.reportPath.empty()) {
        time.ok = true;
        return time;
    }
    if (reports == nullptr) {
        time.message = "zlm-batch: reports are not available in this build";
        return time;
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    time = ChooseAnalysisTime(std::getenv("SOURCE_DATE_EPOCH"),
                              std::chrono::duration_cast<std::chrono::seconds>(now).count());
    if (!time.ok) {
        time.message = "zlm-batch: " + time.message;
    }
    return time;
}

ReportRequest BatchReportRequest(const BatchOptions& options, const AnalysisTime& time, char decimalSeparator)
{
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(options.profilePath, ignored);
    ReportRequest request;
    request.profilePath = absolute.empty() ? options.profilePath : absolute.lexically_normal().string();
    request.analysisTime = time.seconds;
    request.paper = options.paper;
    request.decimalSeparator = decimalSeparator;
    return request;
}

BatchOutcome RunBatch(const BatchOptions& options, char decimalSeparator, ProgressSink& progress, ReportWriter* reports)
{
    if (options.ride) {
        return RunRideBatch(options, decimalSeparator, progress, reports);
    }
    BatchOutcome outcome;

    // The report's time is settled before the run, so a bad SOURCE_DATE_EPOCH costs no analysis.
    const AnalysisTime analysisTime = BatchReportTime(options, reports);
    if (!analysisTime.ok) {
        outcome.message = analysisTime.message;
        return outcome;
    }

    OpenOutcome opened = ReadBatchProfile(options.profilePath, options.channel, options, false);
    if (!opened.loaded) {
        outcome.message = opened.message;
        return outcome;
    }
    StraightedgeOutputs outputs;
    outputs.summaryPath = options.outputPath;
    outputs.correctionsPath = options.correctionsPath;
    StraightedgeFileRun run =
        RunStraightedgeFile(options, std::move(opened.profile), outputs, decimalSeparator, progress);
    if (!run.ok) {
        outcome.message = run.message;
        return outcome;
    }
    SessionState& state = run.state;
    state.profileTitle = std::move(opened.title);
    state.profilePath = options.profilePath;
    state.channel = options.channel;
    // What the report and its reproducing command name: the channel read, and the units given.
    state.channelRead = ChannelRead(state.channel, opened.channelNames.size());
    if (ProfileFormatOf(options.profilePath) == ProfileFormat::Delimited) {
        state.delimitedUnits = options.columnUnits;
    }
    outcome.summary = std::move(run.summaryBytes);
    if (!options.correctionsPath.empty()) {
        outcome.defectiveLine =
            "Percent Defective Length = " +
            FormatNumber(state.straightedge.results.zones.percentDefectiveLength, "#0.00", decimalSeparator) + "%";
    }
    if (!options.reportPath.empty()) {
        ReportRequest request = BatchReportRequest(options, analysisTime, decimalSeparator);
        request.commandLine = ReproducingCommandLine(state, request.profilePath);
        const SaveResult saved = reports->Write(options.reportPath, state, request);
        if (!saved.ok) {
            outcome.message = saved.message;
            return outcome;
        }
    }
    outcome.exitCode = 0;
    outcome.overallPercentExceeding = state.straightedge.results.overallPercentExceeding;
    outcome.percentLine =
        "Percent Exceeded Threshold (" + PlainDecimalText(state.straightedge.results.method.tolerance) + " " +
        state.units.deviation +
        ") = " + FormatNumber(state.straightedge.results.overallPercentExceeding, "#0.00", decimalSeparator) +
        "% Overall";
    outcome.errorLines.push_back(outcome.percentLine);
    if (!outcome.defectiveLine.empty()) {
        outcome.errorLines.push_back(outcome.defectiveLine);
    }
    return outcome;
}

} // namespace zlm
