// zlm-batch: the Simulate command and Save As without a window, for scripts and many files.

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/ReportModule.h"
#include "batch/SurveyFiles.h"
#include "batch/SurveyProgressLine.h"
#include "batch/SurveyRun.h"
#include "batch/TerminalProgress.h"
#include "commands/ReportRequest.h"
#include "commands/SafeFileWrite.h"

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using zlm::WriteAll;

void WriteError(const std::string& text)
{
    int ignored = 0;
    WriteAll(STDERR_FILENO, text, ignored);
}

/** The user's decimal separator from the environment's locale; "." under LC_ALL=C. */
char DecimalSeparatorFromEnvironment()
{
    std::setlocale(LC_ALL, "");
    const char* point = std::localeconv()->decimal_point;
    const char separator = (point != nullptr && std::strlen(point) == 1) ? point[0] : '.';
    // Numbers are read and written by ZLM's own rules; keep the C library's number
    // handling as it was, so nothing else changes with the locale.
    std::setlocale(LC_NUMERIC, "C");
    return separator;
}

/** A survey: every profile analysed on all cores, the summary written safely. */
int RunSurveyCommand(const zlm::BatchOptions& options, char separator)
{
    const std::vector<zlm::SurveyEntry> entries =
        zlm::ListSurveyProfiles(options.profilePaths, options.recursive, {options.summaryPath, options.outputDir});
    zlm::SurveyProgressLine line(STDERR_FILENO);
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    const unsigned cores = std::thread::hardware_concurrency();
    const zlm::SurveyOutcome outcome =
        zlm::RunSurvey(options, entries, cores == 0 ? 1 : cores, separator, [&](std::size_t done, std::size_t total) {
            if (terminal) {
                line.Show(done, total);
            }
        });
    line.Clear();
    const zlm::SafeWriteResult saved = zlm::WriteFileSafely(options.summaryPath, outcome.summary);
    if (!saved.ok) {
        WriteError(saved.message + "\n");
        return 1;
    }
    WriteError("Survey: " + std::to_string(outcome.analysed) + " analysed, " + std::to_string(outcome.refused) +
               " refused\n");
    return outcome.refused == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    // A closed pipe must come back as a write error with a message, not end the program silently.
    std::signal(SIGPIPE, SIG_IGN);
    // Past a file-size limit a write then fails with EFBIG, which is reported,
    // instead of the signal ending the program with a temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const char separator = DecimalSeparatorFromEnvironment();

    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const zlm::ParsedArguments parsed = zlm::ParseBatchArguments(arguments);
    if (parsed.status == zlm::ArgumentsStatus::Help || parsed.status == zlm::ArgumentsStatus::Version) {
        const std::string text =
            parsed.status == zlm::ArgumentsStatus::Help ? zlm::BatchUsage() : std::string("zlm " ZLM_VERSION "\n");
        int error = 0;
        if (!WriteAll(STDOUT_FILENO, text, error)) {
            WriteError(std::string("zlm-batch: could not write to standard output: ") + std::strerror(error) + "\n");
            return 1;
        }
        return 0;
    }
    if (parsed.status == zlm::ArgumentsStatus::UsageError) {
        WriteError("zlm-batch: " + parsed.error + "\n\n" + zlm::BatchUsage());
        return 2;
    }

    // Only a report loads its module, and Qt with it.
    std::unique_ptr<zlm::ReportWriter> reports;
    if (!parsed.options.reportPath.empty()) {
        zlm::LoadedReportWriter loaded = zlm::LoadReportWriter();
        if (!loaded.writer) {
            WriteError("zlm-batch: " + loaded.message + "\n");
            return 2;
        }
        reports = std::move(loaded.writer);
    }
    if (parsed.options.IsSurvey()) {
        return RunSurveyCommand(parsed.options, separator);
    }

    zlm::NullProgress quiet;
    zlm::TerminalProgress terminal(STDERR_FILENO);
    zlm::ProgressSink& progress = ::isatty(STDERR_FILENO) ? static_cast<zlm::ProgressSink&>(terminal) : quiet;

    const zlm::BatchOutcome outcome = zlm::RunBatch(parsed.options, separator, progress, reports.get());
    if (outcome.exitCode != 0) {
        WriteError(outcome.message + "\n");
        return outcome.exitCode;
    }
    if (parsed.options.outputPath.empty()) {
        int error = 0;
        if (!WriteAll(STDOUT_FILENO, outcome.summary, error)) {
            WriteError(std::string("zlm-batch: could not write the summary to standard output: ") +
                       std::strerror(error) + "\n");
            return 1;
        }
    }
    for (const std::string& line : outcome.errorLines) {
        WriteError(line + "\n");
    }
    return 0;
}
