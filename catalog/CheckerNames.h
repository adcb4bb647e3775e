#pragma once
// The checkers a "provided" condition can name ("<checker>#<value>"). ActionBase
// maps these names to its checks; stubpack refuses any other name.

namespace Catalog {

inline constexpr wchar_t kIsExist[] = L"_isExist";
inline constexpr wchar_t kIsTrue[] = L"_isTrue";
inline constexpr wchar_t kIsFalse[] = L"_isFalse";
inline constexpr wchar_t kIsZeroOrNonExist[] = L"_isZeroOrNonExist";

inline constexpr const wchar_t* kCheckerNames[] = {kIsExist, kIsTrue, kIsFalse, kIsZeroOrNonExist};

// The separator of a condition's parts.
inline constexpr wchar_t kConditionSeparator[] = L"#";

}  // namespace Catalog
