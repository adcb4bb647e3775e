#include "ui/LocalizedStrings.h"

#include <algorithm>
#include <atomic>

#include "base/ExecutionLog.h"
#include "ui/StringTableBlock.h"

namespace Ui {

using Base::LogInfo;

namespace {

constexpr unsigned kLanguageCheckBlock = 7;

std::atomic<LANGID> gRunLanguage{kFallbackLanguage};

HRSRC FindBlock(HMODULE module, unsigned block, LANGID language) {
  return FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), language);
}

// Nothing when the block is not there in exactly this language.
std::wstring ReadString(HMODULE module, UINT id, LANGID language, bool& found) {
  found = false;
  const HRSRC resource = FindBlock(module, StringTableBlockOf(id), language);
  if (resource == nullptr) return {};
  const HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  found = true;
  return StringFromTableBlock(data, SizeofResource(module, resource), id % 16);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR carried) {
  reinterpret_cast<std::vector<LANGID>*>(carried)->push_back(language);
  return TRUE;
}

}  // namespace

LANGID FitLanguage(LANGID wanted, const std::vector<LANGID>& carried) {
  if (std::find(carried.begin(), carried.end(), wanted) != carried.end()) return wanted;
  LANGID fit = 0;
  for (const LANGID language : carried) {
    if (PRIMARYLANGID(language) == PRIMARYLANGID(wanted) && (fit == 0 || language < fit)) fit = language;
  }
  return fit != 0 && PRIMARYLANGID(wanted) != LANG_NEUTRAL ? fit : kFallbackLanguage;
}

LANGID PlatformLanguage(HMODULE module) {
  std::vector<LANGID> carried;
  EnumResourceLanguagesW(module, RT_STRING, MAKEINTRESOURCEW(kLanguageCheckBlock), &CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&carried));
  return FitLanguage(GetUserDefaultUILanguage(), carried);
}

LANGID RunLanguage() { return gRunLanguage.load(); }

void SetRunLanguage(LANGID language) { gRunLanguage.store(language); }

bool HasStringTable(HMODULE module, LANGID language) {
  // A neutral primary language (0 for an unknown locale name, 0x1000 for a
  // custom one such as "en-DE") would let the lookup pick a table by its own
  // rules; such a locale must fall back to English instead.
  return PRIMARYLANGID(language) != LANG_NEUTRAL && FindBlock(module, kLanguageCheckBlock, language) != nullptr;
}

std::wstring LoadStringForLanguage(HMODULE module, UINT id, LANGID language) {
  bool found = false;
  std::wstring text = ReadString(module, id, language, found);
  if (found || language == kFallbackLanguage) return text;
  return ReadString(module, id, kFallbackLanguage, found);
}

std::wstring LoadLocalizedString(UINT id) {
  return LoadStringForLanguage(GetModuleHandleW(nullptr), id, RunLanguage());
}

LANGID ChooseRunLanguage(HMODULE module, const std::wstring& localeName) {
  const LCID locale = LocaleNameToLCID(localeName.c_str(), 0);
  const LANGID language = LANGIDFROMLCID(locale);
  LogInfo(L"ProductLang = [%s], try to look for resource with langid = [%d].\n", localeName.c_str(),
          static_cast<int>(language));
  LANGID chosen = language;
  LCID chosenLocale = locale;
  if (HasStringTable(module, language)) {
    LogInfo(L"Found string resource of langid [%d].\n", static_cast<int>(language));
  } else {
    LogInfo(L"Can not find string resource of langid [%d], fall back to LANG_ENGLISH, SUBLANG_ENGLISH_US langid [%d].\n",
            static_cast<int>(language), static_cast<int>(kFallbackLanguage));
    chosen = kFallbackLanguage;
    chosenLocale = MAKELCID(kFallbackLanguage, SORT_DEFAULT);
  }
  SetThreadLocale(chosenLocale);
  SetThreadUILanguage(chosen);
  SetRunLanguage(chosen);
  return chosen;
}

}  // namespace Ui
