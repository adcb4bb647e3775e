#pragma once
// An image of the program's own resources (a "PNG" resource) as a GDI+ bitmap.

#include <memory>

#include "base/Handles.h"
#include "window/GdiPlus.h"

namespace Window {

class ResourceImage {
 public:
  // Loads resource id of type "PNG"; check bitmap() for null.
  explicit ResourceImage(unsigned id);
  ResourceImage(const ResourceImage&) = delete;
  ResourceImage& operator=(const ResourceImage&) = delete;

  Gdiplus::Bitmap* bitmap() const { return bitmap_.get(); }

 private:
  // The bitmap reads from the stream for as long as it lives: it ends first.
  Base::ComReference<IStream> stream_;
  std::unique_ptr<Gdiplus::Bitmap> bitmap_;
};

}  // namespace Window
