#pragma once

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
    state.straightedge.results.pointCount = 12;
    state.straightedge.results.interval = 1.0;
    state.straightedge.results.placements = {{0.0, 0.1, 0.0}, {8.0, 0.3, 0.05}};
    state.straightedge.results.overallPercentExceeding = 50.0f;
    state.profileTitle = "Track Run E1";
    return state;
}

/** The small run as a section summary of sections `sectionLength` feet long with these shares. */
inline zlm::SessionState SmallRunWithSections(float sectionLength, const std::vector<float>& percentages)
{
    zlm::SessionState state = SmallRun();
    state.straightedge.results.sectionLength = sectionLength;
    for (const float percent : percentages) {
        zlm::SectionRow row;
        row.percentExceeding = percent;
        state.straightedge.results.sections.push_back(row);
    }
    return state;
}
