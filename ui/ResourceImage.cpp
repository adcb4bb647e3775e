#include "ui/ResourceImage.h"

#include <shlwapi.h>

namespace Ui {

ResourceImage::ResourceImage(unsigned id) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
  if (resource == nullptr) return;
  const HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (data == nullptr || size == 0) return;
  stream_ = SHCreateMemStream(static_cast<const BYTE*>(data), size);
  if (stream_ == nullptr) return;
  bitmap_ = std::make_unique<Gdiplus::Bitmap>(stream_);
  if (bitmap_->GetLastStatus() != Gdiplus::Ok) bitmap_.reset();
}

ResourceImage::~ResourceImage() {
  bitmap_.reset();
  if (stream_ != nullptr) stream_->Release();
}

}  // namespace Ui
