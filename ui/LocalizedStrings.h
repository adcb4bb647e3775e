#pragma once
// The texts the windows show, in the language of the run.
//
// The language is chosen once by start-up from the document's "productLang"
// (ChooseRunLanguage); every text is then loaded for that language by an exact
// resource lookup. LoadStringW would follow the thread's UI language instead,
// which Wine ignores.

#include <windows.h>

#include <string>
#include <vector>

namespace Ui {

constexpr LANGID kFallbackLanguage = 1033;  // English (United States)

// The language of the run: 1033 until start-up chooses another.
LANGID RunLanguage();
void SetRunLanguage(LANGID language);

// True when module carries string-table block 7 (ids 96 to 111) in language;
// never for a language whose primary language is neutral.
bool HasStringTable(HMODULE module, LANGID language);

// Text id of module's string tables in language, else in 1033, else empty.
std::wstring LoadStringForLanguage(HMODULE module, UINT id, LANGID language);

// Text id of the program's own resources in the run's language.
std::wstring LoadLocalizedString(UINT id);

// The language that suits a user who reads wanted, among the languages
// carried: wanted itself, else the lowest carried one of the same primary
// language (German for an Austrian German interface), else 1033.
LANGID FitLanguage(LANGID wanted, const std::vector<LANGID>& carried);

// The platform's user-interface language as module's string tables carry it
// (FitLanguage): the language of the texts shown before the document has
// chosen one, for a document that fails to parse.
LANGID PlatformLanguage(HMODULE module);

// Chooses the run's language from a locale name such as "ja-JP": its language
// when module carries strings in it, otherwise 1033. Writes the two log lines
// of the choice, sets the calling thread's locale and UI language and the
// run's language, and returns the language.
LANGID ChooseRunLanguage(HMODULE module, const std::wstring& localeName);

}  // namespace Ui
