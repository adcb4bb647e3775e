#pragma once

#include <string>

namespace GenericStub {

// Whether a dotted version ("2.0.10.0") is at least minimum. An empty minimum
// is always met; an empty version meets no other. Pieces compare as decimal
// numbers from their leading digits (no digits: 0), and a piece that one side
// lacks counts as 0, so "1.2" and "1.2.0.0" are equal.
bool CompareVersion(const std::wstring& version, const std::wstring& minimum);

}  // namespace GenericStub
