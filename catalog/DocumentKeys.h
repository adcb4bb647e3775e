#pragma once
// The keys of the workflow document itself (the names of the actions' fields
// are in FieldNames.h). JsonCpp reads members by narrow name, the ValueStore by
// wide name: each key gives both forms of one ASCII text.

#include <cstddef>

namespace Catalog {

template <std::size_t N>
struct DocumentKey {
  char text[N];
  wchar_t wide[N];

  constexpr DocumentKey(const char (&ascii)[N]) : text{}, wide{} {
    for (std::size_t i = 0; i < N; ++i) {
      text[i] = ascii[i];
      wide[i] = static_cast<wchar_t>(ascii[i]);
    }
  }
};

// Top-level values, kept in the ValueStore.
inline constexpr DocumentKey kProductLang{"productLang"};  // the run's language
inline constexpr DocumentKey kRequestType{"requestType"};  // the window title's choice
inline constexpr DocumentKey kDirectUrl{"directUrl"};      // what the error window offers the browser
// The list of actions.
inline constexpr DocumentKey kWorkflow{"workflow"};
// Members of one action.
inline constexpr DocumentKey kAction{"action"};
inline constexpr DocumentKey kIn{"in"};
inline constexpr DocumentKey kOut{"out"};
inline constexpr DocumentKey kProvided{"provided"};
// Members of one patch entry of the replace-file action's "additionalArguments".
inline constexpr DocumentKey kEntryVersion{"version"};
inline constexpr DocumentKey kEntrySourceUrl{"sourceUrl"};
inline constexpr DocumentKey kEntryPath{"path"};
inline constexpr DocumentKey kEntryFiles{"files"};
inline constexpr DocumentKey kEntrySha256{"sha256"};  // one pin per file, in the order of "files"
// What separates the names of "files", and the pins of "sha256" likewise.
inline constexpr DocumentKey kEntryListSeparator{"|"};

}  // namespace Catalog
