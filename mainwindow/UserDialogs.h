#pragma once

#include "profile_input/Channel.h"

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

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
     * `defaultSuffix` is appended by the dialog to a name typed without one.
     * Returns the chosen path, or an empty text when the user cancelled.
     */
    virtual QString AskOpenFile(const QString& title, const QString& filter, const QString& defaultSuffix) = 0;

    /**
     * Asks for a file to save to, with an overwrite prompt. `filterIndex` is
     * 1-based: it selects the first filter shown and comes back as the filter
     * chosen. Returns the path, or an empty text when the user cancelled.
     */
    virtual QString AskSaveFile(const QString& title, const QStringList& filters, int& filterIndex) = 0;

    /** Shows a message box and returns the button chosen. An empty title shows "ZLM". */
    virtual QMessageBox::StandardButton ShowMessage(const QString& title, const QString& text, QMessageBox::Icon icon,
                                                    QMessageBox::StandardButtons buttons) = 0;

    /** Shows the channel selection window: returns the channel chosen with OK, nothing when cancelled. */
    virtual std::optional<Channel> AskChannel() = 0;
};

} // namespace zlm
