#pragma once
// The locales the program carries strings for: a "productLang" naming one of
// them runs in its language; any other runs in English (United States).

#include <cstdint>
#include <string>

namespace Catalog {

struct ProductLocale {
  const wchar_t* name;    // as "productLang" gives it, for example "ja-JP"
  std::uint16_t language;  // the language id of its string tables
};

inline constexpr ProductLocale kProductLocales[] = {
    {L"zh-TW", 1028}, {L"cs-CZ", 1029}, {L"de-DE", 1031}, {L"en-US", 1033}, {L"fr-FR", 1036},
    {L"hu-HU", 1038}, {L"it-IT", 1040}, {L"ja-JP", 1041}, {L"ko-KR", 1042}, {L"pl-PL", 1045},
    {L"pt-BR", 1046}, {L"ru-RU", 1049}, {L"zh-CN", 2052}, {L"pt-PT", 2070}, {L"es-ES", 3082},
};

// Whether name is one of kProductLocales, ASCII letters compared without regard
// to case, as the platform compares locale names.
bool IsProductLocale(const std::wstring& name);

}  // namespace Catalog
