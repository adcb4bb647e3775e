// The single-language resources of the built program: dialog templates, icon
// group, error mark, version information and manifest.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "ProgramModule.h"

namespace {

constexpr LANGID kSingapore = TARNWICK_RESOURCE_LANGUAGE;

std::uint16_t Word(const std::string& data, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(data[offset]) |
                                    static_cast<unsigned char>(data[offset + 1]) << 8);
}
std::uint32_t Dword(const std::string& data, std::size_t offset) {
  return Word(data, offset) | static_cast<std::uint32_t>(Word(data, offset + 2)) << 16;
}
std::uint32_t BigEndianDword(const std::string& data, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(data[offset + i]);
  return value;
}

// The fields of an extended dialog template that the windows rely on, read
// apart from the platform's dialog manager.
struct TemplateItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  int id = 0;
};
struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = -1, y = -1, cx = 0, cy = 0;
  int pointSize = 0, weight = 0, italic = -1, charset = -1;
  std::wstring title, face;
  std::vector<TemplateItem> items;
};

class TemplateReader {
 public:
  explicit TemplateReader(const std::string& data) : data_(data) {}
  unsigned word() {
    const unsigned value = offset_ + 2 <= data_.size() ? Word(data_, offset_) : 0;
    offset_ += 2;
    return value;
  }
  DWORD dword() {
    const DWORD value = offset_ + 4 <= data_.size() ? Dword(data_, offset_) : 0;
    offset_ += 4;
    return value;
  }
  unsigned byte() { return offset_ < data_.size() ? static_cast<unsigned char>(data_[offset_++]) : 0; }
  std::wstring text() {
    std::wstring value;
    for (unsigned unit = word(); unit != 0 && offset_ <= data_.size(); unit = word()) value.push_back(wchar_t(unit));
    return value;
  }
  // A name or an ordinal (0xFFFF followed by the number).
  std::wstring nameOrOrdinal() {
    if (offset_ + 2 <= data_.size() && Word(data_, offset_) == 0xFFFF) {
      word();
      return L"#" + std::to_wstring(word());
    }
    return text();
  }
  void alignToDword() { offset_ = (offset_ + 3) & ~std::size_t(3); }
  void skip(std::size_t count) { offset_ += count; }

 private:
  const std::string& data_;
  std::size_t offset_ = 0;
};

DialogTemplate ReadTemplate(const std::string& data) {
  DialogTemplate dialog;
  TemplateReader in(data);
  if (in.word() != 1 || in.word() != 0xFFFF) return dialog;
  in.dword();  // help id
  dialog.exStyle = in.dword();
  dialog.style = in.dword();
  const unsigned count = in.word();
  dialog.x = int(in.word());
  dialog.y = int(in.word());
  dialog.cx = int(in.word());
  dialog.cy = int(in.word());
  if (!in.nameOrOrdinal().empty() || !in.nameOrOrdinal().empty()) return dialog;  // no menu, no class
  dialog.title = in.text();
  dialog.pointSize = int(in.word());
  dialog.weight = int(in.word());
  dialog.italic = int(in.byte());
  dialog.charset = int(in.byte());
  dialog.face = in.text();
  for (unsigned i = 0; i < count; ++i) {
    in.alignToDword();
    TemplateItem item;
    in.dword();  // help id
    item.exStyle = in.dword();
    item.style = in.dword();
    in.skip(8);  // position and size: checked on the live dialog
    item.id = int(in.dword());
    in.nameOrOrdinal();
    in.nameOrOrdinal();
    in.skip(in.word());
    dialog.items.push_back(item);
  }
  return dialog;
}

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program_.get(), nullptr); }
  std::string bytes(const wchar_t* type, const wchar_t* name, LANGID language) {
    return ResourceBytes(program_.get(), type, name, language);
  }
  ProgramModule program_;
};

struct ExpectedControl {
  int id;
  const wchar_t* className;
  RECT units;  // x, y, width, height in dialog units
  DWORD style;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

void ExpectDialog(HMODULE module, int templateId, const std::vector<ExpectedControl>& controls) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  const HRSRC resource = FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(templateId), kSingapore);
  ASSERT_NE(resource, nullptr);
  const auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, resource)));
  const DialogTemplate parsed =
      ReadTemplate(std::string(reinterpret_cast<const char*>(dialogTemplate), SizeofResource(module, resource)));
  EXPECT_EQ(parsed.style, DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS));
  EXPECT_EQ(parsed.exStyle, 0u);
  EXPECT_EQ(parsed.x, 0);
  EXPECT_EQ(parsed.y, 0);
  EXPECT_EQ(parsed.cx, 303);
  EXPECT_EQ(parsed.cy, 109);
  EXPECT_EQ(parsed.title, L"Orvakel Quickfetch");
  EXPECT_EQ(parsed.pointSize, 8);
  EXPECT_EQ(parsed.weight, 400);
  EXPECT_EQ(parsed.italic, 0);
  EXPECT_EQ(parsed.charset, 1);
  EXPECT_EQ(parsed.face, L"MS Shell Dlg");
  ASSERT_EQ(parsed.items.size(), controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(parsed.items[i].id, controls[i].id);
    EXPECT_EQ(parsed.items[i].style, controls[i].style) << "template style of " << controls[i].id;
    EXPECT_EQ(parsed.items[i].exStyle, 0u);
  }
  const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, nullptr,
                                                 [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(dialog, nullptr);
  wchar_t caption[64] = {};
  GetWindowTextW(dialog, caption, 64);
  EXPECT_STREQ(caption, L"Orvakel Quickfetch");
  const auto frameStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
  for (const DWORD bit : {DWORD(WS_POPUP), DWORD(WS_CAPTION), DWORD(WS_SYSMENU), DWORD(DS_MODALFRAME)}) {
    EXPECT_EQ(frameStyle & bit, bit);
  }
  RECT client = {};
  GetClientRect(dialog, &client);
  RECT size = {0, 0, 303, 109};
  MapDialogRect(dialog, &size);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);

  HWND child = GetWindow(dialog, GW_CHILD);
  for (const ExpectedControl& expected : controls) {
    SCOPED_TRACE(expected.id);
    ASSERT_NE(child, nullptr) << "fewer controls than expected";
    EXPECT_EQ(GetDlgCtrlID(child), expected.id) << "controls in template order";
    EXPECT_EQ(ClassOf(child), expected.className);
    // Wine's progress bar drops WS_BORDER when it draws its own edge: the
    // template's styles are checked above, the live window's visibility here.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    EXPECT_EQ(style & DWORD(WS_CHILD | WS_VISIBLE), DWORD(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(GetWindowTextLengthW(child), 0);
    RECT placed = {};
    GetWindowRect(child, &placed);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&placed), 2);
    RECT wanted = expected.units;  // each of the four mapped on its own, as the dialog manager does
    MapDialogRect(dialog, &wanted);
    EXPECT_EQ(placed.left, wanted.left);
    EXPECT_EQ(placed.top, wanted.top);
    EXPECT_EQ(placed.right - placed.left, wanted.right);
    EXPECT_EQ(placed.bottom - placed.top, wanted.bottom);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "more controls than expected";
  DestroyWindow(dialog);
}

TEST_F(ProgramResources, MainWindowTemplateHasProgressBarStatusLineAndLabel) {
  ExpectDialog(program_.get(), IDD_MAIN,
               {{IDC_PROGRESS, L"msctls_progress32", {28, 48, 248, 12}, WS_CHILD | WS_VISIBLE | WS_BORDER},
                {IDC_STATUS, L"Static", {28, 70, 246, 32}, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
                {IDC_LABEL, L"Static", {28, 19, 233, 24}, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT}});
}

TEST_F(ProgramResources, ErrorWindowTemplateHasMessageLinkAndButton) {
  ExpectDialog(program_.get(), IDD_ERROR,
               {{IDC_ERROR_MESSAGE, L"Static", {55, 25, 213, 30}, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
                {IDC_TROUBLESHOOT_LINK, L"Static", {55, 75, 100, 19}, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
                {IDC_BROWSER_DOWNLOAD, L"Button", {179, 69, 99, 19},
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON}});
}

TEST_F(ProgramResources, TemplatesAreFoundWhateverTheLanguageAsked) {
  // Single-language resources: a lookup in the neutral language finds them.
  EXPECT_NE(FindResourceW(program_.get(), MAKEINTRESOURCEW(IDD_MAIN), RT_DIALOG), nullptr);
  EXPECT_NE(FindResourceW(program_.get(), MAKEINTRESOURCEW(IDD_ERROR), RT_DIALOG), nullptr);
}

TEST_F(ProgramResources, MainWindowHasAnEmptyLayoutRecord) {
  EXPECT_EQ(bytes(L"AFX_DIALOG_LAYOUT", MAKEINTRESOURCEW(IDD_MAIN), kSingapore), std::string(2, '\0'));
}

TEST_F(ProgramResources, IconGroupHoldsFifteenImagesBySizeWithinDepth) {
  const std::string group = bytes(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_TARNWICK), kSingapore);
  ASSERT_GE(group.size(), 6u);
  ASSERT_EQ(Word(group, 4), 15);
  ASSERT_EQ(group.size(), 6u + 15 * 14);
  const int sizes[] = {64, 48, 40, 32, 16};
  const int depths[] = {4, 8, 32};
  for (int i = 0; i < 15; ++i) {
    SCOPED_TRACE(i);
    const std::size_t entry = 6 + 14 * static_cast<std::size_t>(i);
    const int size = sizes[i % 5];
    const int depth = depths[i / 5];
    EXPECT_EQ(static_cast<unsigned char>(group[entry]), size);
    EXPECT_EQ(static_cast<unsigned char>(group[entry + 1]), size);
    EXPECT_EQ(Word(group, entry + 6), depth);
    EXPECT_EQ(Word(group, entry + 12), i + 1) << "image id";
    const std::string image = bytes(RT_ICON, MAKEINTRESOURCEW(i + 1), kSingapore);
    ASSERT_EQ(image.size(), Dword(group, entry + 8));
    EXPECT_EQ(Dword(image, 4), static_cast<std::uint32_t>(size)) << "bitmap width";
    EXPECT_EQ(Dword(image, 8), static_cast<std::uint32_t>(2 * size)) << "bitmap and mask height";
    EXPECT_EQ(Word(image, 14), depth);
  }
}

TEST_F(ProgramResources, IconLoadsAtEverySize) {
  for (const int size : {16, 32, 48}) {
    const HICON icon = static_cast<HICON>(
        LoadImageW(program_.get(), MAKEINTRESOURCEW(IDI_TARNWICK), IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    if (icon != nullptr) DestroyIcon(icon);
  }
}

TEST_F(ProgramResources, ErrorMarkIsA24By24RgbaPng) {
  const std::string png = bytes(L"PNG", MAKEINTRESOURCEW(IDB_ERROR_MARK), kSingapore);
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(BigEndianDword(png, 16), 24u);
  EXPECT_EQ(BigEndianDword(png, 20), 24u);
  EXPECT_EQ(png[24], 8) << "bits per channel";
  EXPECT_EQ(png[25], 6) << "colour type RGBA";
}

std::wstring VersionString(const std::vector<char>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\480904b0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || value == nullptr) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

TEST_F(ProgramResources, VersionInformationNamesTheProductAndItsVersion) {
  const DWORD size = GetFileVersionInfoSizeW(program_.path().c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(program_.path().c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00030004u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000003u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00030004u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000003u);
  EXPECT_EQ(VersionString(block, L"FileVersion"), L"3.4.0.3");
  EXPECT_EQ(VersionString(block, L"ProductVersion"), L"3.4.0.3");
  EXPECT_EQ(VersionString(block, L"FileDescription"), L"Orvakel Quickset");
  EXPECT_EQ(VersionString(block, L"ProductName"), L"Orvakel Quickset");
  EXPECT_EQ(VersionString(block, L"CompanyName"), L"Orvakel Inc.");
  EXPECT_EQ(VersionString(block, L"InternalName"), L"TarnwickGUI");
  EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"TarnwickGUI.exe");
  EXPECT_NE(VersionString(block, L"LegalCopyright"), L"<missing>");
  EXPECT_NE(FindResourceExW(program_.get(), RT_VERSION, MAKEINTRESOURCEW(1), kSingapore), nullptr);
}

TEST_F(ProgramResources, ManifestAsksForCommonControlsSixAsInvoker) {
  const std::string manifest = bytes(RT_MANIFEST, MAKEINTRESOURCEW(1), 1033);
  ASSERT_FALSE(manifest.empty());
  for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                           "level=\"asInvoker\" uiAccess=\"false\"", "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "<assemblyIdentity version=\"1.0.0.0\""}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
}

}  // namespace
