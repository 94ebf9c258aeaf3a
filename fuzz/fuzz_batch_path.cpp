// The whole batch path on arbitrary bytes: open a profile (ERD or column text),
// simulate with a section length typed by the user, and write the output summary
// in both forms, as zlm-batch and the window's Save As do.
#include "analysis/NumberText.h"
#include "analysis/ProgressSink.h"
#include "analysis/ResultsGrid.h"
#include "analysis/ResultsTable.h"
#include "commands/OpenCommand.h"
#include "commands/SessionState.h"
#include "commands/SimulateCommand.h"
#include "commands/SummaryWriter.h"
#include "fuzz/FuzzFile.h"
#include "profile_input/ErdProfileReader.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace {

/** Every line ends in CR LF, and no CR or LF stands anywhere else. */
bool AllLinesEndInCrLf(const std::string& text)
{
    if (text.size() < 2 || !text.ends_with("\r\n")) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) {
            return false;
        }
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            return false;
        }
    }
    return true;
}

bool SameRecords(const zlm::DeviationList& a, const zlm::DeviationList& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].Station != b[i].Station || a[i].MaxDeviation != b[i].MaxDeviation ||
            a[i].AmountExceeded != b[i].AmountExceeded) {
            return false;
        }
    }
    return true;
}

/** Opens the profile as the Browse command does; false when it was refused. */
bool OpenProfile(bool columnText, zlm::ChannelNumber channel, std::string_view bytes, zlm::SessionState& state)
{
    const zlm::ChannelQuestion answer = [channel](zlm::ChannelNumber, const std::vector<std::string>&) {
        return channel;
    };
    if (columnText) {
        static const zlm::fuzz::FuzzFile file(".dat");
        const std::string& path = file.Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        zlm::OpenOutcome opened = zlm::ReadProfileFile(path, state.channel, answer);
        // The batch tool's answer never cancels.
        ZLM_FUZZ_CHECK(!opened.cancelled);
        ZLM_FUZZ_CHECK(opened.loaded == (opened.box == zlm::OpenFailureBox::None));
        ZLM_FUZZ_CHECK(opened.loaded == opened.message.empty());
        if (!opened.loaded) {
            return false;
        }
        state.profile = std::move(opened.profile);
        state.profileTitle = std::move(opened.title);
        return true;
    }
    zlm::ErdReadResult read = zlm::ParseErdProfile(bytes, state.channel, answer);
    if (!read.ok) {
        return false;
    }
    state.profile = std::move(read.profile);
    state.profileTitle = std::move(read.title);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Byte 0: bit 0 column text (else ERD), bit 1 the channel answer, bit 2 the
    // decimal separator ("," else "."). Byte 1: the length (0 to 16) of the
    // section length text that follows. The rest is the profile file.
    if (size < 2) {
        return 0;
    }
    const bool columnText = (data[0] & 1) != 0;
    const zlm::ChannelNumber channel = ((data[0] >> 1) & 1) != 0 ? 2 : 1;
    const char separator = (data[0] & 4) != 0 ? ',' : '.';
    const std::size_t sectionSize = std::min<std::size_t>(data[1] % 17, size - 2);
    const std::string sectionText(reinterpret_cast<const char*>(data + 2), sectionSize);
    const std::string_view profileBytes(reinterpret_cast<const char*>(data + 2 + sectionSize), size - 2 - sectionSize);

    zlm::SessionState state;
    if (!OpenProfile(columnText, channel, profileBytes, state)) {
        return 0;
    }

    // Results of an earlier run, which a refused run must leave as they are.
    state.straightedge.results.placements = {{8.0, 0.5, 0.25}};
    state.straightedge.results.overallPercentExceeding = 12.5f;
    state.workingElevations = {1.0, 0.0};
    const zlm::DeviationList deviationsBefore = state.straightedge.results.placements;
    const std::vector<double> workingBefore = state.workingElevations;

    zlm::NullProgress progress;
    const zlm::SimulationOutcome run = zlm::RunSimulation(state, sectionText, progress);
    if (!run.ran) {
        ZLM_FUZZ_CHECK(!run.refusal.empty());
        ZLM_FUZZ_CHECK(SameRecords(state.straightedge.results.placements, deviationsBefore));
        ZLM_FUZZ_CHECK(state.workingElevations == workingBefore);
        ZLM_FUZZ_CHECK(state.straightedge.results.overallPercentExceeding == 12.5f);
        return 0;
    }
    zlm::ResultsGrid grid;
    zlm::LayoutResultsHeader(grid, state.units);
    zlm::FillResultsTable(grid, state.straightedge.results, state.units, separator);

    ZLM_FUZZ_CHECK(run.refusal.empty());
    ZLM_FUZZ_CHECK(state.workingElevations.size() == static_cast<std::size_t>(state.profile.pointCount) + 1);
    ZLM_FUZZ_CHECK(!state.straightedge.results.placements.empty());
    for (const zlm::DeviationRecord& record : state.straightedge.results.placements) {
        ZLM_FUZZ_CHECK(std::isfinite(record.Station) && record.Station >= 0.0);
        ZLM_FUZZ_CHECK(std::isfinite(record.MaxDeviation));
        ZLM_FUZZ_CHECK(std::isfinite(record.AmountExceeded) && record.AmountExceeded >= 0.0);
    }
    ZLM_FUZZ_CHECK(std::isfinite(state.straightedge.results.overallPercentExceeding));
    ZLM_FUZZ_CHECK(state.straightedge.results.overallPercentExceeding >= 0.0f &&
                   state.straightedge.results.overallPercentExceeding <= 100.0f);
    ZLM_FUZZ_CHECK(grid.Rows() >= 1 && grid.Cols() == 3);
    // Without a section length the table lists every placement, one row each.
    if (!(zlm::ParseSingle(zlm::TrimBlanks(sectionText)) > 0.0f)) {
        ZLM_FUZZ_CHECK(static_cast<std::size_t>(grid.Rows()) == state.straightedge.results.placements.size() + 1);
    }

    const zlm::ResultsTableText table(state.straightedge.results, state.units, separator);
    for (const zlm::Delimiter form : {zlm::Delimiter::Comma, zlm::Delimiter::Space}) {
        const std::string summary = zlm::SummaryText(grid, form);
        ZLM_FUZZ_CHECK(AllLinesEndInCrLf(summary));
        // The window's grid and the headless table write the same bytes.
        ZLM_FUZZ_CHECK(zlm::SummaryText(table, form) == summary);
    }
    return 0;
}
