// The string tables of the built program, loaded by language as the windows will.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "base/ExecutionLog.h"
#include "ProgramModule.h"
#include "ui/LocalizedStrings.h"

using namespace Base;
using namespace Ui;

namespace {

struct ShortTexts {
  LANGID language;
  const wchar_t* localeName;
  const wchar_t* initializing;  // 103
  const wchar_t* downloading;   // 104
  const wchar_t* extracting;    // 105
  const wchar_t* aborted;       // 107
  const wchar_t* troubleshoot;  // 113
  const wchar_t* browser;       // 114
};

const ShortTexts kTable[] = {
    {1028, L"zh-TW", L"正在初始化...", L"正在下載... %.2f%%", L"正在萃取...", L"已中斷。(錯誤:%s)", L"疑難排解", L"瀏覽器下載"},
    {1029, L"cs-CZ", L"Probíhá inicializace...", L"Stahování... %.2f%%", L"Extrahování...", L"Zrušeno. (Chyba: %s)",
     L"Řešení potíží", L"Stáhnout přes prohlížeč"},
    {1031, L"de-DE", L"Wird initialisiert...", L"Wird heruntergeladen... %.2f%%", L"Wird extrahiert...",
     L"Abgebrochen. (Fehler: %s)", L"Fehlerbehebung", L"Browser-Download"},
    {1033, L"en-US", L"Initializing ...", L"Downloading ... %.2f%%", L"Extracting ...", L"Aborted.(Error:%s)",
     L"Troubleshoot", L"Browser download"},
    {1036, L"fr-FR", L"Initialisation en cours...", L"Téléchargement en cours... %.2f%%", L"Extraction en cours...",
     L"Abandonné. (Erreur: %s)", L"Dépanner", L"Téléchargement via un navigateur"},
    {1038, L"hu-HU", L"Inicializálás...", L"Letöltés... %.2f%%", L"Kibontás...", L"Megszakítva. (Hiba: %s)",
     L"Hibaelhárítás", L"Letöltés böngészőből"},
    {1040, L"it-IT", L"Inizializzazione in corso...", L"Download in corso... %.2f%%", L"Estrazione in corso...",
     L"Interrotto. (Errore: %s)", L"Risoluzione dei problemi", L"Scarica dal browser"},
    {1041, L"ja-JP", L"初期化中...", L"ダウンロード中... %.2f%%", L"抽出中...", L"中止されました。(エラー: %s)",
     L"トラブルシューティング", L"ブラウザ ダウンロード"},
    {1042, L"ko-KR", L"초기화 중...", L"다운로드 중... %.2f%%", L"추출 중...", L"중단됨. (오류: %s)", L"문제 해결",
     L"브라우저 다운로드"},
    {1045, L"pl-PL", L"Trwa inicjowanie...", L"Trwa pobieranie... %.2f%%", L"Trwa wyodrębnianie...",
     L"Przerwano. (Błąd: %s)", L"Rozwiązywanie problemów", L"Pobieranie w przeglądarce"},
    {1046, L"pt-BR", L"Inicializando...", L"Fazendo download... %.2f%%", L"Extraindo...", L"Anulado. (Erro: %s)",
     L"Solução de problemas", L"Download de navegador"},
    {1049, L"ru-RU", L"Инициализация...", L"Загрузка... %.2f%%", L"Извлечение...", L"Прервано. (Oшибка: %s)",
     L"Устранение неполадок", L"Загрузка через браузер"},
    {2052, L"zh-CN", L"正在初始化...", L"正在下载... %.2f%%", L"正在提取...", L"已中止。(错误:%s)", L"疑难解答", L"浏览器下载"},
    {2070, L"pt-PT", L"A inicializar...", L"A transferir... %.2f%%", L"A extrair...", L"Abortado. (Erro: %s)",
     L"Solução de problemas", L"Transferência de navegador"},
    {3082, L"es-ES", L"Inicializando...", L"Descargando... %.2f%%", L"Extrayendo...", L"Anulado. (Error: %s)",
     L"Resolución de problemas", L"Descarga con navegador"},
};

const std::map<UINT, std::wstring> kEnglishLongTexts = {
    {IDS_PROXY_CREDENTIALS, L"The server %s at %s requires a username and password."},
    {IDS_DOWNLOAD_BLOCKED,
     L"Something is preventing the software from downloading. Please contact your system administrator."},
    {IDS_LAUNCH_BLOCKED, L"Something is preventing the software from launching. Please contact customer support."},
    {IDS_FETCHWELL_UPDATING,
     L"Please wait a moment while Fetchwell finishes updating. Your download will automatically start when the "
     L"update completes."},
    {IDS_FETCHWELL_UPDATE_TITLE, L"Orvakel Fetchwell update in progress"},
    {IDS_DOWNLOAD_PROBLEM, L"There was a problem downloading the software. Try downloading from a browser."},
};

// The printf conversions of a format, in order ("%%" included).
std::vector<std::wstring> Conversions(const std::wstring& format) {
  std::vector<std::wstring> found;
  for (std::size_t i = format.find(L'%'); i != std::wstring::npos; i = format.find(L'%', i)) {
    const std::size_t end = format.find_first_of(L"%sdfuxc", i + 1);
    if (end == std::wstring::npos) break;
    found.push_back(format.substr(i, end - i + 1));
    i = end + 1;
  }
  return found;
}

class ProgramStrings : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program_.get(), nullptr) << "cannot load [" << program_.path() << "]"; }
  std::wstring load(UINT id, LANGID language) { return LoadStringForLanguage(program_.get(), id, language); }

  ProgramModule program_;
};

TEST_F(ProgramStrings, EveryLanguageCarriesTheShortTextsOfTheTable) {
  for (const ShortTexts& row : kTable) {
    SCOPED_TRACE(row.language);
    EXPECT_EQ(load(IDS_INITIALIZING, row.language), row.initializing);
    EXPECT_EQ(load(IDS_DOWNLOADING, row.language), row.downloading);
    EXPECT_EQ(load(IDS_EXTRACTING, row.language), row.extracting);
    EXPECT_EQ(load(IDS_ABORTED, row.language), row.aborted);
    EXPECT_EQ(load(IDS_TROUBLESHOOT, row.language), row.troubleshoot);
    EXPECT_EQ(load(IDS_BROWSER_DOWNLOAD, row.language), row.browser);
  }
}

TEST_F(ProgramStrings, EveryLanguageTranslatesTheLongMessagesKeepingTheirPlaceholders) {
  for (const auto& [id, english] : kEnglishLongTexts) {
    EXPECT_EQ(load(id, 1033), english);
    for (const ShortTexts& row : kTable) {
      if (row.language == 1033) continue;
      SCOPED_TRACE(testing::Message() << "id " << id << " language " << row.language);
      const std::wstring text = load(id, row.language);
      EXPECT_FALSE(text.empty());
      EXPECT_NE(text, english);
      EXPECT_EQ(Conversions(text), Conversions(english));
    }
  }
}

TEST_F(ProgramStrings, EveryLanguageCarriesBothBlocks) {
  // Ids 103 to 111 come from block 7 and 112 to 114 from block 8; a language
  // with one block but not the other would show a mix of languages.
  for (const ShortTexts& row : kTable) {
    SCOPED_TRACE(row.language);
    EXPECT_TRUE(HasStringTable(program_.get(), row.language));
    EXPECT_FALSE(ResourceBytes(program_.get(), RT_STRING, MAKEINTRESOURCEW(8), row.language).empty());
  }
}

TEST_F(ProgramStrings, EveryLanguageFormatsTheDownloadPercentageWithOnePercentSign) {
  for (const ShortTexts& row : kTable) {
    SCOPED_TRACE(row.language);
    const std::wstring format = load(IDS_DOWNLOADING, row.language);
    wchar_t text[128] = {};
    ASSERT_GT(std::swprintf(text, 128, format.c_str(), 42.17), 0);
    const std::wstring shown = text;
    EXPECT_EQ(shown.size() - shown.rfind(L"42.17%"), 6u) << "ends in 42.17%";
    EXPECT_EQ(std::count(shown.begin(), shown.end(), L'%'), 1);
  }
}

TEST_F(ProgramStrings, AnIdThatNoTableHoldsIsEmpty) {
  EXPECT_EQ(load(115, 1041), L"");
  EXPECT_EQ(load(100, 1033), L"");
  EXPECT_EQ(load(4000, 1033), L"");
}

TEST_F(ProgramStrings, ALanguageWithoutTablesFallsBackToEnglish) {
  EXPECT_EQ(load(IDS_INITIALIZING, 0x0413), L"Initializing ...");  // nl-NL
  EXPECT_EQ(load(IDS_TROUBLESHOOT, 0x0413), L"Troubleshoot");
}

// The language choice of start-up: log lines, thread settings, run language.
class RunLanguageChoice : public ProgramStrings {
 protected:
  void SetUp() override {
    ProgramStrings::SetUp();
    savedLocale_ = GetThreadLocale();
    logStart_ = LogSize();
  }
  void TearDown() override {
    SetThreadLocale(savedLocale_);
    SetRunLanguage(kFallbackLanguage);
  }
  static std::streamoff LogSize() {
    std::ifstream log(ExecutionLog::DefaultPath().c_str(), std::ios::binary | std::ios::ate);
    return log ? static_cast<std::streamoff>(log.tellg()) : 0;
  }
  // What this test wrote to the execution log.
  std::string logWritten() const {
    std::ifstream log(ExecutionLog::DefaultPath().c_str(), std::ios::binary);
    log.seekg(logStart_);
    return std::string(std::istreambuf_iterator<char>(log), {});
  }

  LCID savedLocale_ = 0;
  std::streamoff logStart_ = 0;
};

TEST_F(RunLanguageChoice, ACarriedLanguageIsChosenAndLogged) {
  EXPECT_EQ(ChooseRunLanguage(program_.get(), L"ja-JP"), 1041);
  EXPECT_EQ(RunLanguage(), 1041);
  EXPECT_EQ(GetThreadLocale(), 0x0411u);
  EXPECT_EQ(LoadStringForLanguage(program_.get(), IDS_EXTRACTING, RunLanguage()), L"抽出中...");
  const std::string log = logWritten();
  EXPECT_NE(log.find("INFO:: ProductLang = [ja-JP], try to look for resource with langid = [1041].\r\n"),
            std::string::npos) << log;
  EXPECT_NE(log.find("INFO:: Found string resource of langid [1041].\r\n"), std::string::npos) << log;
}

TEST_F(RunLanguageChoice, BrazilianAndEuropeanPortugueseAreTwoTables) {
  const LANGID brazil = ChooseRunLanguage(program_.get(), L"pt-BR");
  const std::wstring brazilText = LoadStringForLanguage(program_.get(), IDS_DOWNLOADING, RunLanguage());
  const LANGID portugal = ChooseRunLanguage(program_.get(), L"pt-PT");
  const std::wstring portugalText = LoadStringForLanguage(program_.get(), IDS_DOWNLOADING, RunLanguage());
  EXPECT_EQ(brazil, 1046);
  EXPECT_EQ(portugal, 2070);
  EXPECT_EQ(brazilText, L"Fazendo download... %.2f%%");
  EXPECT_EQ(portugalText, L"A transferir... %.2f%%");
}

TEST_F(RunLanguageChoice, ALocaleWhoseLanguageIsNotCarriedFallsBackToEnglish) {
  EXPECT_EQ(ChooseRunLanguage(program_.get(), L"nl-NL"), kFallbackLanguage);
  EXPECT_EQ(RunLanguage(), kFallbackLanguage);
  EXPECT_EQ(GetThreadLocale(), 1033u);
  const std::string log = logWritten();
  EXPECT_NE(log.find("INFO:: ProductLang = [nl-NL], try to look for resource with langid = [1043].\r\n"),
            std::string::npos) << log;
  EXPECT_NE(log.find("INFO:: Can not find string resource of langid [1043], fall back to LANG_ENGLISH, "
                     "SUBLANG_ENGLISH_US langid [1033].\r\n"),
            std::string::npos) << log;
}

TEST_F(RunLanguageChoice, AnUnknownOrEmptyNameFallsBackToEnglish) {
  SetRunLanguage(1041);
  EXPECT_EQ(ChooseRunLanguage(program_.get(), L"xx-YY"), kFallbackLanguage);
  EXPECT_EQ(RunLanguage(), kFallbackLanguage);
  EXPECT_NE(logWritten().find("Can not find string resource of langid [0], fall back"), std::string::npos);
  SetRunLanguage(1041);
  EXPECT_EQ(ChooseRunLanguage(program_.get(), L""), kFallbackLanguage);
  EXPECT_EQ(RunLanguage(), kFallbackLanguage);
}

TEST_F(RunLanguageChoice, ALocaleWithANeutralLanguageFallsBackToEnglish) {
  // Both names give a custom locale (language 0x1000) rather than English.
  for (const wchar_t* name : {L"en-DE", L"en-001"}) {
    SetRunLanguage(1041);
    const LANGID language = LANGIDFROMLCID(LocaleNameToLCID(name, 0));
    EXPECT_EQ(ChooseRunLanguage(program_.get(), name), kFallbackLanguage) << name;
    EXPECT_EQ(RunLanguage(), kFallbackLanguage);
    EXPECT_EQ(GetThreadLocale(), 1033u);
    const std::string expected = "INFO:: Can not find string resource of langid [" + std::to_string(language) +
                                 "], fall back to LANG_ENGLISH, SUBLANG_ENGLISH_US langid [1033].\r\n";
    EXPECT_NE(logWritten().find(expected), std::string::npos) << logWritten();
  }
}

}  // namespace
