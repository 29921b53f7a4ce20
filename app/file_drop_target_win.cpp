#include "app/file_drop_target_win.h"

#include <shellapi.h>

#include "app/outside_paths_win.h"
#include "platform/scope_exit.h"

namespace tovo {
namespace {

FORMATETC FileListFormat() {
  return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

}  // namespace

FileDropTarget::FileDropTarget(HWND window, Dropped dropped)
    : window_(window), dropped_(std::move(dropped)) {}

HRESULT FileDropTarget::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDropTarget) {
    *out = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() {
  return ++references_;
}

ULONG FileDropTarget::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

DWORD FileDropTarget::Effect(DWORD allowed) const {
  // A disabled window is in a run or a box of ours: a drop would start a
  // second command inside the first, so the cursor says no.
  if (!offersFiles_ || !IsWindowEnabled(window_)) return DROPEFFECT_NONE;
  return allowed & DROPEFFECT_COPY;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  FORMATETC format = FileListFormat();
  offersFiles_ = data && data->QueryGetData(&format) == S_OK;
  *effect = Effect(*effect);
  return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  *effect = Effect(*effect);
  return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
  offersFiles_ = false;
  return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  *effect = Effect(*effect);
  offersFiles_ = false;
  if (*effect == DROPEFFECT_NONE) return S_OK;
  FORMATETC format = FileListFormat();
  STGMEDIUM medium = {};
  if (FAILED(data->GetData(&format, &medium))) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  const auto release = OnScopeExit([&] { ReleaseStgMedium(&medium); });
  // The block is the dragging program's: read, never finished here.
  dropped_(DroppedPaths(static_cast<HDROP>(medium.hGlobal)));
  return S_OK;
}

}  // namespace tovo
