// The resources of the built program as the windows use them: the string
// tables in every language, the language choice and the error mark.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <regex>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "catalog/ProductLocales.h"
#include "resources/ResourceIds.h"
#include "ui/LocalizedStrings.h"

using namespace Ui;

namespace {

constexpr LANGID kDutch = 0x0413;

// The printf conversions of a format, in order ("%%" included).
std::vector<std::wstring> Conversions(const std::wstring& format) {
  static const std::wregex conversion(L"%[^%sdfuxc]*[%sdfuxc]");
  return {std::wsregex_token_iterator(format.begin(), format.end(), conversion), std::wsregex_token_iterator()};
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR list) {
  reinterpret_cast<std::vector<LANGID>*>(list)->push_back(language);
  return TRUE;
}

// The built TarnwickGUI.exe, loaded for its resources only. TARNWICK_PROGRAM
// names it by its Linux path, which Wine shows on drive Z:.
class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    const wchar_t* linuxPath = _wgetenv(L"TARNWICK_PROGRAM");
    path_ = L"Z:" + std::wstring(linuxPath != nullptr ? linuxPath : L"");
    std::replace(path_.begin(), path_.end(), L'/', L'\\');
    program_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program_, nullptr) << "cannot load [" << path_ << "]";
  }
  void TearDown() override {
    SetRunLanguage(kFallbackLanguage);
    if (program_ != nullptr) FreeLibrary(program_);
  }

  std::wstring load(UINT id, LANGID language) { return LoadStringForLanguage(program_, id, language); }
  // The languages of a string-table block.
  std::vector<LANGID> languagesOf(unsigned block) {
    std::vector<LANGID> languages;
    EnumResourceLanguagesW(program_, RT_STRING, MAKEINTRESOURCEW(block), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    std::sort(languages.begin(), languages.end());
    return languages;
  }

  // Made before the language choice first logs: the log read is then this program's own.
  const LogCapture log_;
  std::wstring path_;
  HMODULE program_ = nullptr;
};

TEST_F(ProgramResources, FifteenLanguagesCarryEveryTextWithEnglishPlaceholders) {
  const std::vector<LANGID> languages = languagesOf(7);
  ASSERT_EQ(languages.size(), 15u);
  // A language with one block but not the other would show a mix of languages.
  EXPECT_EQ(languagesOf(8), languages);
  for (UINT id = IDS_INITIALIZING; id <= IDS_BROWSER_DOWNLOAD; ++id) {
    const std::wstring english = load(id, kFallbackLanguage);
    ASSERT_FALSE(english.empty()) << id;
    for (const LANGID language : languages) {
      SCOPED_TRACE(testing::Message() << "id " << id << " language " << language);
      const std::wstring text = load(id, language);
      EXPECT_FALSE(text.empty());
      EXPECT_EQ(Conversions(text), Conversions(english));
      if (language != kFallbackLanguage && english.size() > 40) {
        EXPECT_NE(text, english) << "not translated";
      }
    }
  }
}

// Japanese, Dutch and an unknown locale, with the log lines of the choice, are
// shown by the start-up scenarios; a carried language is chosen by its full
// name (Brazilian and European Portuguese apart) in the catalog test below.
// The thread locale follows either choice in the one call that this fallback
// shows. The texts of a language that is not carried are the English ones, and
// ids have no other source.
TEST_F(ProgramResources, ALocaleThatIsNotCarriedFallsBackToEnglish) {
  EXPECT_EQ(load(IDS_INITIALIZING, kDutch), L"Initializing ...");
  EXPECT_EQ(load(IDS_ABORTED, kDutch), L"Aborted.(Error:%s)");
  EXPECT_EQ(load(115, 1041), L"");
  EXPECT_EQ(load(4000, 1033), L"");
  // "en-DE" is a custom locale of a neutral language (0x1000), not English.
  for (const wchar_t* name : {L"", L"en-DE"}) {
    SetRunLanguage(1041);
    const LANGID language = LANGIDFROMLCID(LocaleNameToLCID(name, 0));
    EXPECT_EQ(ChooseRunLanguage(program_, name), kFallbackLanguage);
    EXPECT_EQ(RunLanguage(), kFallbackLanguage);
    EXPECT_EQ(GetThreadLocale(), 1033u);
    const std::string expected = "INFO:: Can not find string resource of langid [" + std::to_string(language) +
                                 "], fall back to LANG_ENGLISH, SUBLANG_ENGLISH_US langid [1033].\n";
    EXPECT_NE(log_.text().find(expected), std::string::npos) << log_.text();
  }
}

// Before the document names a language, the platform's interface language is
// met as closely as the carried tables allow (German under LC_ALL=de_DE.UTF-8:
// start-up scenarios).
TEST_F(ProgramResources, ThePlatformLanguageIsMetByItsOwnTableOrOneOfItsPrimaryLanguage) {
  const std::vector<LANGID> carried = languagesOf(7);
  struct {
    LANGID platform, shown;
  } const cases[] = {
      {0x0407, 0x0407},  // German (Germany)
      {0x0C07, 0x0407},  // German (Austria): German
      {0x0816, 0x0816},  // Portuguese (Portugal), carried apart from Brazil's
      {0x0C04, 0x0404},  // Chinese (Hong Kong): the lower of the two Chinese tables
      {0x080A, 0x0C0A},  // Spanish (Mexico): the one Spanish table
      {kDutch, kFallbackLanguage},
      {0x1000, kFallbackLanguage},  // a custom locale's neutral language
      {0, kFallbackLanguage},
  };
  for (const auto& c : cases) EXPECT_EQ(FitLanguage(c.platform, carried), c.shown) << c.platform;
}

// stubpack warns about a "productLang" outside the catalog's locales: they must
// be exactly the languages the program carries, chosen by name in any case.
TEST_F(ProgramResources, TheCatalogLocalesAreTheCarriedLanguages) {
  std::vector<LANGID> listed;
  for (const Catalog::ProductLocale& locale : Catalog::kProductLocales) {
    std::wstring lower = locale.name;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    for (const std::wstring& name : {std::wstring(locale.name), lower}) {
      const LogCapture log;
      EXPECT_EQ(ChooseRunLanguage(program_, name), locale.language) << log.text();
    }
    listed.push_back(locale.language);
  }
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, languagesOf(7));
}

// The error window shows the mark through the PNG decoder: a resource that is
// missing or not a PNG leaves the window without it.
TEST_F(ProgramResources, ErrorMarkIsAPng) {
  const HRSRC resource = FindResourceExW(program_, L"PNG", MAKEINTRESOURCEW(IDB_ERROR_MARK), TARNWICK_RESOURCE_LANGUAGE);
  ASSERT_NE(resource, nullptr);
  ASSERT_GT(SizeofResource(program_, resource), 24u);
  const void* png = LockResource(LoadResource(program_, resource));
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(png), 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

}  // namespace
