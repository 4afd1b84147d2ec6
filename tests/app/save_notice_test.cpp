// What the user reads about a failed save and about a dictionary file the program cannot
// hold: the texts, in Shift-JIS, compared as UTF-8.
#include "save_notice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cp932.h"
#include "notice_texts.h"

namespace {

std::string Utf8(const char* sjis) {
    std::string text;
    EXPECT_TRUE(Cp932ToUtf8(sjis, &text)) << "not Shift-JIS: " << sjis;
    return text;
}

std::string Sjis(const std::u16string& text) {
    std::string out;
    EXPECT_TRUE(Utf16ToCp932(text, &out));
    return out;
}

struct ReasonCase {
    SaveFailureKind kind;
    const char* reason;
};

const ReasonCase REASONS[] = {
    {SAVE_FAILURE_FOLDER_NOT_WRITABLE, u8"フォルダーに書き込めません"},
    {SAVE_FAILURE_DISK_FULL, u8"ディスクがいっぱいです"},
    {SAVE_FAILURE_FILE_IN_USE, u8"ファイルがほかのプログラムに使われているか、置き換えられません"},
    {SAVE_FAILURE_READ_ONLY, u8"辞書ファイルが読み取り専用になっています"},
    {SAVE_FAILURE_PATH_UNUSABLE, u8"ファイルの場所が使えません"},
    {SAVE_FAILURE_OTHER, u8"予期しないエラーです"},
};

TEST(SaveNoticeTest, BalloonSaysWhyWithTheErrorAndThePath) {
    const char* path = "C:\\Tools\\Zelvo\\ZELVO.TXT";
    for (const ReasonCase& c : REASONS) {
        Notice notice;
        SaveFailureNotice(c.kind, c.kind == SAVE_FAILURE_READ_ONLY ? 0 : 112, path, &notice);
        EXPECT_EQ(u8"辞書を保存できません", Utf8(notice.title));
        std::string expected = std::string(c.reason);
        if (c.kind == SAVE_FAILURE_READ_ONLY) {
            expected += u8"。Zelvo はこのファイルを書き換えません。覚えた言葉は Zelvo が動いている間だけ残ります。";
        } else {
            expected += u8" (エラー 112)。覚えた言葉は Zelvo が動いている間は残り、あとでもう一度保存します。";
        }
        EXPECT_EQ(expected + "\n" + path, Utf8(notice.text)) << c.kind;
    }
}

TEST(SaveNoticeTest, ExitBoxSaysWhatRetryAndCancelDo) {
    char text[EXIT_BOX_TEXT_SIZE];
    ExitSaveFailureText(SAVE_FAILURE_FOLDER_NOT_WRITABLE, 5, "D:\\z\\ZELVO.TXT", text);
    EXPECT_EQ(std::string(u8"覚えた言葉を辞書ファイルに保存できませんでした。\n\nファイル: D:\\z\\ZELVO.TXT\n"
                          u8"理由: フォルダーに書き込めません (エラー 5)\n\n"
                          u8"[再試行] でもう一度保存します。[キャンセル] で保存せずに終了し、"
                          u8"保存されていない言葉は失われます。"),
              Utf8(text));
    // Without a system error there is no code to show.
    ExitSaveFailureText(SAVE_FAILURE_READ_ONLY, 0, "D:\\z\\ZELVO.TXT", text);
    EXPECT_NE(std::string::npos, Utf8(text).find(u8"理由: 辞書ファイルが読み取り専用になっています\n"));
    EXPECT_EQ(std::string::npos, Utf8(text).find(u8"エラー"));
}

TEST(SaveNoticeTest, KeptAsideBalloonNamesTheOriginalsNewName) {
    Notice notice;
    KeptAsideNotice("C:\\Tools\\ZELVO.TXT", "C:\\Tools\\ZELVO.original.TXT", &notice);
    EXPECT_EQ(u8"辞書ファイルの一部を扱えません", Utf8(notice.title));
    EXPECT_EQ(std::string(u8"Zelvo が扱えない部分 (1 万語を超える分、長すぎる行、読めない行など) があります。"
                          u8"保存の前に元のファイルを ZELVO.original.TXT として同じフォルダーに残します。\n"
                          u8"C:\\Tools\\ZELVO.TXT"),
              Utf8(notice.text));
}

TEST(SaveNoticeTest, LongPathsAreShortenedInTheMiddleAndFitTheBalloon) {
    // 表 is 0x95 0x5C: its trail byte looks like a separator, and a cut must not split it.
    std::string folder = "C:\\" + Sjis(u"表表表表表表表表表表表表表表表表表表表表表表表表表表表表表表") + "\\";
    std::string path = folder + std::string(170, 'd') + "\\" + Sjis(u"辞書") + "\\ZELVO.TXT";
    ASSERT_GT(path.size(), 240u);
    Notice notice;
    SaveFailureNotice(SAVE_FAILURE_DISK_FULL, 112, path.c_str(), &notice);
    std::string text = notice.text;
    EXPECT_LT(text.size(), NOTICE_TEXT_SIZE);
    std::string shown = Utf8(notice.text);  // every character whole
    size_t pathStart = shown.find('\n') + 1;
    std::string shownPath = shown.substr(pathStart);
    EXPECT_EQ(0u, shownPath.find(u8"C:\\表表"));
    EXPECT_NE(std::string::npos, shownPath.find("..."));
    EXPECT_EQ(shownPath.size() - strlen(u8"辞書\\ZELVO.TXT"), shownPath.rfind(u8"辞書\\ZELVO.TXT"));

    KeptAsideNotice(path.c_str(), (path.substr(0, path.size() - 4) + ".original.TXT").c_str(), &notice);
    EXPECT_LT(strlen(notice.text), NOTICE_TEXT_SIZE);
    shown = Utf8(notice.text);
    EXPECT_NE(std::string::npos, shown.find(u8" ZELVO.original.TXT として"));
    EXPECT_EQ(shown.size() - strlen("\\ZELVO.TXT"), shown.rfind("\\ZELVO.TXT"));
}

struct FitCase {
    std::string path;
    size_t size;
    std::string expected;
};

TEST(SaveNoticeTest, FitPathKeepsBothEndsAndWholeCharacters) {
    const std::string kanji = "\x95\x5C";  // 表
    const FitCase cases[] = {
        {"C:\\a\\b.txt", 64, "C:\\a\\b.txt"},
        {"C:\\a\\b.txt", 11, "C:\\a\\b.txt"},           // exactly fits with its NUL
        {"C:\\abcdefgh\\file.txt", 14, "C:\\a...le.txt"},  // 13 bytes: head, "...", tail
        {"abcdef", 4, "abc"},                           // no room for an ellipsis
        {"abcdef", 1, ""},
        {kanji + kanji + kanji + kanji + "xyz", 9, kanji + "...xyz"},
        // The head would end, the tail begin, inside a character: both move to a boundary.
        {kanji + kanji + kanji + kanji + "xyz", 11, kanji + "..." + kanji + "xyz"},
        {"abc" + kanji + kanji + kanji + kanji, 9, "ab..." + kanji},
    };
    for (const FitCase& c : cases) {
        char out[64];
        FitPath(c.path.c_str(), out, c.size);
        EXPECT_EQ(c.expected, std::string(out)) << c.path << " in " << c.size;
        EXPECT_LT(strlen(out), c.size);
    }
}

struct QuestionCase {
    int words;
    int removed;
    const char* text;
};

TEST(SaveNoticeTest, CleanUpQuestionSaysHowManyGoAndHowManyStay) {
    const QuestionCase cases[] = {
        {10000, 1000,
         u8"しばらく使っていない 1000 語を辞書から削除します。削除した言葉は元に戻せません。\n\n"
         u8"辞書の言葉: 10000 語 → 9000 語"},
        {1200, 1000,
         u8"しばらく使っていない 1000 語を辞書から削除します。削除した言葉は元に戻せません。\n\n"
         u8"辞書の言葉: 1200 語 → 200 語"},
        {500, 1000,
         u8"しばらく使っていない 500 語を辞書から削除します。削除した言葉は元に戻せません。\n\n"
         u8"辞書の言葉: 500 語 → 0 語"},
    };
    for (const QuestionCase& c : cases) {
        char text[EXIT_BOX_TEXT_SIZE];
        CleanUpQuestion(c.words, c.removed, text);
        EXPECT_EQ(Utf8(text), c.text) << c.words;
    }
}

TEST(SaveNoticeTest, TheNoticesAboutLearningAreShiftJisAndFitTheirFields) {
    const struct {
        const char* sjis;
        const char* text;
        size_t size;
    } cases[] = {
        {NOTICE_TITLE_FULL, u8"辞書がいっぱいです", NOTICE_TITLE_SIZE},
        {NOTICE_FULL,
         u8"辞書には 10,000 語まで入ります。新しい言葉はもう覚えられません。トレイメニューの"
         u8"「古い単語を整理…」で、しばらく使っていない言葉を削除できます。",
         NOTICE_TEXT_SIZE},
        {NOTICE_TIP_PAUSED, u8"Zelvo (学習を一時停止中)", 64},
        {NOTICE_TITLE_OPEN_FAILED, u8"辞書ファイルを開けません", NOTICE_TITLE_SIZE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8(c.sjis), c.text);
        EXPECT_LT(strlen(c.sjis), c.size) << c.text;
    }
}

}  // namespace
