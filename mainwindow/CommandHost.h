#pragma once

#include "analysis/UnitSystem.h"

#include <QString>
#include <Qt>

class QWidget;

namespace zlm {

class ProgressSink;
class UserDialogs;
struct SessionState;

/**
 * What the main window offers the command classes of an analysis
 * (StraightedgeCommands, and the next analysis' beside it): its dialogs, the
 * session with the profile open, the busy state that keeps every command from
 * starting while one works, and the progress bar.
 */
class CommandHost {
public:
    virtual ~CommandHost() = default;

    /** The window the commands' own windows belong to. */
    virtual QWidget& HostWindow() = 0;
    virtual UserDialogs& Dialogs() = 0;
    /** The session: the profile open, and each analysis' method and results. */
    virtual SessionState& Session() = 0;
    /** The path of the profile open, as it was chosen; empty when none is open. */
    virtual QString ProfilePath() const = 0;

    /** True while a command works: every other command refuses to start. */
    virtual bool Busy() const = 0;
    /** Makes the window busy: `pointer` shown, every command disabled, until LeaveBusy. */
    virtual void EnterBusy(Qt::CursorShape pointer) = 0;
    virtual void LeaveBusy() = 0;

    /** The window's progress bar, driven on the window's thread. */
    virtual ProgressSink& ProgressBar() = 0;
    /**
     * Reads the open profile again in `units`, with the channel chosen when it was
     * opened; when it cannot be read, none stays open and the failure is shown.
     */
    virtual void ReadProfileAgain(UnitSystem units) = 0;
};

} // namespace zlm
