// The test IME's composition block: every length and offset leads to the right bytes.
#include "comp_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct BlockCase {
    const char* name;
    CompStringContent content;
};

// 愛 88A4, あい 82A0 82A2.
const BlockCase BLOCKS[] = {
    {"composing", {"\x82\xa0\x82\xa2", "\x82\xa0\x82\xa2", 0, "", ""}},
    {"converted", {"\x88\xa4", "\x82\xa0\x82\xa2", 1, "", ""}},
    {"committed", {"", "", 0, "\x88\xa4", "\x82\xa0\x82\xa2"}},
    {"odd length", {"abc", "de", 0, "f", "ghijk"}},
    {"empty", {"", "", 0, "", ""}},
};

class CompStringTest : public testing::TestWithParam<BlockCase> {
protected:
    void SetUp() override {
        block = BuildCompString(GetParam().content);
        ASSERT_GE(block.size(), sizeof(header));
        memcpy(&header, block.data(), sizeof(header));
    }

    // The bytes a length/offset pair names, after checking that they lie in the block.
    std::string Bytes(uint32_t length, uint32_t offset) {
        EXPECT_LE(static_cast<size_t>(offset) + length, block.size());
        EXPECT_GE(offset, sizeof(header));
        if (offset + length > block.size()) return "(outside)";
        return std::string(reinterpret_cast<const char*>(block.data()) + offset, length);
    }

    // A string must also be NUL-terminated inside the block.
    std::string String(uint32_t length, uint32_t offset) {
        std::string bytes = Bytes(length + 1, offset);
        EXPECT_EQ('\0', bytes.back());
        return bytes.substr(0, length);
    }

    std::string Clause(uint32_t length, uint32_t offset, size_t textLength) {
        if (textLength == 0) {
            EXPECT_EQ(0u, length);
            return "";
        }
        EXPECT_EQ(0u, offset % 4);
        uint32_t clause[2] = {~0u, ~0u};
        std::string bytes = Bytes(length, offset);
        EXPECT_EQ(sizeof(clause), bytes.size());
        memcpy(clause, bytes.data(), std::min(bytes.size(), sizeof(clause)));
        return std::to_string(clause[0]) + "," + std::to_string(clause[1]);
    }

    std::vector<uint8_t> block;
    CompStringHeader header = {};
};

TEST_P(CompStringTest, DescribesItsContent) {
    const CompStringContent& c = GetParam().content;
    const size_t compLength = strlen(c.composition);
    const size_t readLength = strlen(c.reading);
    const std::string attributes(compLength, static_cast<char>(c.attribute));
    const std::string readAttributes(readLength, static_cast<char>(c.attribute));

    EXPECT_EQ(block.size(), header.dwSize);
    EXPECT_EQ(c.composition, String(header.dwCompStrLen, header.dwCompStrOffset));
    EXPECT_EQ(c.reading, String(header.dwCompReadStrLen, header.dwCompReadStrOffset));
    EXPECT_EQ(attributes, Bytes(header.dwCompAttrLen, header.dwCompAttrOffset));
    EXPECT_EQ(readAttributes, Bytes(header.dwCompReadAttrLen, header.dwCompReadAttrOffset));
    EXPECT_EQ(compLength ? "0," + std::to_string(compLength) : "",
              Clause(header.dwCompClauseLen, header.dwCompClauseOffset, compLength));
    EXPECT_EQ(readLength ? "0," + std::to_string(readLength) : "",
              Clause(header.dwCompReadClauseLen, header.dwCompReadClauseOffset, readLength));
    EXPECT_EQ(compLength, header.dwCursorPos);
    EXPECT_EQ(0u, header.dwDeltaStart);

    const size_t resultLength = strlen(c.result);
    const size_t resultReadLength = strlen(c.resultReading);
    EXPECT_EQ(c.result, String(header.dwResultStrLen, header.dwResultStrOffset));
    EXPECT_EQ(c.resultReading, String(header.dwResultReadStrLen, header.dwResultReadStrOffset));
    EXPECT_EQ(resultLength ? "0," + std::to_string(resultLength) : "",
              Clause(header.dwResultClauseLen, header.dwResultClauseOffset, resultLength));
    EXPECT_EQ(resultReadLength ? "0," + std::to_string(resultReadLength) : "",
              Clause(header.dwResultReadClauseLen, header.dwResultReadClauseOffset,
                     resultReadLength));
    EXPECT_EQ(0u, header.dwPrivateSize);
}

INSTANTIATE_TEST_SUITE_P(Contents, CompStringTest, testing::ValuesIn(BLOCKS),
                         [](const testing::TestParamInfo<BlockCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (ch == ' ') ch = '_';
                             return name;
                         });

}  // namespace
