// One move-only owner per Win32 handle kind. Each knows its invalid value and
// how to release it; reset() and the destructor keep GetLastError intact so an
// error captured after a failing call survives the clean-up.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

namespace tovo {

template <typename Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::pointer;

  UniqueHandle() = default;
  explicit UniqueHandle(pointer value) : value_(value) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  pointer get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Invalid(); }

  pointer release() { return std::exchange(value_, Traits::Invalid()); }

  void reset(pointer value = Traits::Invalid()) {
    if (value_ != Traits::Invalid()) {
      const DWORD saved = GetLastError();
      Traits::Close(value_);
      SetLastError(saved);
    }
    value_ = value;
  }

 private:
  pointer value_ = Traits::Invalid();
};

// Files opened with CreateFileW: INVALID_HANDLE_VALUE when absent.
struct FileHandleTraits {
  using pointer = HANDLE;
  static pointer Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(pointer h) { CloseHandle(h); }
};

// Kernel objects that use null for "none": threads, processes, events.
struct KernelHandleTraits {
  using pointer = HANDLE;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer h) { CloseHandle(h); }
};

// Directory searches from FindFirstFileW/FindFirstFileExW.
struct FindHandleTraits {
  using pointer = HANDLE;
  static pointer Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(pointer h) { FindClose(h); }
};

// Change notifications from FindFirstChangeNotificationW.
struct ChangeNotificationTraits {
  using pointer = HANDLE;
  static pointer Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(pointer h) { FindCloseChangeNotification(h); }
};

// Menus made with CreatePopupMenu: null when absent.
struct MenuTraits {
  using pointer = HMENU;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer h) { DestroyMenu(h); }
};

struct IconTraits {
  using pointer = HICON;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer h) { DestroyIcon(h); }
};

// Fonts, brushes, pens and bitmaps (not while selected into a DC).
template <typename T>
struct GdiObjectTraits {
  using pointer = T;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer h) { DeleteObject(h); }
};

struct RegKeyTraits {
  using pointer = HKEY;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer h) { RegCloseKey(h); }
};

struct WindowTraits {
  using pointer = HWND;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer h) { DestroyWindow(h); }
};

struct ImageListTraits {
  using pointer = HIMAGELIST;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer h) { ImageList_Destroy(h); }
};

struct ModuleTraits {
  using pointer = HMODULE;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer h) { FreeLibrary(h); }
};

// Files dropped on a window: the system allocated the block, DragFinish
// releases it.
struct DropTraits {
  using pointer = HDROP;
  static pointer Invalid() { return nullptr; }
  static void Close(pointer h) { DragFinish(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueChangeNotification = UniqueHandle<ChangeNotificationTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueDrop = UniqueHandle<DropTraits>;

}  // namespace tovo
