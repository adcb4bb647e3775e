#pragma once
// GDI+ as mingw-w64 ships it: its headers use min and max unqualified and need
// the COM declarations that WIN32_LEAN_AND_MEAN leaves out.

#include <windows.h>

#include <objidl.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>
