// The least a windowed program does to show a dialog after checking its own
// signature as the stub does (the same trust call and signer-chain check, on
// the same open file): the second reference of scripts/bench-window.py, which
// pads and signs it to the size of the signed stub. Exit code -1 without a
// window when the signature is not valid.

#include <windows.h>

#include "base/Handles.h"
#include "base/SignatureCheck.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH] = {};
  if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0) return -1;
  const Base::UniqueHandle file(
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (Base::VerifyFileSignature(file.get(), path) != 0) return -1;
  return MessageBoxW(nullptr, L"A minimal dialog.", L"Minimal dialog", MB_OK) == IDOK ? 0 : 1;
}
