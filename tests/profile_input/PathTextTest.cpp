#include "profile_input/PathText.h"

#include <gtest/gtest.h>

namespace zlm {
namespace {

struct ShortenCase {
    const char* name;
    std::string path;
    std::int16_t maxLength;
    std::string expected;
};

class ShortenPathTest : public ::testing::TestWithParam<ShortenCase> {};

TEST_P(ShortenPathTest, FitsTheLabel)
{
    const ShortenCase& c = GetParam();
    const std::string shown = ShortenPath(c.path, c.maxLength);
    EXPECT_EQ(shown, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ShortenPathTest,
    ::testing::Values(
        ShortenCase{"DriveKeepsLeadingDirectories", R"(C:\Profiles\2005\Interstate 35 northbound lane 2\run3.dat)", 42,
                    R"(C:\Profiles\2005\..\run3.dat)"},
        ShortenCase{"NetworkPath", R"(\\server\share\pavement\profiles\northbound\lane2.erd)", 42,
                    R"(\\server\share\pavement\..\lane2.erd)"},
        ShortenCase{"LongFileNameAlone", R"(C:\Profiles\a_profile_with_a_very_long_file_name_here.erd)", 42,
                    "a_profile_with_a_very_long_file_name_here.erd"},
        ShortenCase{"ShortPathWhole", R"(C:\Profiles\2005\run3.dat)", 42, R"(C:\Profiles\2005\run3.dat)"},
        ShortenCase{"ExactlyTheLimitWhole", std::string(R"(C:\)") + std::string(39, 'a'), 42,
                    std::string(R"(C:\)") + std::string(39, 'a')},
        ShortenCase{"PosixKeepsRoot", "/home/engineer/profiles/2005/interstate-35-northbound/run3.dat", 42,
                    "/home/engineer/profiles/2005/../run3.dat"},
        ShortenCase{"PosixFirstCandidateOnly", "/home/a-very-long-directory-name-of-forty/run3.dat", 20,
                    "/home/../run3.dat"},
        ShortenCase{"PosixLongFileNameAlone", "/data/a_profile_with_a_very_long_file_name_here_too.erd", 42,
                    "a_profile_with_a_very_long_file_name_here_too.erd"},
        ShortenCase{"MixedSeparatorsKept", R"(C:\Profiles/2005\long directory name here\and more\run3.dat)", 30,
                    R"(C:\Profiles/2005\..\run3.dat)"},
        ShortenCase{"EmptyPath", "", 42, ""}, ShortenCase{"DriveOnlyBeyondLimit", "C:", 1, ""},
        ShortenCase{"BackslashOnlyBeyondLimit", "\\", 0, ""}, ShortenCase{"RootOnlyBeyondLimit", "/", 0, ""},
        ShortenCase{"NegativeLimitGivesName", "/a/b.dat", -1, "b.dat"},
        ShortenCase{"NoSeparatorAtAll", "abcdefghijklmnop.erd", 10, "defghijklmnop.erd"}),
    [](const ::testing::TestParamInfo<ShortenCase>& info) { return std::string(info.param.name); });

struct SplitCase {
    const char* name;
    std::string path;
    std::string fileName;
    std::string directory;
};

class SplitFilePathTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitFilePathTest, SplitsAtTheLastSeparator)
{
    const SplitCase& c = GetParam();
    std::string directory = "left over";
    EXPECT_EQ(SplitFilePath(c.path, directory), c.fileName);
    EXPECT_EQ(directory, c.directory);
}

INSTANTIATE_TEST_SUITE_P(Paths, SplitFilePathTest,
                         ::testing::Values(SplitCase{"Drive", R"(C:\Profiles\run3.dat)", "run3.dat", R"(C:\Profiles\)"},
                                           SplitCase{"Posix", "/home/engineer/run3.erd", "run3.erd", "/home/engineer/"},
                                           SplitCase{"MixedTakesTheLast", R"(C:\a/b\c.erd)", "c.erd", R"(C:\a/b\)"},
                                           SplitCase{"NoSeparator", "run3.erd", "run3.erd", ""},
                                           SplitCase{"EndsInSeparator", R"(C:\Profiles\)", "", R"(C:\Profiles\)"},
                                           SplitCase{"Empty", "", "", ""}),
                         [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zlm
