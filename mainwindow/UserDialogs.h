#pragma once

#include "commands/OpenCommand.h"
#include "profile_input/Channel.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace zlm {

/**
 * Every question the windows ask the user and every message box they show goes
 * through this interface, so that tests can answer them without a screen.
 * QtUserDialogs is the real one.
 */
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    /**
     * Asks for an existing file to open. `filter` is in Qt's syntax ("A (*.a);;B (*.b)");
     * `defaultSuffix` is appended by the dialog to a name typed without one;
     * the dialog starts in `startFolder` (empty: wherever the system starts it).
     * Returns the chosen path, or an empty text when the user cancelled.
     */
    virtual QString AskOpenFile(const QString& title, const QString& filter, const QString& defaultSuffix,
                                const QString& startFolder) = 0;

    /**
     * Asks for a file to save to, with an overwrite prompt. `filterIndex` is
     * 1-based: it selects the first filter shown and comes back as the filter
     * chosen. Returns the path, or an empty text when the user cancelled.
     */
    virtual QString AskSaveFile(const QString& title, const QStringList& filters, int& filterIndex) = 0;

    /** Shows a message box and returns the button chosen. An empty title shows "ZLM". */
    virtual QMessageBox::StandardButton ShowMessage(const QString& title, const QString& text, QMessageBox::Icon icon,
                                                    QMessageBox::StandardButtons buttons) = 0;

    /**
     * Shows the channel selection window for a file whose channels are `names`
     * (in order; `earlier` is the channel chosen before): returns the channel
     * chosen with OK, nothing when cancelled.
     */
    virtual std::optional<ChannelNumber> AskChannel(const std::vector<std::string>& names, ChannelNumber earlier) = 0;

    /**
     * Asks for what a delimited text profile's header does not say (`needed`):
     * returns the units and interval given with OK, nothing when cancelled.
     */
    virtual std::optional<DelimitedUnits> AskDelimitedUnits(const DelimitedProbeResult& probe,
                                                            const NeededUnits& needed) = 0;
};

} // namespace zlm
