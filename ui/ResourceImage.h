#pragma once
// An image of the program's own resources (a "PNG" resource) as a GDI+ bitmap.

#include <memory>

#include "ui/GdiPlus.h"

namespace Ui {

class ResourceImage {
 public:
  // Loads resource id of type "PNG"; check bitmap() for null.
  explicit ResourceImage(unsigned id);
  ~ResourceImage();
  ResourceImage(const ResourceImage&) = delete;
  ResourceImage& operator=(const ResourceImage&) = delete;

  Gdiplus::Bitmap* bitmap() const { return bitmap_.get(); }

 private:
  // The bitmap reads from the stream for as long as it lives.
  IStream* stream_ = nullptr;
  std::unique_ptr<Gdiplus::Bitmap> bitmap_;
};

}  // namespace Ui
