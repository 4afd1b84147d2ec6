// The records that carry a request's strings: what the hook fills and what the resident
// program accepts, byte by byte, before it acts on a record.
#include "request_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

RequestRecord ValidRecord(uint32_t kind) {
    RequestRecord record;
    EXPECT_TRUE(FillRequestRecord(&record, kind, PackShowPosition(100, 200), 0x1234, "\x88\xa4",
                                  "\x82\xa0\x82\xa2"));
    return record;
}

// A record as bytes, changed by a case before it is checked.
struct Received {
    uint64_t tag = REQUEST_RECORD_TAG;
    std::vector<unsigned char> bytes;
    bool noData = false;
};

struct CheckCase {
    const char* what;
    void (*change)(Received* received);
    uint32_t expected;  // the kind accepted, 0 when refused
};

RequestRecord* AsRecord(Received* r) {
    return reinterpret_cast<RequestRecord*>(r->bytes.data());
}

const CheckCase CHECK_CASES[] = {
    {"a show request", [](Received*) {}, WM_ZELVO_SHOW},
    {"a register request", [](Received* r) { AsRecord(r)->kind = WM_ZELVO_REGISTER; }, WM_ZELVO_REGISTER},
    {"a remove request", [](Received* r) { AsRecord(r)->kind = WM_ZELVO_REMOVE; }, WM_ZELVO_REMOVE},
    {"the number after the remove request", [](Received* r) { AsRecord(r)->kind = WM_ZELVO_REMOVE + 1; }, 0},
    {"strings of 255 bytes", [](Received* r) {
         memset(AsRecord(r)->first, 'a', EXCHANGE_FIELD_SIZE - 1);
         memset(AsRecord(r)->second, 'b', EXCHANGE_FIELD_SIZE - 1);
     }, WM_ZELVO_SHOW},
    {"another tag", [](Received* r) { r->tag = 0; }, 0},
    {"the tag with more bits above", [](Received* r) { r->tag = (1ull << 32) | REQUEST_RECORD_TAG; }, 0},
    {"one byte short", [](Received* r) { r->bytes.pop_back(); }, 0},
    {"one byte too many", [](Received* r) { r->bytes.push_back(0); }, 0},
    {"nothing at all", [](Received* r) { r->bytes.clear(); }, 0},
    {"no data", [](Received* r) { r->noData = true; }, 0},
    {"the kind of a hide request", [](Received* r) { AsRecord(r)->kind = WM_ZELVO_HIDE; }, 0},
    {"kind 0", [](Received* r) { AsRecord(r)->kind = 0; }, 0},
    {"a kind with more bits", [](Received* r) { AsRecord(r)->kind = WM_ZELVO_SHOW | 0x10000; }, 0},
    {"first string without its NUL", [](Received* r) { memset(AsRecord(r)->first, 'x', EXCHANGE_FIELD_SIZE); }, 0},
    {"second string without its NUL", [](Received* r) { memset(AsRecord(r)->second, 'x', EXCHANGE_FIELD_SIZE); }, 0},
};

TEST(RequestRecordTest, AcceptsOnlyWholeRecordsOfAKnownKind) {
    for (const CheckCase& c : CHECK_CASES) {
        RequestRecord valid = ValidRecord(WM_ZELVO_SHOW);
        Received received;
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&valid);
        received.bytes.assign(bytes, bytes + sizeof valid);
        c.change(&received);
        RequestRecord copy;
        uint32_t kind = CheckRequestRecord(received.tag, received.bytes.size(),
                                           received.noData ? nullptr : received.bytes.data(), &copy);
        EXPECT_EQ(kind, c.expected) << c.what;
        if (kind != 0) {
            EXPECT_EQ(memcmp(&copy, received.bytes.data(), sizeof copy), 0) << c.what;
        }
    }
}

TEST(RequestRecordTest, ReadsARecordAtAnyAlignment) {
    RequestRecord valid = ValidRecord(WM_ZELVO_REGISTER);
    std::vector<unsigned char> buffer(sizeof valid + 1);
    memcpy(buffer.data() + 1, &valid, sizeof valid);
    RequestRecord copy;
    EXPECT_EQ(CheckRequestRecord(REQUEST_RECORD_TAG, sizeof valid, buffer.data() + 1, &copy), WM_ZELVO_REGISTER);
    EXPECT_EQ(copy.position, PackShowPosition(100, 200));
    EXPECT_EQ(copy.target, 0x1234u);
    EXPECT_STREQ(copy.first, "\x88\xa4");
    EXPECT_STREQ(copy.second, "\x82\xa0\x82\xa2");
}

struct FillCase {
    const char* what;
    std::string first;
    std::string second;
    bool filled;
};

TEST(RequestRecordTest, FillsStringsThatFitTheirFields) {
    const FillCase cases[] = {
        {"word and reading", "\x88\xa4", "\x82\xa0\x82\xa2", true},
        {"empty strings", "", "", true},
        {"255 bytes each", std::string(255, 'a'), std::string(255, 'b'), true},
        {"a word of 256 bytes", std::string(256, 'a'), "b", false},
        {"a reading of 256 bytes", "a", std::string(256, 'b'), false},
    };
    for (const FillCase& c : cases) {
        RequestRecord record;
        memset(&record, 0xEE, sizeof record);  // what the stack held before
        bool filled = FillRequestRecord(&record, WM_ZELVO_REGISTER, 7, 9, c.first.c_str(), c.second.c_str());
        EXPECT_EQ(filled, c.filled) << c.what;
        if (!filled) {
            continue;
        }
        EXPECT_EQ(record.kind, WM_ZELVO_REGISTER) << c.what;
        EXPECT_EQ(record.position, 7u) << c.what;
        EXPECT_EQ(record.target, 9u) << c.what;
        EXPECT_EQ(std::string(record.first), c.first) << c.what;
        EXPECT_EQ(std::string(record.second), c.second) << c.what;
        // Nothing of the old bytes travels to the other process after the strings.
        for (size_t i = c.first.size(); i < EXCHANGE_FIELD_SIZE; ++i) {
            ASSERT_EQ(record.first[i], 0) << c.what << " byte " << i;
        }
        for (size_t i = c.second.size(); i < EXCHANGE_FIELD_SIZE; ++i) {
            ASSERT_EQ(record.second[i], 0) << c.what << " byte " << i;
        }
        RequestRecord copy;
        EXPECT_EQ(CheckRequestRecord(REQUEST_RECORD_TAG, sizeof record, &record, &copy), WM_ZELVO_REGISTER)
            << c.what;
    }
}

struct ControlCase {
    const char* text;
    bool control;
};

TEST(RequestRecordTest, FindsControlBytes) {
    const ControlCase cases[] = {
        {"", false},
        {"plain", false},
        {"\x88\xa4\x82\xa0", false},            // Shift-JIS: trail bytes are 0x40 or more
        {"\x81\x40", false},                    // the full-width blank
        {" ~\x7f", false},                      // blank, tilde, DEL
        {"a\tb", true},
        {"a\rb", true},
        {"line\n", true},
        {"\x1f", true},
        {"\x01word", true},
        {"\x88\xa4\x0d\x0a", true},
    };
    for (const ControlCase& c : cases) {
        EXPECT_EQ(ContainsControlByte(c.text), c.control) << '"' << c.text << '"';
    }
}

}  // namespace
