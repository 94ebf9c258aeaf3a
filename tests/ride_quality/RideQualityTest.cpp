#include "ride_quality/RideQuality.h"

#include "ride_quality/LocalizedRoughness.h"
#include "ride_quality/QuarterCar.h"
#include "ride_quality/RideQualityText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace zlm::test {
namespace {

RideQualityResults Analyse(const std::vector<double>& left, const std::vector<double>& right, double dx,
                           const RideQualityMethod& method)
{
    NullProgress quiet;
    RideQualityOutcome outcome = AnalyseRideQuality(left, right, dx, method, quiet);
    EXPECT_TRUE(outcome.ok) << outcome.refusal;
    return outcome.results;
}

std::vector<double> SineRoad(double amplitude, double wavelength, double dx, double length)
{
    std::vector<double> y;
    for (std::int64_t i = 0; i * dx <= length; ++i) {
        y.push_back(amplitude * std::sin(2.0 * std::numbers::pi * static_cast<double>(i) * dx / wavelength));
    }
    return y;
}

TEST(QuarterCar, StepForAQuarterMetreMatchesTheReferenceCoefficients)
{
    const QuarterCarStep step = QuarterCarStepFor(0.25);
    const double row[] = {0.9966071, 0.01091514, -0.002083275, 0.0003190145};
    const double input[] = {0.005476206, 1.388777, 0.2275969, 35.79262};
    for (std::size_t c = 0; c < 4; ++c) {
        EXPECT_NEAR(step.transition[0][c], row[c], std::fabs(row[c]) * 5e-7) << c;
        EXPECT_NEAR(step.input[c], input[c], std::fabs(input[c]) * 5e-7) << c;
    }
    // To the last bits, not just the first digits: 40-digit values of the same matrices.
    const double exact[4][4] = {
        {0.99660706915290878028, 0.010915144113348670738, -0.0020832747395164562248, 0.00031901453108650662242},
        {-0.55630449025646506, 0.94387678571627702, -0.8324721017401271, 0.050647008697115303},
        {0.02153175891183214, 0.0021267635405767108, 0.75087136299877365, 0.008221888674476587},
        {3.3350128885106139, 0.33764672464743536, -39.127634918065356, 0.43475639726317044}};
    const double exactInput[4] = {0.0054762055866076759, 1.3887765919965922, 0.22759687808939421, 35.792622029554742};
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            EXPECT_NEAR(step.transition[r][c], exact[r][c], 2e-15 * std::fabs(exact[r][c])) << r << c;
        }
        EXPECT_NEAR(step.input[r], exactInput[r], 2e-15 * exactInput[r]) << r;
    }
}

TEST(RideQuality, SineRoadsGiveTheirKnownRoughness)
{
    struct Case {
        double wavelength;
        double iri;
    };
    for (const Case c : {Case{10.0, 0.503}, Case{5.0, 0.932}}) {
        const std::vector<double> y = SineRoad(0.001, c.wavelength, 0.05, 2000.0);
        const RideQualityResults r = Analyse(y, {}, 0.05, DefaultRideQualityMethod(UnitSystem::SI));
        EXPECT_NEAR(r.iriLeft, c.iri, 0.0015) << c.wavelength;
        // The same road in feet gives the same roughness in inches per mile.
        std::vector<double> feet;
        for (const double v : SineRoad(0.001, c.wavelength, 0.05, 2000.0)) {
            feet.push_back(v / 0.3048);
        }
        const RideQualityResults us = Analyse(feet, {}, 0.05 / 0.3048, DefaultRideQualityMethod(UnitSystem::US));
        EXPECT_NEAR(us.iriLeft / 63.36, r.iriLeft, 1e-9 * r.iriLeft);
    }
}

TEST(RideQuality, LevelAndConstantGradeRoadsAreSmooth)
{
    for (const double grade : {0.0, 0.03, -0.07}) {
        std::vector<double> y;
        for (int i = 0; i < 3000; ++i) {
            y.push_back(12.0 + grade * i * 0.25);
        }
        RideQualityMethod method = DefaultRideQualityMethod(UnitSystem::US);
        method.localized = true;
        const RideQualityResults r = Analyse(y, y, 0.25, method);
        EXPECT_NEAR(r.iriLeft, 0.0, 1e-6) << grade;
        EXPECT_NEAR(r.hri, 0.0, 1e-6) << grade;
        EXPECT_TRUE(r.areas.empty());
    }
}

TEST(RideQuality, TwoEqualPathsGiveEqualIriMriAndHri)
{
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.002);
    std::vector<double> y(4001);
    for (double& v : y) {
        v = noise(random);
    }
    RideQualityMethod method = DefaultRideQualityMethod(UnitSystem::US);
    method.sectionLength = 100.0;
    const RideQualityResults two = Analyse(y, y, 0.25, method);
    EXPECT_TRUE(two.twoPaths);
    EXPECT_EQ(two.iriLeft, two.iriRight);
    EXPECT_EQ(two.mri, two.iriLeft);
    EXPECT_EQ(two.hri, two.iriLeft);
    const RideQualityResults one = Analyse(y, {}, 0.25, method);
    EXPECT_EQ(one.iriLeft, two.iriLeft);
    EXPECT_TRUE(std::isnan(one.mri));
    ASSERT_EQ(one.sections.size(), two.sections.size());
    for (std::size_t q = 0; q < two.sections.size(); ++q) {
        EXPECT_EQ(two.sections[q].mri, one.sections[q].iriLeft);
        EXPECT_EQ(two.sections[q].hri, one.sections[q].iriLeft);
    }
}

TEST(RideQuality, SectionsHoldTheSlopesWhoseStationFallsInThem)
{
    // dx = 0.25 ft is 0.0762 m: k = round(3.28...) = 3, slopes at (i + 1.5) dx.
    std::vector<double> y(41);
    for (std::size_t i = 0; i < y.size(); ++i) {
        y[i] = 0.01 * std::sin(static_cast<double>(i));
    }
    RideQualityMethod method = DefaultRideQualityMethod(UnitSystem::US);
    method.sectionLength = 3.0;
    const RideQualityResults r = Analyse(y, {}, 0.25, method);
    ASSERT_EQ(r.slopeBase, 3);
    const std::vector<double> slopes = RectifiedSlopes(y, 0.25, UnitSystem::US, 3);
    ASSERT_EQ(slopes.size(), 38u);
    // Last station t_37 = 38.5 * 0.25 = 9.625: sections 0, 3, 6, 9; the last ends at the profile's end, 10.
    ASSERT_EQ(r.sections.size(), 4u);
    EXPECT_EQ(r.sections[3].start, 9.0);
    EXPECT_EQ(r.sections[3].end, 10.0);
    EXPECT_EQ(r.sections[1].end, 6.0);
    // Section 1 = [3, 6): t_i = (i + 1.5) / 4 in it for i = 11 … 22.
    EXPECT_EQ(r.sections[1].slopes, 12);
    double sum = 0.0;
    for (int i = 11; i <= 22; ++i) {
        sum += slopes[static_cast<std::size_t>(i)];
    }
    EXPECT_NEAR(r.sections[1].iriLeft, sum / 12.0 * 63360.0, 1e-12 * r.sections[1].iriLeft);
    // Without sections one row spans the profile.
    const RideQualityResults whole = Analyse(y, {}, 0.25, DefaultRideQualityMethod(UnitSystem::US));
    ASSERT_EQ(whole.sections.size(), 1u);
    EXPECT_EQ(whole.sections[0].end, 10.0);
    EXPECT_EQ(whole.sections[0].iriLeft, whole.iriLeft);
}

TEST(RideQuality, ContinuousIriDoesNotDriftOnALongRoughThenLevelRoad)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> rough(0.0, 0.5);
    std::vector<double> r(200000);
    for (std::size_t i = 0; i < r.size(); ++i) {
        r[i] = i < 150000 ? rough(random) : (i < 170000 ? 0.0 : 1e-9 * rough(random));
    }
    RideQualityResults results;
    results.method = DefaultRideQualityMethod(UnitSystem::SI);
    results.windowLength = 301;
    const std::vector<double> c = ContinuousIri(r, {}, results);
    ASSERT_EQ(c.size(), r.size() - 300);
    for (std::size_t j = 0; j < c.size(); j += 997) {
        long double exact = 0.0L;
        for (std::size_t i = j; i < j + 301; ++i) {
            exact += r[i];
        }
        const double expected = static_cast<double>(exact / 301.0L * 1000.0L);
        EXPECT_LE(std::fabs(c[j] - expected), 1e-12 * expected) << j;
    }
    EXPECT_EQ(c[160000], 0.0);
}

TEST(LocalizedRoughness, WindowsThatOverlapOrTouchMergeAndThePeakIsTheFirstLargest)
{
    RideQualityResults results;
    results.method = DefaultRideQualityMethod(UnitSystem::US);
    results.method.threshold = 100.0;
    results.interval = 1.0;
    results.slopeBase = 2;
    results.windowLength = 3;
    results.pointCount = 30;
    // Windows 2 and 5 touch (5 - 2 = w); 5 and 9 leave a gap; 9 and 10 overlap; 10 ties 9's peak.
    results.continuous.assign(20, 50.0);
    results.continuous[2] = 100.0;
    results.continuous[5] = 120.0;
    results.continuous[9] = 130.0;
    results.continuous[10] = 130.0;
    results.continuous[19] = 99.999;
    const std::vector<RoughArea> areas = FindRoughAreas(results);
    ASSERT_EQ(areas.size(), 2u);
    // t_j = j + 1; window j spans [j + 0.5, j + 3.5].
    EXPECT_EQ(areas[0].start, 2.5);
    EXPECT_EQ(areas[0].end, 8.5);
    EXPECT_EQ(areas[0].length, 6.0);
    EXPECT_EQ(areas[0].peak, 120.0);
    EXPECT_EQ(areas[0].peakAt, 7.0);
    EXPECT_EQ(areas[1].start, 9.5);
    EXPECT_EQ(areas[1].end, 13.5);
    EXPECT_EQ(areas[1].peakAt, 11.0);
    EXPECT_DOUBLE_EQ(PercentOfLength(areas, 29.0), 10.0 / 29.0 * 100.0);
}

TEST(RideQuality, EveryRefusalNamesTheValueAndTheLimit)
{
    const RideQualityMethod us = DefaultRideQualityMethod(UnitSystem::US);
    struct Case {
        std::int32_t points;
        double dx;
        double section;
        double base;
        double threshold;
        bool localized;
        UnitSystem units;
        const char* text;
    };
    const Case cases[] = {
        {100, 3.5, 0, 25, 125, false, UnitSystem::US,
         "The sample interval of 3.5 ft is above the ride-quality limit of 3.28 ft (1 m)"},
        {100, 1.01, 0, 7.62, 2, false, UnitSystem::SI,
         "The sample interval of 1.01 m is above the ride-quality limit of 1 m (3.28 ft)"},
        {100, 0.0, 0, 25, 125, false, UnitSystem::US, "The sample interval of 0 ft is not a length above 0"},
        {3, 0.25, 0, 25, 125, false, UnitSystem::US,
         "The profile has 3 points: ride quality needs more than 3 for one slope over the 250 mm slope base"},
        {100, 0.25, 0.5, 25, 125, false, UnitSystem::US,
         "The section length of 0.5 ft is not a length of at least the slope base, 0.75 ft"},
        {100, 0.25, 0, 0, 125, false, UnitSystem::US, "The base length of 0 ft is not a length above 0"},
        {100, 0.25, 0, 25, NAN, false, UnitSystem::US, "The threshold of nan in/mi is not a value above 0"},
        {100, 0.25, 0, 25, 125, true, UnitSystem::US,
         "The profile is 24.75 ft long, shorter than the base length of 25 ft: a window needs 100 slopes and it "
         "has 97"},
    };
    for (const Case& c : cases) {
        RideQualityMethod method = us;
        method.units = c.units;
        method.sectionLength = c.section;
        method.baseLength = c.base;
        method.threshold = c.threshold;
        method.localized = c.localized;
        EXPECT_EQ(RideQualityRefusal(c.points, c.dx, method), c.text);
    }
    EXPECT_EQ(RideQualityRefusal(101, 0.25, us), "");
}

TEST(RideQualityText, TablesAndLinesCarryUnitsAndDecimals)
{
    RideQualityResults r;
    r.method = DefaultRideQualityMethod(UnitSystem::SI);
    r.method.localized = true;
    r.twoPaths = true;
    r.mri = 1.2346;
    r.hri = 0.9996;
    r.sections.push_back({0.0, 100.0, 1.0004, 2.0, 1.5002, 0.2504, 10});
    r.areas.push_back({10.125, 20.5, 10.375, 3.14159, 15.0});
    r.percentLocalized = 12.346;
    EXPECT_EQ(RideSectionsCsv(r), "Start (m),End (m),IRI Left (m/km),IRI Right (m/km),MRI (m/km),HRI (m/km)\r\n"
                                  "0.000,100.000,1.000,2.000,1.500,0.250\r\n");
    EXPECT_EQ(RoughAreasCsv(r), "Area,Start (m),End (m),Length (m),Peak (m/km),Peak At (m)\r\n"
                                "1,10.125,20.500,10.375,3.142,15.000\r\n");
    EXPECT_EQ(RideOverallLines(r, ','),
              (std::vector<std::string>{"MRI = 1,235 m/km Overall", "HRI = 1,000 m/km Overall",
                                        "Localized Roughness = 12,35% of length (areas: 1)"}));
    r.twoPaths = false;
    r.method = DefaultRideQualityMethod(UnitSystem::US);
    r.method.sectionLength = 528.0;
    r.iriLeft = 99.996;
    EXPECT_EQ(RideSectionsCsv(r), "Start (ft),End (ft),IRI (in/mi)\r\n0.000,100.000,1.00\r\n");
    EXPECT_EQ(RideOverallLines(r, '.'), std::vector<std::string>{"IRI = 100.00 in/mi Overall"});
    EXPECT_EQ(DescribeRideMethod(r.method), "IRI, 528 ft sections, 25 ft continuous, 125 in/mi");
}

} // namespace
} // namespace zlm::test
