// The command line on which the resident program hands its windows to the host program.
#include "host_arguments.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(HostArguments, WrittenAndReadBack) {
    const HostArguments cases[] = {
        {0x1F4, 0x10062, 0x10064},
        {0xFFFFFFFF, 0x80000000, 0x7FFFFFFF},  // every bit of a 32-bit value
        {1, 1, 1},
    };
    for (const HostArguments& c : cases) {
        char text[HOST_ARGUMENTS_SIZE];
        ASSERT_TRUE(FormatHostArguments(c, text, sizeof text));
        HostArguments read = {};
        ASSERT_TRUE(ParseHostArguments(text, &read)) << text;
        EXPECT_EQ(read.residentProcess, c.residentProcess) << text;
        EXPECT_EQ(read.candidateWindow, c.candidateWindow) << text;
        EXPECT_EQ(read.candidateList, c.candidateList) << text;
    }
    char text[HOST_ARGUMENTS_SIZE];
    ASSERT_TRUE(FormatHostArguments({0x1F4, 0x10062, 0x10064}, text, sizeof text));
    EXPECT_STREQ(text, "1f4 10062 10064");
}

TEST(HostArguments, NotWrittenWithoutRoomOrWithAValueOf0) {
    char text[HOST_ARGUMENTS_SIZE];
    EXPECT_FALSE(FormatHostArguments({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, text, sizeof text - 1));
    EXPECT_TRUE(FormatHostArguments({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, text, sizeof text));
    EXPECT_FALSE(FormatHostArguments({0, 2, 3}, text, sizeof text));
    EXPECT_FALSE(FormatHostArguments({1, 0, 3}, text, sizeof text));
    EXPECT_FALSE(FormatHostArguments({1, 2, 0}, text, sizeof text));
}

TEST(HostArguments, ReadsBlanksAroundAndEitherCase) {
    const struct {
        const char* text;
        HostArguments expected;
    } cases[] = {
        {"  1f4 10062 10064  ", {0x1F4, 0x10062, 0x10064}},
        {"ABCDEF 1 00000002", {0xABCDEF, 1, 2}},
    };
    for (const auto& c : cases) {
        HostArguments read = {};
        ASSERT_TRUE(ParseHostArguments(c.text, &read)) << c.text;
        EXPECT_EQ(read.residentProcess, c.expected.residentProcess) << c.text;
        EXPECT_EQ(read.candidateWindow, c.expected.candidateWindow) << c.text;
        EXPECT_EQ(read.candidateList, c.expected.candidateList) << c.text;
    }
}

TEST(HostArguments, RefusesEverythingElse) {
    const char* const refused[] = {
        "",
        "   ",
        "1f4",
        "1f4 10062",
        "1f4 10062 10064 5",      // one too many
        "1f4  10062 10064",       // two blanks between
        "1f4\t10062\t10064",      // tabs
        "0 10062 10064",          // no process
        "1f4 0 10064",            // no window
        "1f4 10062 00000000",
        "123456789 1 1",          // nine digits
        "0x1f4 10062 10064",
        "-1 2 3",
        "+1 2 3",
        "1g4 10062 10064",
        "1f4 10062 10064 \"x\"",
        "1f4 10062 10064\n",
        "\xe3\x81\x82 1 1",
    };
    for (const char* text : refused) {
        HostArguments read = {};
        EXPECT_FALSE(ParseHostArguments(text, &read)) << '[' << text << ']';
    }
    HostArguments read = {};
    EXPECT_FALSE(ParseHostArguments(nullptr, &read));
}

}  // namespace
