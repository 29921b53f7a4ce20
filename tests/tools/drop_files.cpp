// Test helper: drags files onto a window through the system's own
// drag-and-drop, as Explorer does.
//
//   drop_files.exe HWND PATH...
//
// Starts DoDragDrop with a data object that offers the paths as CF_HDROP,
// puts the cursor on the centre of the window HWND (a decimal number) and
// lets go there. Exit codes: 0 the window took the drop, 1 bad arguments,
// 2 the drag could not start or was cancelled, 3 the window refused the
// drop (no effect). The result and the effect are printed.
#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// One format, CF_HDROP in global memory, rendered afresh for every request.
class FileDataObject final : public IDataObject {
 public:
  explicit FileDataObject(std::wstring names) : names_(std::move(names)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    const size_t bytes = sizeof(DROPFILES) + names_.size() * sizeof(wchar_t);
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!block) return E_OUTOFMEMORY;
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, names_.data(), names_.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (direction != DATADIR_GET) return E_NOTIMPL;
    return SHCreateStdEnumFmtEtc(1, &format, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  std::wstring names_;
  ULONG references_ = 1;
};

// Moves the cursor onto the target, then lets go once the drag has seen it
// there for a while; gives up after 10 s.
class Source final : public IDropSource {
 public:
  explicit Source(POINT target) : target_(target), start_(GetTickCount()) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDropSource) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    const DWORD elapsed = GetTickCount() - start_;
    if (escape || elapsed > 10000) return DRAGDROP_S_CANCEL;
    // Two steps, so the drag sees the cursor enter the window and move in it.
    SetCursorPos(target_.x + (elapsed < 300 ? -5 : 0), target_.y);
    return elapsed > 800 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  POINT target_;
  DWORD start_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: drop_files HWND PATH...\n", stderr);
    return 1;
  }
  const HWND target = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(_wtoi64(argv[1])));
  RECT rect;
  if (!GetWindowRect(target, &rect)) return 1;
  std::wstring names;
  for (int i = 2; i < argc; ++i) names += std::wstring(argv[i]) + L'\0';
  names += L'\0';
  if (FAILED(OleInitialize(nullptr))) return 2;
  FileDataObject data(names);
  Source source({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  // The drag starts from where the cursor is: first the button goes down
  // away from the target, as a user's drag would.
  SetCursorPos(rect.left - 20, rect.top - 20);
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  std::printf("DoDragDrop: 0x%08lx, effect %lu\n", static_cast<unsigned long>(result),
              static_cast<unsigned long>(effect));
  OleUninitialize();
  if (result != DRAGDROP_S_DROP) return 2;
  return effect == DROPEFFECT_NONE ? 3 : 0;
}
