// The image loader: BMP, JPEG, GIF and PNG files into a bitmap compatible
// with a device context, through the Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>

namespace velk {

class CImgUtil {
 public:
  // Returns a device-dependent bitmap made from the file's first frame, or
  // null when the file is missing, truncated, corrupt or of an unknown kind.
  // The caller owns the bitmap. The three integers receive the picture's
  // width, height and the bits per pixel of the bitmap (each may be null).
  static HBITMAP LoadImageA(std::string path, HDC dc, int* width, int* height, int* bitsPerPixel);
};

}  // namespace velk
