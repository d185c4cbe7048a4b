#pragma once
// The child window that shows an Image model's pixel buffer. It paints straight from the
// model, so showing a change only needs an invalidation.
#include "app/components.h"
#include "platform/win32/win32_api.h"

namespace raz::win32 {

void RegisterImageViewClass(HINSTANCE instance);
HWND CreateImageView(HWND parent, int id, const Image& model);

}  // namespace raz::win32
