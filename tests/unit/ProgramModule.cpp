#include "ProgramModule.h"

#include <vector>

namespace {

std::wstring WindowsPathFromEnvironment(const wchar_t* variable) {
  std::vector<wchar_t> value(32768);
  const DWORD length = GetEnvironmentVariableW(variable, value.data(), static_cast<DWORD>(value.size()));
  if (length == 0 || length >= value.size()) return {};
  std::wstring path(value.data(), length);
  if (!path.empty() && path[0] == L'/') {
    for (wchar_t& c : path) {
      if (c == L'/') c = L'\\';
    }
    path = L"Z:" + path;
  }
  return path;
}

}  // namespace

ProgramModule::ProgramModule(const wchar_t* variable) : path_(WindowsPathFromEnvironment(variable)) {
  if (!path_.empty()) {
    module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
}

ProgramModule::~ProgramModule() {
  if (module_ != nullptr) FreeLibrary(module_);
}

std::string ResourceBytes(HMODULE module, const wchar_t* type, const wchar_t* name, LANGID language) {
  const HRSRC resource = FindResourceExW(module, type, name, language);
  if (resource == nullptr) return {};
  const HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return std::string(static_cast<const char*>(data), SizeofResource(module, resource));
}
