#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zlm {

/** One profile of a survey, in the order the summary lists it. */
struct SurveyEntry {
    std::string path;       ///< as found: a PROFILE argument, or a folder argument joined with the file's place in it
    std::string outputName; ///< what its own outputs are named after: the file name, with the subfolders of a folder
    std::string refusal;    ///< why it cannot be read at all (a missing file, a folder that cannot be listed)
};

/** True for the names a survey's folders are searched for: ending in .erd, .dat, .pro, .csv or .txt, any case. */
bool IsSurveyProfileName(std::string_view name);

/**
 * The profiles of a survey's PROFILE arguments, in their order: a file stands
 * for itself (whatever its name); a folder for every regular file in it with a
 * profile name, sorted by name (byte order), and with `recursive` for those of
 * its subfolders too, sorted by their path within it (symbolic links to folders
 * are not followed, so a loop cannot make the list endless). Paths in
 * `excluded` (the survey's own summary and output folder, by their absolute
 * lexically normal form) are left out of folders, so that a second run does not
 * read the first one's outputs as profiles. A missing argument, a folder that
 * cannot be listed and a folder without a profile become an entry with the refusal.
 */
std::vector<SurveyEntry> ListSurveyProfiles(const std::vector<std::string>& arguments, bool recursive,
                                            const std::vector<std::string>& excluded);

} // namespace zlm
