// What of the clipboard is kept during a commit: the formats the owner put there, not the ones
// the system makes of them again; global memory copied, the GDI handles that can be copied
// copied, the rest left out.
#include "clipboard_formats.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Listed {
    unsigned format;
    const char* name;  // registered formats only
    FormatKeep keep;
};

struct PlanCase {
    const char* what;
    std::vector<Listed> formats;  // in the order the clipboard lists them
};

const unsigned HTML = 0xC0F1;
const unsigned RICH_TEXT = 0xC0F2;
const unsigned OLE_DATA = 0xC0F3;

TEST(ClipboardKeep, KeepsWhatTheOwnerPutThereAndLeavesTheRest) {
    const PlanCase cases[] = {
        {"Unicode text: the others are made from it",
         {{FORMAT_UNICODE_TEXT, nullptr, KEEP_MEMORY}, {FORMAT_LOCALE, nullptr, KEEP_MEMORY},
          {FORMAT_TEXT, nullptr, LEAVE_SYNTHESIZED}, {FORMAT_OEM_TEXT, nullptr, LEAVE_SYNTHESIZED}}},
        {"ANSI text: Unicode kept as well, so no character is lost",
         {{FORMAT_TEXT, nullptr, KEEP_MEMORY}, {FORMAT_LOCALE, nullptr, KEEP_MEMORY},
          {FORMAT_OEM_TEXT, nullptr, LEAVE_SYNTHESIZED}, {FORMAT_UNICODE_TEXT, nullptr, KEEP_MEMORY}}},
        {"console text",
         {{FORMAT_OEM_TEXT, nullptr, KEEP_MEMORY}, {FORMAT_TEXT, nullptr, LEAVE_SYNTHESIZED},
          {FORMAT_UNICODE_TEXT, nullptr, KEEP_MEMORY}}},
        {"rich text with HTML: every registered format in memory",
         {{RICH_TEXT, "Rich Text Format", KEEP_MEMORY}, {HTML, "HTML Format", KEEP_MEMORY},
          {FORMAT_UNICODE_TEXT, nullptr, KEEP_MEMORY}, {FORMAT_TEXT, nullptr, LEAVE_SYNTHESIZED}}},
        {"a DIB: the bitmap, the V5 form and the palette are made from it",
         {{FORMAT_DIB, nullptr, KEEP_MEMORY}, {FORMAT_BITMAP, nullptr, LEAVE_SYNTHESIZED},
          {FORMAT_PALETTE, nullptr, LEAVE_SYNTHESIZED}, {FORMAT_DIBV5, nullptr, LEAVE_SYNTHESIZED}}},
        {"a V5 DIB",
         {{FORMAT_DIBV5, nullptr, KEEP_MEMORY}, {FORMAT_DIB, nullptr, LEAVE_SYNTHESIZED},
          {FORMAT_BITMAP, nullptr, LEAVE_SYNTHESIZED}}},
        {"a bitmap handle: kept as its DIB",
         {{FORMAT_BITMAP, nullptr, KEEP_AS_DIB}, {FORMAT_PALETTE, nullptr, LEAVE_SYNTHESIZED},
          {FORMAT_DIB, nullptr, LEAVE_SYNTHESIZED}, {FORMAT_DIBV5, nullptr, LEAVE_SYNTHESIZED}}},
        {"a palette with no picture cannot be kept",
         {{FORMAT_PALETTE, nullptr, LEAVE_UNCOPYABLE}, {FORMAT_TEXT, nullptr, KEEP_MEMORY}}},
        {"an enhanced metafile",
         {{FORMAT_ENHANCED_METAFILE, nullptr, KEEP_ENHANCED_METAFILE},
          {FORMAT_METAFILE_PICTURE, nullptr, LEAVE_SYNTHESIZED}}},
        {"a metafile picture",
         {{FORMAT_METAFILE_PICTURE, nullptr, KEEP_METAFILE_PICTURE},
          {FORMAT_ENHANCED_METAFILE, nullptr, LEAVE_SYNTHESIZED}}},
        {"files with text, picture and metafile groups apart",
         {{FORMAT_FILE_LIST, nullptr, KEEP_MEMORY}, {FORMAT_TEXT, nullptr, KEEP_MEMORY},
          {FORMAT_DIB, nullptr, KEEP_MEMORY}, {FORMAT_ENHANCED_METAFILE, nullptr, KEEP_ENHANCED_METAFILE},
          {FORMAT_LOCALE, nullptr, KEEP_MEMORY}, {FORMAT_OEM_TEXT, nullptr, LEAVE_SYNTHESIZED},
          {FORMAT_UNICODE_TEXT, nullptr, KEEP_MEMORY}, {FORMAT_BITMAP, nullptr, LEAVE_SYNTHESIZED},
          {FORMAT_METAFILE_PICTURE, nullptr, LEAVE_SYNTHESIZED}}},
        {"what only the owner can draw or knows",
         {{FORMAT_OWNER_DISPLAY, nullptr, LEAVE_UNCOPYABLE}, {FORMAT_DISPLAY_TEXT, nullptr, KEEP_MEMORY},
          {FORMAT_DISPLAY_BITMAP, nullptr, LEAVE_UNCOPYABLE},
          {FORMAT_DISPLAY_METAFILE_PICTURE, nullptr, LEAVE_UNCOPYABLE},
          {FORMAT_DISPLAY_ENHANCED_METAFILE, nullptr, LEAVE_UNCOPYABLE},
          {FORMAT_PRIVATE_FIRST, nullptr, LEAVE_UNCOPYABLE}, {0x2FF, nullptr, LEAVE_UNCOPYABLE},
          {0x300, nullptr, LEAVE_UNCOPYABLE}, {FORMAT_GDI_OBJECT_LAST, nullptr, LEAVE_UNCOPYABLE},
          {0x400, nullptr, KEEP_MEMORY}}},
        {"OLE's pointers to the owner's data object",
         {{OLE_DATA, "DataObject", LEAVE_UNCOPYABLE}, {OLE_DATA + 1, "Ole Private Data", LEAVE_UNCOPYABLE},
          {OLE_DATA + 2, "Object Descriptor", KEEP_MEMORY}, {OLE_DATA + 3, nullptr, KEEP_MEMORY},
          {FORMAT_UNICODE_TEXT, nullptr, KEEP_MEMORY}}},
        {"the standard formats of sound, pen and spreadsheets",
         {{4, nullptr, KEEP_MEMORY}, {5, nullptr, KEEP_MEMORY}, {6, nullptr, KEEP_MEMORY},
          {10, nullptr, KEEP_MEMORY}, {11, nullptr, KEEP_MEMORY}, {12, nullptr, KEEP_MEMORY}}},
        {"an empty clipboard", {}},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned> formats;
        std::vector<const char*> names;
        for (const Listed& listed : c.formats) {
            formats.push_back(listed.format);
            names.push_back(listed.name);
        }
        // Each entry starts as something else than expected, so an entry left unset fails.
        std::vector<FormatKeep> plan;
        for (const Listed& listed : c.formats) {
            plan.push_back(listed.keep == KEEP_MEMORY ? LEAVE_UNCOPYABLE : KEEP_MEMORY);
        }
        PlanClipboardKeep(formats.data(), names.data(), static_cast<int>(formats.size()), plan.data());
        for (size_t i = 0; i < formats.size(); ++i) {
            EXPECT_EQ(plan[i], c.formats[i].keep) << "format " << std::hex << formats[i];
        }
    }
}

TEST(ClipboardOpen, AFewAttemptsWithinAFewMilliseconds) {
    const struct {
        int failed;
        uint32_t elapsedUs;
        bool again;
    } cases[] = {
        {1, 0, true},
        {1, 1100, true},
        {CLIPBOARD_OPEN_ATTEMPTS - 1, 4000, true},
        {CLIPBOARD_OPEN_ATTEMPTS, 4000, false},
        {2, CLIPBOARD_OPEN_BUDGET_US - 1, true},
        {2, CLIPBOARD_OPEN_BUDGET_US, false},
        {1, 16000, false},  // one sleep took a whole timer tick
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TryClipboardAgain(c.failed, c.elapsedUs), c.again) << c.failed << " " << c.elapsedUs;
    }
}

}  // namespace
