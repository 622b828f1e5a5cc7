#include "win32/Win32ImageList.h"

#include <cstring>

namespace tolvane::win32 {

HBITMAP CreatePictureBitmap(const CPicture& picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down, as the pixels are stored
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  const int stride = (picture.width * 3 + 3) & ~3;
  auto* rows = static_cast<unsigned char*>(bits);
  std::memset(rows, 0, static_cast<std::size_t>(stride * picture.height));
  for (int y = 0; y < picture.height; ++y) {
    unsigned char* pixel = rows + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t rgb = picture.At(x, y);
      *pixel++ = static_cast<unsigned char>(rgb & 0xFF);          // blue
      *pixel++ = static_cast<unsigned char>((rgb >> 8) & 0xFF);   // green
      *pixel++ = static_cast<unsigned char>((rgb >> 16) & 0xFF);  // red
    }
  }
  return bitmap;
}

bool CWin32ImageList::Create(const CImageList& images) {
  Reset();
  const int count = images.GetImageCount();
  m_hList = ::ImageList_Create(images.width, images.height, ILC_COLOR24, count, 5);
  if (!m_hList) return false;
  for (const CPicture& picture : images.pictures) {
    HBITMAP bitmap = CreatePictureBitmap(picture);
    // Black is the mask colour: the pictures hold none, so they show unchanged.
    const int index = bitmap ? ::ImageList_AddMasked(m_hList, bitmap, RGB(0, 0, 0)) : -1;
    if (bitmap) ::DeleteObject(bitmap);
    if (index < 0) return false;
  }
  return true;
}

void CWin32ImageList::Reset() {
  if (m_hList) ::ImageList_Destroy(m_hList);
  m_hList = nullptr;
}

}  // namespace tolvane::win32
