#include "editor/win32/dragdrop_win32.h"

#include <shlobj.h>

#include <atomic>

#include "common/win32/globalblock.h"
#include "editor/dragdrop.h"
#include "editor/win32/editor_view.h"
#include "editor/win32/mainframe.h"
#include "editor/win32/macrolist.h"

namespace zv {
namespace {

// The reference count every object here shares.
template <class Interface>
class Unknown : public Interface {
public:
    virtual ~Unknown() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::atomic<ULONG> refs_{1};
};

FORMATETC TextFormat() {
    return FORMATETC{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

class TextDataObject : public Unknown<IDataObject> {
public:
    explicit TextDataObject(HGLOBAL block) : block_(block) {}
    ~TextDataObject() override { GlobalFree(block_); }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        HANDLE copy = OleDuplicateData(block_, CF_TEXT, 0);
        if (copy == nullptr)
            return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (format == nullptr)
            return E_INVALIDARG;
        if (format->cfFormat != CF_TEXT || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        if (format->dwAspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out != nullptr)
            out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        FORMATETC format = TextFormat();
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
    HGLOBAL block_;
};

class LineDropSource : public Unknown<IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape)
            return DRAGDROP_S_CANCEL;
        if (!(keys & (MK_LBUTTON | MK_RBUTTON)))
            return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// The drag's key state. Ctrl pressed in another process may not reach the state OLE
// reports (seen under Wine), so the keyboard's own state counts too.
std::uint32_t KeyState(DWORD keys) {
    std::uint32_t state = keys;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000)
        state |= kKeyStateControl;
    return state;
}

class MacroDropTarget : public Unknown<IDropTarget> {
public:
    explicit MacroDropTarget(CMacroListCtrl& list) : list_(list) {}

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD keys, POINTL pt,
                                        DWORD* effect) override {
        return DragOver(keys, pt, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override {
        const std::uint32_t state = KeyState(keys);
        POINT client{pt.x, pt.y};
        ScreenToClient(list_.GetSafeHwnd(), &client);
        const RECT r = list_.ClientRect();
        const DragScrollTimer::Answer scroll = ScrollTimer().Step(
            GetTickCount(), {client.x, client.y}, {r.left, r.top, r.right, r.bottom}, state);
        if (scroll.acted) {
            if (scroll.scroll != ScrollDirection::None) {
                PostMessageW(list_.GetSafeHwnd(), WM_VSCROLL,
                             scroll.scroll == ScrollDirection::LineUp ? SB_LINEUP : SB_LINEDOWN, 0);
            }
            *effect = scroll.effect;
            return S_OK;
        }
        const DropTargetResult r2 = list_.DragDrop().DragOver(list_.PointAt({pt.x, pt.y}), state);
        list_.ApplyEdits(r2.list);
        *effect = r2.effect;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* object, DWORD keys, POINTL pt,
                                   DWORD* effect) override {
        std::string text;
        const bool hasText = ReadDroppedText(object, text);
        const DropTargetResult r = list_.DragDrop().Drop(
            list_.PointAt({pt.x, pt.y}),
            hasText ? std::optional<std::string_view>(text) : std::nullopt, KeyState(keys));
        list_.View().ApplyList(r.list);
        if (r.bringToFront)
            SetForegroundWindow(GetAncestor(list_.GetSafeHwnd(), GA_ROOT));
        *effect = r.effect;
        return S_OK;
    }

private:
    // One stamp for the whole process, as the drag scroll waits between its steps.
    static DragScrollTimer& ScrollTimer() {
        static DragScrollTimer timer;
        return timer;
    }
    CMacroListCtrl& list_;
};

}  // namespace

ComPtr<IDataObject> CreateTextDataObject(const std::string& text) {
    HGLOBAL block = NewGlobalBlock(text.c_str(), text.size() + 1);
    if (block == nullptr)
        return nullptr;
    return ComPtr<IDataObject>::Adopt(new TextDataObject(block));
}

ComPtr<IDropSource> CreateLineDropSource() {
    return ComPtr<IDropSource>::Adopt(new LineDropSource);
}

ComPtr<IDropTarget> CreateMacroDropTarget(CMacroListCtrl& list) {
    return ComPtr<IDropTarget>::Adopt(new MacroDropTarget(list));
}

bool ReadDroppedText(IDataObject* object, std::string& text) {
    if (object == nullptr)
        return false;
    FORMATETC format = TextFormat();
    STGMEDIUM medium{};
    if (FAILED(object->GetData(&format, &medium)))
        return false;
    bool ok = false;
    if (medium.tymed == TYMED_HGLOBAL) {
        const SIZE_T size = GlobalSize(medium.hGlobal);
        if (const char* p = static_cast<const char*>(GlobalLock(medium.hGlobal))) {
            text.assign(p, strnlen(p, size));
            GlobalUnlock(medium.hGlobal);
            ok = true;
        }
    }
    ReleaseStgMedium(&medium);
    return ok;
}

}  // namespace zv
