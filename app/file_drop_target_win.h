// Files dragged onto the main window through the system's drag-and-drop
// (what Explorer uses): accepted as a copy while the window is enabled, and
// handed on without blocking, since the program that drags waits until the
// drop returns.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace tovo {

class FileDropTarget final : public IDropTarget {
 public:
  using Dropped = std::function<void(std::vector<std::string> paths)>;

  // Made with one reference, which the caller owns. `dropped` runs inside
  // the drop and must return at once.
  FileDropTarget(HWND window, Dropped dropped);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point,
                                      DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point,
                                 DWORD* effect) override;

 private:
  ~FileDropTarget() = default;
  // Copy, never move: a move would let the dragging program delete the
  // originals itself once the drop returns.
  DWORD Effect(DWORD allowed) const;

  std::atomic<ULONG> references_{1};
  HWND window_;
  Dropped dropped_;
  bool offersFiles_ = false;
};

}  // namespace tovo
