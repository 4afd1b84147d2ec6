// The resident program against what the hook's side may throw at it: hostile WM_COPYDATA
// records, and requests that meet it stopped (its Linux process stopped, a faithful hang).
// A real ZELVO.EXE in a scratch folder; what it learned is read back from its dictionary file.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "exchange.h"
#include "linux_host.h"
#include "zelvo_driver.h"

namespace {

const DWORD SETTLE_TIMEOUT_MS = 3000;

std::string Line(const std::string& word, const std::string& reading) {
    return word + "\t" + reading;
}

// The lines of the dictionary file.
std::vector<std::string> FileLines(const std::string& path) {
    std::string bytes;
    std::vector<std::string> lines;
    if (!ReadFileBytes(path, &bytes)) {
        return lines;
    }
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    return lines;
}

class ResidentFaultsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { StartTraceViewer(); }

    void SetUp() override {
        ClearTrace();
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", Line(Sjis(u8"紙"), Sjis(u8"かみ")) + "\r\n"));
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        ASSERT_NE(OpenExchangeBlock(), nullptr);
        target = CreateTargetWindow(300, 300);
        SetForegroundWindow(target);
        WaitUntil([&] { return GetForegroundWindow() == target; }, SETTLE_TIMEOUT_MS);
    }

    void TearDown() override {
        if (stopped != 0) {
            SignalLinuxProcess(stopped, LINUX_CONTINUE);
        }
        DestroyWindow(target);
        EndOrKillResident(&resident);
        CloseExchangeBlock();
        RemoveScratchFolder(scratch);
    }

    bool Visible() const { return IsWindowVisible(resident.window) != FALSE; }

    std::vector<std::string> EndAndReadDictionary() {
        DWORD exitCode = 99;
        EXPECT_TRUE(EndResident(&resident, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        return FileLines(scratch.dir + "ZELVO.TXT");
    }

    uint32_t Heartbeat() {
        ExchangeStatus status = {};
        EXPECT_TRUE(ReadExchangeStatus(&status));
        return status.heartbeat;
    }

    ScratchFolder scratch;
    Resident resident;
    HWND target = nullptr;
    unsigned long stopped = 0;
};

// A record as it travels, to be spoiled by a case.
struct Hostile {
    const char* what;
    ULONG_PTR tag;
    long sizeChange;     // bytes more (or fewer) than a record
    uint32_t kind;
    bool firstWithoutNul;
    bool secondWithoutNul;
    bool noData;
};

const Hostile HOSTILE[] = {
    {"one byte short", REQUEST_RECORD_TAG, -1, WM_ZELVO_REGISTER, false, false, false},
    {"half a record", REQUEST_RECORD_TAG, -static_cast<long>(sizeof(RequestRecord)) / 2, WM_ZELVO_REGISTER, false,
     false, false},
    {"one byte too long", REQUEST_RECORD_TAG, 1, WM_ZELVO_REGISTER, false, false, false},
    {"twice as long", REQUEST_RECORD_TAG, static_cast<long>(sizeof(RequestRecord)), WM_ZELVO_REGISTER, false, false,
     false},
    {"a word without its NUL", REQUEST_RECORD_TAG, 0, WM_ZELVO_REGISTER, true, false, false},
    {"a reading without its NUL", REQUEST_RECORD_TAG, 0, WM_ZELVO_REGISTER, false, true, false},
    {"a reading without its NUL in a show request", REQUEST_RECORD_TAG, 0, WM_ZELVO_SHOW, false, true, false},
    {"the kind of a hide request", REQUEST_RECORD_TAG, 0, WM_ZELVO_HIDE, false, false, false},
    {"an unknown kind", REQUEST_RECORD_TAG, 0, 0xDEAD, false, false, false},
    {"another tag", 0, 0, WM_ZELVO_REGISTER, false, false, false},
    {"no data at all", REQUEST_RECORD_TAG, -static_cast<long>(sizeof(RequestRecord)), WM_ZELVO_REGISTER, false,
     false, true},
};

TEST_F(ResidentFaultsTest, HostileRecordsAreRefusedAndChangeNothing) {
    const std::string kami = Line(Sjis(u8"紙"), Sjis(u8"かみ"));
    ASSERT_TRUE(SendRequestRecord(resident.window, WM_ZELVO_SHOW, 100, 100, target, Sjis(u8"か"), Sjis(u8"か")));
    ASSERT_TRUE(Visible());
    ASSERT_EQ(ListLines(resident.list), std::vector<std::string>{kami});
    const std::string word = Sjis(u8"敵") + Sjis(u8"意");  // what a hostile record would teach
    const std::string reading = Sjis(u8"てきい");
    for (const Hostile& h : HOSTILE) {
        std::vector<unsigned char> bytes(sizeof(RequestRecord) * 2, 'x');
        RequestRecord record = {};
        record.kind = h.kind;
        record.position = static_cast<uint32_t>(PackShowPosition(500, 500));
        record.target = HandleToULong(target);
        lstrcpynA(record.first, word.c_str(), sizeof record.first);
        lstrcpynA(record.second, reading.c_str(), sizeof record.second);
        if (h.firstWithoutNul) {
            memset(record.first, 'w', sizeof record.first);
        }
        if (h.secondWithoutNul) {
            memset(record.second, 'r', sizeof record.second);
        }
        memcpy(bytes.data(), &record, sizeof record);
        DWORD size = static_cast<DWORD>(static_cast<long>(sizeof record) + h.sizeChange);
        LRESULT answer = -1;
        ClearTrace();
        ASSERT_TRUE(SendCopyData(resident.window, h.tag, h.noData ? nullptr : bytes.data(), size, &answer))
            << h.what << ": no answer";
        EXPECT_EQ(answer, FALSE) << h.what;
        EXPECT_EQ(TraceLinesStartingWith("request record refused"), std::vector<std::string>{"request record refused "})
            << h.what;
        EXPECT_TRUE(TraceLinesStartingWith("RegComp").empty()) << h.what;
        EXPECT_EQ(WaitForSingleObject(resident.process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << h.what;
        EXPECT_TRUE(Visible()) << h.what;
        EXPECT_EQ(ListLines(resident.list), std::vector<std::string>{kami}) << h.what;
        RECT placed = {};
        GetWindowRect(resident.window, &placed);
        EXPECT_EQ(placed.left, 100) << h.what << ": moved";
    }
    // A whole record is still taken after all of them.
    LRESULT answer = FALSE;
    ASSERT_TRUE(SendRequestRecord(resident.window, WM_ZELVO_REGISTER, 0, 0, nullptr, Sjis(u8"神"), Sjis(u8"かみ"),
                                  &answer));
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(EndAndReadDictionary(),
              (std::vector<std::string>{Line(Sjis(u8"神"), Sjis(u8"かみ")), kami}));
}

// A pair numbered n: word and reading tell which request they came from.
std::string NumberedWord(int n) {
    return Sjis(u8"語") + std::to_string(n);
}

std::string NumberedReading(int n) {
    return Sjis(u8"ご") + std::to_string(n);
}

TEST_F(ResidentFaultsTest, RequestsToAStoppedProgramTimeOutAndLaterOnesRegisterTheirOwnWords) {
    stopped = FindLinuxProcess(scratch.programPath);
    ASSERT_NE(stopped, 0u) << "no Linux process for " << scratch.programPath;
    const uint32_t before = Heartbeat();
    ASSERT_TRUE(SignalLinuxProcess(stopped, LINUX_STOP));

    const int TIMED_OUT = 5;
    for (int n = 0; n < TIMED_OUT; ++n) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(SendRequestRecord(resident.window, WM_ZELVO_REGISTER, 0, 0, nullptr, NumberedWord(n),
                                       NumberedReading(n)))
            << "request " << n << " was answered by a stopped program";
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT)) << n;
    }
    EXPECT_EQ(Heartbeat(), before) << "a stopped program counted its heartbeat";
    ASSERT_TRUE(SignalLinuxProcess(stopped, LINUX_CONTINUE));
    stopped = 0;
    // It answers again: its heartbeat moves on by itself.
    EXPECT_TRUE(WaitUntil([&] { return Heartbeat() != before; }, SETTLE_TIMEOUT_MS));

    const int LATER = 5;
    for (int n = TIMED_OUT; n < TIMED_OUT + LATER; ++n) {
        LRESULT answer = FALSE;
        ASSERT_TRUE(SendRequestRecord(resident.window, WM_ZELVO_REGISTER, 0, 0, nullptr, NumberedWord(n),
                                      NumberedReading(n), &answer))
            << n;
        EXPECT_EQ(answer, TRUE) << n;
    }
    std::vector<std::string> lines = EndAndReadDictionary();
    std::set<std::string> present(lines.begin(), lines.end());
    for (int n = TIMED_OUT; n < TIMED_OUT + LATER; ++n) {
        EXPECT_EQ(present.count(Line(NumberedWord(n), NumberedReading(n))), 1u) << "request " << n << " lost";
    }
    // Every line is one request's own pair (a late request, if the system delivers it at all,
    // brings its own strings), besides the word the file held.
    for (const std::string& line : lines) {
        bool own = line == Line(Sjis(u8"紙"), Sjis(u8"かみ"));
        for (int n = 0; n < TIMED_OUT + LATER && !own; ++n) {
            own = line == Line(NumberedWord(n), NumberedReading(n));
        }
        EXPECT_TRUE(own) << "a pair of mixed requests: " << line;
    }
}

}  // namespace
