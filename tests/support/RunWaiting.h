#pragma once

#include "mainwindow/frmSkiMain.h"

#include <QSignalSpy>

namespace zlm::test {

/**
 * Runs Simulate as its button does and waits, with the event loop running, until
 * the run has handed its results over (at most a minute). False if it never did.
 */
inline bool SimulateAndWait(frmSkiMain& window)
{
    QSignalSpy finished(&window, &frmSkiMain::RunFinished);
    window.cmdSimulate_Click();
    return !finished.isEmpty() || finished.wait(60000);
}

/**
 * Runs Report... as its button does and waits, with the event loop running,
 * until the report has ended (at most a minute). False if it never started or
 * never ended, as when the command asked nothing or the user declined.
 */
inline bool ReportAndWait(frmSkiMain& window)
{
    QSignalSpy finished(&window, &frmSkiMain::ReportFinished);
    window.cmdReport_Click();
    return !finished.isEmpty() || (window.RunInProgress() && finished.wait(60000));
}

} // namespace zlm::test
