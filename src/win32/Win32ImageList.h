#pragma once

#include "res/Picture.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

// An image list of 24-bit pictures made from the core's plain pixels; released once, with this.
class CWin32ImageList {
 public:
  CWin32ImageList() = default;
  ~CWin32ImageList() { Reset(); }
  CWin32ImageList(const CWin32ImageList&) = delete;
  CWin32ImageList& operator=(const CWin32ImageList&) = delete;

  // Replaces the list with these pictures; false when the platform refuses one.
  bool Create(const CImageList& images);
  void Reset();
  HIMAGELIST Handle() const { return m_hList; }

 private:
  HIMAGELIST m_hList = nullptr;
};

// A top-down 24-bit DIB section holding the picture; the caller deletes it.
HBITMAP CreatePictureBitmap(const CPicture& picture);

}  // namespace tolvane::win32
