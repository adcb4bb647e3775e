#pragma once
// Owners of platform handles, one idiom for every kind: a UniqueResource closes
// its handle once, in its destructor or on reset, and cannot be copied, only
// moved. Each kind of handle is a traits struct naming its type, its "no
// handle" value and its close call.

#include <windows.h>

#include <bcrypt.h>
#include <uxtheme.h>
#include <wincred.h>
#include <wincrypt.h>
#include <winhttp.h>

#include <cstdint>

namespace Base {

template <class Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() = default;
  explicit UniqueResource(Type value) : value_(value) {}
  ~UniqueResource() { reset(); }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Type get() const { return value_; }
  bool valid() const { return Traits::IsValid(value_); }
  explicit operator bool() const { return valid(); }

  Type release() {
    const Type value = value_;
    value_ = Traits::kNone;
    return value;
  }
  void reset(Type value = Traits::kNone) {
    if (valid()) Traits::Close(value_);
    value_ = value;
  }
  // For calls that hand back a new handle through a pointer; the current one is closed first.
  Type* receive() {
    reset();
    return &value_;
  }

 private:
  Type value_ = Traits::kNone;
};

// Kernel objects: files, threads, processes, events. CreateFile reports failure
// with INVALID_HANDLE_VALUE, most other calls with null.
struct KernelHandleTraits {
  using Type = HANDLE;
  static inline const Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) { CloseHandle(h); }
};

// FindFirstFile's listings.
struct FindHandleTraits {
  using Type = HANDLE;
  static inline const Type kNone = INVALID_HANDLE_VALUE;
  static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) { FindClose(h); }
};

struct WinHttpHandleTraits {
  using Type = HINTERNET;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { WinHttpCloseHandle(h); }
};

struct RegistryKeyTraits {
  using Type = HKEY;
  static inline const Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { RegCloseKey(h); }
};

struct ModuleTraits {
  using Type = HMODULE;
  static inline const Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { FreeLibrary(h); }
};

struct BCryptAlgorithmTraits {
  using Type = BCRYPT_ALG_HANDLE;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { BCryptCloseAlgorithmProvider(h, 0); }
};

struct BCryptKeyTraits {
  using Type = BCRYPT_KEY_HANDLE;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { BCryptDestroyKey(h); }
};

struct BCryptHashTraits {
  using Type = BCRYPT_HASH_HANDLE;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { BCryptDestroyHash(h); }
};

struct CryptProviderTraits {
  using Type = HCRYPTPROV;
  static constexpr Type kNone = 0;
  static bool IsValid(Type h) { return h != 0; }
  static void Close(Type h) { CryptReleaseContext(h, 0); }
};

struct CryptHashTraits {
  using Type = HCRYPTHASH;
  static constexpr Type kNone = 0;
  static bool IsValid(Type h) { return h != 0; }
  static void Close(Type h) { CryptDestroyHash(h); }
};

struct CertStoreTraits {
  using Type = HCERTSTORE;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { CertCloseStore(h, 0); }
};

struct CertContextTraits {
  using Type = PCCERT_CONTEXT;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { CertFreeCertificateContext(h); }
};

struct CryptMessageTraits {
  using Type = HCRYPTMSG;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { CryptMsgClose(h); }
};

struct CertChainTraits {
  using Type = PCCERT_CHAIN_CONTEXT;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { CertFreeCertificateChain(h); }
};

struct CredentialTraits {
  using Type = PCREDENTIALW;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { CredFree(h); }
};

// Memory that a platform call allocated for the caller to release with
// GlobalFree (WinHTTP's proxy texts) or LocalFree (CommandLineToArgvW).
template <class Pointer>
struct GlobalMemoryTraits {
  using Type = Pointer;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type p) { return p != nullptr; }
  static void Close(Type p) { GlobalFree(p); }
};

template <class Pointer>
struct LocalMemoryTraits {
  using Type = Pointer;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type p) { return p != nullptr; }
  static void Close(Type p) { LocalFree(p); }
};

struct ProcessHeapTraits {
  using Type = uint8_t*;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type p) { return p != nullptr; }
  static void Close(Type p) { HeapFree(GetProcessHeap(), 0, p); }
};

// GDI objects: fonts, bitmaps, brushes.
template <class Object>
struct GdiObjectTraits {
  using Type = Object;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { DeleteObject(h); }
};

// A device context of a window (GetDC), given back to the same window.
struct WindowDcTraits {
  struct Type {
    HWND window;
    HDC dc;
  };
  static constexpr Type kNone = {nullptr, nullptr};
  static bool IsValid(Type h) { return h.dc != nullptr; }
  static void Close(Type h) { ReleaseDC(h.window, h.dc); }
};

// A device context made by the program (CreateCompatibleDC).
struct MemoryDcTraits {
  using Type = HDC;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { DeleteDC(h); }
};

// An object selected into a device context: closing selects back the object
// it replaced. Declared after the owners of both, so that it ends first.
struct SelectionTraits {
  struct Type {
    HDC dc;
    HGDIOBJ previous;
  };
  static constexpr Type kNone = {nullptr, nullptr};
  static bool IsValid(Type h) { return h.previous != nullptr && h.previous != HGDI_ERROR; }
  static void Close(Type h) { SelectObject(h.dc, h.previous); }
};

// A COM object's reference (IStream*, ...).
template <class Interface>
struct ComReferenceTraits {
  using Type = Interface*;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type p) { return p != nullptr; }
  static void Close(Type p) { p->Release(); }
};

// Theme data of a window (OpenThemeData).
struct ThemeDataTraits {
  using Type = HTHEME;
  static constexpr Type kNone = nullptr;
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { CloseThemeData(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using FindHandle = UniqueResource<FindHandleTraits>;
using WinHttpHandle = UniqueResource<WinHttpHandleTraits>;
using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using BCryptAlgorithm = UniqueResource<BCryptAlgorithmTraits>;
using BCryptKey = UniqueResource<BCryptKeyTraits>;
using BCryptHash = UniqueResource<BCryptHashTraits>;
using CryptProvider = UniqueResource<CryptProviderTraits>;
using CryptHash = UniqueResource<CryptHashTraits>;
using CertStore = UniqueResource<CertStoreTraits>;
using CertContext = UniqueResource<CertContextTraits>;
using CryptMessage = UniqueResource<CryptMessageTraits>;
using CertChain = UniqueResource<CertChainTraits>;
using CredentialRecord = UniqueResource<CredentialTraits>;
using GlobalText = UniqueResource<GlobalMemoryTraits<LPWSTR>>;
using LocalArgv = UniqueResource<LocalMemoryTraits<LPWSTR*>>;
using HeapBlock = UniqueResource<ProcessHeapTraits>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using ThemeData = UniqueResource<ThemeDataTraits>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using WindowDc = UniqueResource<WindowDcTraits>;
using MemoryDc = UniqueResource<MemoryDcTraits>;
using Selection = UniqueResource<SelectionTraits>;
template <class Interface>
using ComReference = UniqueResource<ComReferenceTraits<Interface>>;

// The device context of window (the screen's for null); check it with valid().
inline WindowDc GetWindowDc(HWND window) { return WindowDc({window, GetDC(window)}); }

// Selects object into dc until the returned owner ends; selects nothing when
// either is null.
inline Selection SelectInto(HDC dc, HGDIOBJ object) {
  return Selection({dc, dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr});
}

}  // namespace Base
