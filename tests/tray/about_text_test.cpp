// The About box's dictionary line: the template's label followed by the real path.
#include "about_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cp932.h"

namespace {

std::string Sjis(const char16_t* text) {
    std::string bytes;
    EXPECT_TRUE(Utf16ToCp932(text, &bytes));
    return bytes;
}

std::string TemplateLine() {
    return Sjis(u"辞書: ZELVO.EXE と同じフォルダの ZELVO.TXT");
}

std::string Label() {
    return Sjis(u"辞書: ");
}

struct LineCase {
    const char* what;
    std::string templateLine;
    std::string path;
    size_t outSize;
    bool made;
    std::string line;  // when made
};

TEST(DictionaryLineTest, PutsTheRealPathAfterTheLabel) {
    const std::string templateLine = TemplateLine();
    const std::string label = Label();
    const std::string path = "C:\\Program Files\\Zelvo\\ZELVO.TXT";
    const std::string japanesePath = Sjis(u"C:\\ユーザー\\表示\\ZELVO.TXT");  // 0x5C trail bytes
    const std::string maxPath = "C:\\" + std::string(251, 'a') + ".TXT";    // 259 bytes
    const LineCase cases[] = {
        {"plain path", templateLine, path, 512, true, label + path},
        {"path with Shift-JIS names", templateLine, japanesePath, 512, true, label + japanesePath},
        {"longest path the program keeps", templateLine, maxPath, 512, true, label + maxPath},
        {"renamed program", templateLine, "D:\\Tools\\ZELVO2.TXT", 512, true,
         label + "D:\\Tools\\ZELVO2.TXT"},
        {"label only in the template", label, path, 512, true, label + path},
        {"exactly fills the buffer", templateLine, path, label.size() + path.size() + 1, true,
         label + path},
        {"one byte short", templateLine, path, label.size() + path.size(), false, ""},
        {"no dictionary path (it would not fit at start-up)", templateLine, "", 512, false, ""},
        {"template line without a label", Sjis(u"辞書はプログラムの隣"), path, 512, false, ""},
        {"colon without a blank", Sjis(u"辞書:ZELVO.TXT"), path, 512, false, ""},
        {"empty template line", "", path, 512, false, ""},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.what);
        char out[600];
        memset(out, 'x', sizeof out);
        ASSERT_LE(c.outSize, sizeof out);
        bool made = DictionaryLine(c.templateLine.c_str(), c.path.c_str(), out, c.outSize);
        EXPECT_EQ(made, c.made);
        if (c.made) {
            EXPECT_EQ(std::string(out), c.line);
        } else {
            EXPECT_EQ(out[0], 'x') << "buffer touched";
        }
    }
}

TEST(DictionaryLineTest, LabelEndsAtTheFirstColonAndBlank) {
    // A colon and blank later in the line (for instance in a drive name) is not the label.
    std::string templateLine = Sjis(u"辞書: C: の ZELVO.TXT");
    char out[100];
    ASSERT_TRUE(DictionaryLine(templateLine.c_str(), "E:\\Z.TXT", out, sizeof out));
    EXPECT_EQ(std::string(out), Label() + "E:\\Z.TXT");
}

}  // namespace
