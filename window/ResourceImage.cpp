#include "window/ResourceImage.h"

#include <shlwapi.h>

namespace Window {

ResourceImage::ResourceImage(unsigned id) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
  if (resource == nullptr) return;
  const HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, resource);
  if (data == nullptr || size == 0) return;
  stream_.reset(SHCreateMemStream(static_cast<const BYTE*>(data), size));
  if (!stream_) return;
  bitmap_ = std::make_unique<Gdiplus::Bitmap>(stream_.get());
  if (bitmap_->GetLastStatus() != Gdiplus::Ok) bitmap_.reset();
}

}  // namespace Window
