#include "mainwindow/WindowList.h"

#include <gtest/gtest.h>

namespace zlm {
namespace {

TEST(WindowListTest, FirstWindowGetsEntryZeroAgainAfterTheListEmpties)
{
    WindowList list;
    EXPECT_EQ(list.RegisterWindow("Ski"), 0);
    list.UnregisterWindow(0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(list.RegisterWindow("Ski"), 0);
}

TEST(WindowListTest, UnregisteringOneOfSeveralLeavesAnEmptyEntryInPlace)
{
    WindowList list;
    EXPECT_EQ(list.RegisterWindow("Ski"), 0);
    EXPECT_EQ(list.RegisterWindow("Plot"), 1);
    EXPECT_EQ(list.RegisterWindow("About"), 2);
    list.UnregisterWindow(1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{"Ski", "", "About"}));
    EXPECT_EQ(list.RegisterWindow("Plot"), 3) << "numbers are not reused while the list holds entries";
    list.UnregisterWindow(0);
    list.UnregisterWindow(2);
    EXPECT_EQ(list.Count(), 4);
    list.UnregisterWindow(3);
    EXPECT_EQ(list.Count(), 0);
}

TEST(WindowListTest, IndexOutsideTheListChangesNothing)
{
    WindowList list;
    list.UnregisterWindow(0); // on the empty list
    EXPECT_EQ(list.Count(), 0);
    list.RegisterWindow("Ski");
    for (std::int16_t k : {std::int16_t{-1}, std::int16_t{1}, std::int16_t{32767}, std::int16_t{-32768}}) {
        list.UnregisterWindow(k);
        EXPECT_EQ(list.Entries(), std::vector<std::string>{"Ski"}) << "index " << k;
    }
}

TEST(WindowListTest, SixteenBitCountRefusesToGrowPastItsLargestValue)
{
    WindowList list;
    for (int i = 0; i < 32767; ++i) {
        ASSERT_EQ(list.RegisterWindow("w"), i);
    }
    EXPECT_EQ(list.RegisterWindow("one too many"), -1);
    EXPECT_EQ(list.Count(), 32767);
    EXPECT_EQ(list.Entries().back(), "w");
    list.UnregisterWindow(32766);
    EXPECT_EQ(list.Count(), 32767);
    EXPECT_EQ(list.Entries().back(), "");
}

} // namespace
} // namespace zlm
