#pragma once
// The built TarnwickGUI.exe, loaded for its resources only. Its path comes from
// the environment (TARNWICK_PROGRAM, a Linux path under Wine's drive Z:).

#include <windows.h>

#include <string>

class ProgramModule {
 public:
  explicit ProgramModule(const wchar_t* variable = L"TARNWICK_PROGRAM");
  ~ProgramModule();
  ProgramModule(const ProgramModule&) = delete;
  ProgramModule& operator=(const ProgramModule&) = delete;

  HMODULE get() const { return module_; }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
  HMODULE module_ = nullptr;
};

// The raw bytes of a resource of module, empty when it is missing.
std::string ResourceBytes(HMODULE module, const wchar_t* type, const wchar_t* name, LANGID language);
