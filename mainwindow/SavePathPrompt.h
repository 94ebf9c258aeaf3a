#pragma once

#include <QString>

namespace zlm {

class UserDialogs;

/** When a save adds its extension to the name typed in the save dialog. */
enum class ExtensionRule {
    WhenNoneTyped, ///< only to a file name without any extension ("summary" → "summary.txt", "out.csv" stays)
    UnlessTyped,   ///< unless the name ends in it already, in any case ("report.PDF" stays, "r.txt" → "r.txt.pdf")
};

/**
 * The file a save command writes for the name typed in its save dialog: the name
 * with `extension` (".txt") added by `rule`. The dialog asked about the name as
 * typed; when the extension makes it name another file that exists, a warning
 * box titled `title` asks "<file> already exists. Do you want to replace it?",
 * and No gives an empty text: nothing is to be written.
 */
QString ConfirmedSavePath(UserDialogs& dialogs, const QString& title, const QString& typed, const QString& extension,
                          ExtensionRule rule);

} // namespace zlm
