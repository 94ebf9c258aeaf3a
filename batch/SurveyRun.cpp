#include "batch/SurveyRun.h"

#include "analysis/CorrectionZone.h"
#include "analysis/DisplayFormat.h"
#include "analysis/ResultsTable.h"
#include "batch/BatchRun.h"
#include "batch/RideRun.h"
#include "commands/CorrectionsWriter.h"
#include "commands/SessionState.h"
#include "commands/SimulateCommand.h"
#include "commands/SummaryWriter.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <mutex>
#include <new>
#include <set>
#include <system_error>
#include <thread>
#include <utility>

namespace zlm {

const char* const kSurveyHeader = "File,Channel,Points,Interval,Length,Placements,Exceeding,Percent Exceeding,"
                                  "Percent Defective Length,Zones,Error";

namespace {

constexpr const char* kLineEnd = "\r\n";

/** The lines of one entry and how many of them were analysed or refused. */
struct EntryLines {
    std::string text;
    std::size_t analysed = 0;
    std::size_t refused = 0;
};

// A refused line: the path, the channel, empty fields up to Error (one more for a ride survey), the reason.
void AddRefusal(EntryLines& lines, const BatchOptions& options, const std::string& path, const std::string& channel,
                const std::string& message)
{
    lines.text +=
        CsvField(path) + "," + channel + (options.ride ? ",,,,,,,,,," : ",,,,,,,,,") + CsvField(message) + kLineEnd;
    ++lines.refused;
}

// Analyses the wheel paths of one entry for a ride survey, writing its own files to the output folder.
EntryLines AnalyseRideEntry(const BatchOptions& options, const SurveyEntry& entry)
{
    EntryLines lines;
    NullProgress quiet;
    RideFileRun run = AnalyseRideFile(entry.path, options, quiet);
    if (run.ok && !options.outputDir.empty()) {
        const std::filesystem::path base = std::filesystem::path(options.outputDir) / entry.outputName;
        std::error_code error;
        std::filesystem::create_directories(base.parent_path(), error);
        run.message = error
                          ? "Unable to make the folder " + base.parent_path().string() + ": " + error.message()
                          : WriteRideFiles(run.results, base.string() + ".ride.csv", base.string() + ".localized.csv");
        run.ok = run.message.empty();
    }
    lines.text = RideSurveyLine(entry.path, run, options);
    ++(run.ok ? lines.analysed : lines.refused);
    return lines;
}

std::string CountText(std::int64_t count)
{
    return std::to_string(count);
}

// Where one channel's own files go in the output folder.
StraightedgeOutputs OwnFiles(const BatchOptions& options, const std::string& base)
{
    StraightedgeOutputs outputs;
    outputs.summary = !options.outputDir.empty();
    if (outputs.summary) {
        outputs.summaryPath = (std::filesystem::path(options.outputDir) / (base + ".txt")).string();
        outputs.makeFolder = true;
        if (options.surveyCorrections) {
            outputs.correctionsPath = (std::filesystem::path(options.outputDir) / (base + ".corrections.csv")).string();
        }
    }
    return outputs;
}

// Analyses one channel already read, adding its line.
void AnalyseChannel(const BatchOptions& options, const SurveyEntry& entry, ChannelNumber channel, bool severalChannels,
                    OpenOutcome opened, char decimalSeparator, EntryLines& lines)
{
    const std::string channelText = std::to_string(channel);
    const std::string base = entry.outputName + (severalChannels ? ".channel" + channelText : "");
    const StraightedgeOutputs outputs = OwnFiles(options, base);
    NullProgress quiet;
    const StraightedgeFileRun run =
        RunStraightedgeFile(options, std::move(opened.profile), outputs, decimalSeparator, quiet);
    if (!run.ok) {
        AddRefusal(lines, options, entry.path, channelText, run.message);
        return;
    }
    const StraightedgeResults& results = run.state.straightedge.results;
    const CorrectionSummary& zones = results.zones;
    const double length = static_cast<double>(results.pointCount - 1) * results.interval;
    lines.text += CsvField(entry.path) + "," + channelText + "," + CountText(results.pointCount) + "," +
                  FormatNumber(results.interval, "0.000000", '.') + "," + FormatNumber(length, "0.000", '.') + "," +
                  CountText(static_cast<std::int64_t>(results.placements.size())) + "," +
                  CountText(results.exceedingCount) + "," +
                  FormatNumber(results.overallPercentExceeding, "#0.00", '.') + "," +
                  FormatNumber(zones.percentDefectiveLength, "#0.00", '.') + "," +
                  CountText(static_cast<std::int64_t>(zones.zones.size())) + "," + kLineEnd;
    ++lines.analysed;
}

// Reads and analyses every wanted channel of one entry, one channel in memory at a time.
EntryLines AnalyseEntry(const BatchOptions& options, const SurveyEntry& entry, bool nameTaken, char decimalSeparator)
{
    EntryLines lines;
    if (!entry.refusal.empty()) {
        AddRefusal(lines, options, entry.path, "", entry.refusal);
        return lines;
    }
    if (nameTaken) {
        AddRefusal(lines, options, entry.path, "",
                   "An earlier profile of the survey has the same name, " + entry.outputName +
                       ": its files in the output folder would be overwritten");
        return lines;
    }
    if (options.ride) {
        return AnalyseRideEntry(options, entry);
    }
    const std::int32_t first = options.channelGiven ? options.channel : 1;
    OpenOutcome opened = ReadBatchProfile(entry.path, first, options, true);
    if (!opened.loaded) {
        AddRefusal(lines, options, entry.path, "", opened.message);
        return lines;
    }
    const auto count = static_cast<std::int32_t>(opened.channelNames.size());
    const std::int32_t last = options.channelGiven ? first : count;
    AnalyseChannel(options, entry, first, count > 1, std::move(opened), decimalSeparator, lines);
    for (ChannelNumber channel = first + 1; channel <= last; ++channel) {
        OpenOutcome next = ReadBatchProfile(entry.path, channel, options, true);
        if (!next.loaded) {
            AddRefusal(lines, options, entry.path, std::to_string(channel), next.message);
            continue;
        }
        AnalyseChannel(options, entry, channel, true, std::move(next), decimalSeparator, lines);
    }
    return lines;
}

// The entries whose outputName an earlier entry already has (only when they would write outputs).
std::vector<bool> TakenNames(const BatchOptions& options, const std::vector<SurveyEntry>& entries)
{
    std::vector<bool> taken(entries.size(), false);
    if (options.outputDir.empty()) {
        return taken;
    }
    std::set<std::string> names;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].refusal.empty()) {
            taken[i] = !names.insert(entries[i].outputName).second;
        }
    }
    return taken;
}

} // namespace

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

SurveyOutcome RunSurvey(const BatchOptions& options, const std::vector<SurveyEntry>& entries, unsigned threads,
                        char decimalSeparator, const SurveyProgress& progress)
{
    const std::vector<bool> taken = TakenNames(options, entries);
    std::vector<EntryLines> results(entries.size());
    std::atomic<std::size_t> next{0};
    std::size_t done = 0;
    std::mutex doneMutex;

    const auto work = [&] {
        for (std::size_t i = next++; i < entries.size(); i = next++) {
            try {
                results[i] = AnalyseEntry(options, entries[i], taken[i], decimalSeparator);
            } catch (const std::bad_alloc&) {
                results[i] = EntryLines{};
                AddRefusal(results[i], options, entries[i].path, "", "Not enough memory to analyse the profile");
            } catch (const std::exception& error) {
                results[i] = EntryLines{};
                AddRefusal(results[i], options, entries[i].path, "", error.what());
            }
            const std::lock_guard lock(doneMutex);
            ++done;
            if (progress) {
                progress(done, entries.size());
            }
        }
    };
    const unsigned count = std::max(1u, std::min<unsigned>(threads, static_cast<unsigned>(entries.size())));
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < count; ++t) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // the threads already started, this one included, share the work
        }
    }
    work();
    for (std::thread& worker : workers) {
        worker.join();
    }

    SurveyOutcome outcome;
    outcome.summary = std::string(options.ride ? kRideSurveyHeader : kSurveyHeader) + kLineEnd;
    for (EntryLines& lines : results) {
        outcome.summary += lines.text;
        outcome.analysed += lines.analysed;
        outcome.refused += lines.refused;
        lines.text = std::string();
    }
    return outcome;
}

} // namespace zlm
