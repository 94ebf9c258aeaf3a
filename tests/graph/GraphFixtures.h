#pragma once

#include "analysis/ResultsGrid.h"
#include "commands/SessionState.h"

#include <string>
#include <vector>

/**
 * A small known run: N = 12 points 1 ft apart, elevations m / 100 ft, two
 * placements at stations 0 and 8 with deviations 0.1 and 0.3 in.
 */
inline zlm::SessionState SmallRun()
{
    zlm::SessionState state;
    state.profile.pointCount = 12;
    state.profile.interval = 1.0;
    for (int m = 0; m < 12; ++m)
        state.profile.elevations.push_back(m / 100.0);
    state.workingElevations = state.profile.elevations;
    state.workingElevations.push_back(0.0);
    state.deviations = {{0.0, 0.1, 0.0}, {8.0, 0.3, 0.05}};
    state.overallPercentExceeding = 50.0f;
    state.profileTitle = "Track Run E1";
    return state;
}

/** A results grid of a header row and one row per text of column 2. */
inline zlm::ResultsGrid GridWithPercentages(const std::vector<std::string>& percentages)
{
    zlm::ResultsGrid grid;
    grid.SetRows(static_cast<std::int32_t>(percentages.size()) + 1);
    grid.SetTextMatrix(0, 2, "% Exceeding");
    for (std::size_t i = 0; i < percentages.size(); ++i)
        grid.SetTextMatrix(static_cast<std::int32_t>(i) + 1, 2, percentages[i]);
    return grid;
}
