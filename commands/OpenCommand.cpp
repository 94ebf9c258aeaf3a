#include "commands/OpenCommand.h"

#include "profile_input/ColumnProfileReader.h"

namespace zlm {

bool IsColumnTextPath(const std::string& path)
{
    return path.ends_with("dat");
}

OpenOutcome ReadProfileFile(const std::string& path, Channel& channel, const ChannelQuestion& askChannel,
                            UnitSystem units)
{
    OpenOutcome outcome;
    if (IsColumnTextPath(path)) {
        const ColumnCheckResult check = CheckColumnProfile(path, units);
        if (!check.accepted) {
            if (check.kind == ColumnCheckFailure::NotAProfile) {
                outcome.box = OpenFailureBox::TakeoffError;
                outcome.message =
                    check.message + "  Would you like to run the Varnholt to convert the file to Rondel format?";
            } else {
                outcome.box = OpenFailureBox::SkiError;
                outcome.message = check.message;
            }
            return outcome;
        }
        ColumnReadResult read = ReadColumnProfile(path, units);
        if (!read.ok) {
            outcome.box = OpenFailureBox::FileError;
            outcome.message = std::move(read.message);
            return outcome;
        }
        outcome.loaded = true;
        outcome.profile = std::move(read.profile);
        outcome.title = std::move(read.title);
        return outcome;
    }

    ErdReadResult read = ReadErdProfile(path, channel, askChannel, units);
    if (read.cancelled) {
        outcome.cancelled = true;
        return outcome;
    }
    if (!read.ok) {
        outcome.box = OpenFailureBox::ErdError;
        outcome.message = "Error 0 " + read.failureText;
        return outcome;
    }
    outcome.loaded = true;
    outcome.profile = std::move(read.profile);
    if (read.hasTitle) {
        outcome.title = std::move(read.title);
    }
    return outcome;
}

} // namespace zlm
