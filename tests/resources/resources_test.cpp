// Loads the resources linked into this program through the system, as ZELVO does, and
// checks what the program gets: the About box built from its template (texts read back
// through the ANSI calls in code page 932, each line fitting its control), the icon in
// both sizes, the version record through the version API, and the ids and menu texts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu_texts.h"
#include "required_resources.h"
#include "resource_checks.h"
#include "resource_ids.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

// The bytes of one of this program's resources in Japanese; empty when missing.
std::vector<uint8_t> ResourceBytes(LPCSTR type, LPCSTR name) {
  HRSRC found = FindResourceExA(Self(), type, name, kJapanese);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(Self(), found);
  const uint8_t* data = static_cast<const uint8_t*>(LockResource(loaded));
  if (!data) return {};
  return std::vector<uint8_t>(data, data + SizeofResource(Self(), found));
}

std::string VersionString(const char* key) {
  char path[MAX_PATH];
  GetModuleFileNameA(Self(), path, MAX_PATH);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  std::vector<char> info(size);
  if (size == 0 || !GetFileVersionInfoA(path, 0, size, info.data())) return "(no record)";
  std::string query = std::string("\\StringFileInfo\\") + required::kStringTable + "\\" + key;
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
    return "(no " + std::string(key) + ")";
  return value;
}

std::string WindowTextA(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class AboutBox : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "the tests need the Japanese ANSI code page";
    dialog_ = CreateDialogParamA(Self(), IDD_ABOUT, nullptr, QuietDialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    if (dialog_) DestroyWindow(dialog_);
  }
  std::vector<HWND> Controls() const {
    std::vector<HWND> controls;
    for (HWND c = GetWindow(dialog_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      controls.push_back(c);
    return controls;
  }
  HWND dialog_ = nullptr;
};

TEST(Ids, AsTheProgramUsesThem) {
  EXPECT_EQ(IDI_MAIN, required::kIconGroup);
  EXPECT_STREQ(IDD_ABOUT, required::kAboutTemplate);
  EXPECT_EQ(IDC_ABOUT_ICON, required::kAboutControls[1].id);
  EXPECT_EQ(IDM_EXIT, required::kMenuExit);
  EXPECT_EQ(IDM_ABOUT, required::kMenuAbout);
}

TEST(MenuTexts, ReadBackFromAMenu) {
  ASSERT_EQ(GetACP(), 932u);
  HMENU menu = CreatePopupMenu();
  ASSERT_NE(menu, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_EXIT, MENU_TEXT_EXIT);
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, IDM_ABOUT, MENU_TEXT_ABOUT);
  wchar_t text[64] = L"";
  GetMenuStringW(menu, IDM_EXIT, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(text), L"常駐解除(&Z)");
  GetMenuStringW(menu, IDM_ABOUT, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(text), L"Zelvoについて(&A)");
  DestroyMenu(menu);
}

TEST(Resources, AboutTemplateAsLinked) {
  std::vector<uint8_t> data = ResourceBytes(MAKEINTRESOURCEA(5) /* RT_DIALOG */, IDD_ABOUT);
  ASSERT_FALSE(data.empty());
  CheckAboutTemplate(data.data(), data.size(), VersionString("ProductName"));
}

TEST(Resources, IconGroupAsLinked) {
  std::vector<uint8_t> group = ResourceBytes(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_MAIN));
  ASSERT_FALSE(group.empty());
  CheckIconGroup(group.data(), group.size(), [](uint16_t id, std::vector<uint8_t>* data) {
    *data = ResourceBytes(RT_ICON, MAKEINTRESOURCEA(id));
    return !data->empty();
  });
}

TEST(Resources, IconLoadsInBothSizes) {
  for (int size : required::kIconSizes) {
    SCOPED_TRACE(size);
    HICON icon = static_cast<HICON>(
        LoadImageA(Self(), MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof colour, &colour));
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST(Resources, VersionRecord) {
  char path[MAX_PATH];
  GetModuleFileNameA(Self(), path, MAX_PATH);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, required::kVersionHigh);
  EXPECT_EQ(fixed->dwFileVersionLS, required::kVersionLow);
  EXPECT_EQ(fixed->dwProductVersionMS, required::kVersionHigh);
  EXPECT_EQ(fixed->dwProductVersionLS, required::kVersionLow);

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], required::kTranslationLanguage);
  EXPECT_EQ(translation[1], required::kTranslationCodePage);

  EXPECT_EQ(VersionString("FileVersion"), required::kVersionText);
  EXPECT_EQ(VersionString("ProductVersion"), required::kVersionText);
  EXPECT_EQ(VersionString("InternalName"), required::kInternalName);
  EXPECT_EQ(VersionString("OriginalFilename"), required::kOriginalFilename);
  std::string name = VersionString("ProductName");
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(VersionString("FileDescription"), name);
}

TEST_F(AboutBox, CaptionAndControlsThroughTheAnsiCalls) {
  EXPECT_EQ(WindowTextA(dialog_), required::kAboutCaption);
  std::vector<HWND> controls = Controls();
  ASSERT_EQ(controls.size(), std::size(required::kAboutControls));
  for (size_t i = 0; i < controls.size(); ++i) {
    SCOPED_TRACE("control " + std::to_string(i + 1));
    const required::Control& want = required::kAboutControls[i];
    char className[32] = "";
    GetClassNameA(controls[i], className, sizeof className);
    EXPECT_STRCASEEQ(className,
                     want.windowClass == required::Class::Button ? "Button" : "Static");
    EXPECT_EQ(GetDlgCtrlID(controls[i]), want.id == -1 ? 0xFFFF : want.id);
    switch (want.textKind) {
      case required::Text::Exact:
        EXPECT_EQ(WindowTextA(controls[i]), want.text);
        break;
      case required::Text::VersionLine:
        EXPECT_EQ(WindowTextA(controls[i]),
                  VersionString("ProductName") + required::kVersionLineTail);
        break;
      case required::Text::IconOrdinal:
        EXPECT_NE(SendMessageA(controls[i], STM_GETICON, 0, 0), 0) << "no icon shown";
        break;
      case required::Text::FreeLine:
        EXPECT_FALSE(WindowTextA(controls[i]).empty());
        break;
    }
  }
}

// Lines 3 to 6 are single lines that the control cuts off: each must fit its width.
TEST_F(AboutBox, TextLinesFitTheirControls) {
  std::vector<HWND> controls = Controls();
  ASSERT_EQ(controls.size(), std::size(required::kAboutControls));
  for (size_t i = 0; i < controls.size(); ++i) {
    const required::Control& want = required::kAboutControls[i];
    if (want.textKind != required::Text::FreeLine &&
        want.textKind != required::Text::VersionLine)
      continue;
    std::string text = WindowTextA(controls[i]);
    SCOPED_TRACE(text);
    RECT client;
    GetClientRect(controls[i], &client);
    HDC dc = GetDC(controls[i]);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(controls[i], WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE extent = {};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent));
    if (old) SelectObject(dc, old);
    ReleaseDC(controls[i], dc);
    EXPECT_GT(extent.cx, 0);
    EXPECT_LE(extent.cx, client.right) << "line cut off";
    EXPECT_LE(extent.cy, client.bottom + 2) << "line too tall";
  }
}

}  // namespace
