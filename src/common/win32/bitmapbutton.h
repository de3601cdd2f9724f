// CBitmapButton: an owner-drawn push button showing one of four bitmaps: up, down
// (pressed), focused, disabled. The button keeps its text for its mnemonic. Used by the
// editor's pick buttons and the launcher's folder button. The bitmaps come in the image
// set of the button's DPI and are drawn whole, never stretched.
#pragma once

#include <windows.h>

#include "common/win32/handles.h"
#include "common/win32/window.h"

namespace zv {

class CBitmapButton : public CWnd {
public:
    // Takes over the button `id` of parent and loads the four bitmap resources at the
    // button's DPI.
    bool Attach(int id, HWND parent, HINSTANCE instance, UINT up, UINT down, UINT focus,
                UINT disabled);
    // Makes the button as large as its up bitmap, around the same centre.
    void SizeToContent();
    // The bitmaps of the image set of dpi, the button sized to them.
    void AfterParentDpiChange(UINT dpi) override;

protected:
    bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void LoadImages(UINT dpi);

    HINSTANCE instance_ = nullptr;
    UINT ids_[4] = {};
    UniqueBitmap up_;
    UniqueBitmap down_;
    UniqueBitmap focus_;
    UniqueBitmap disabled_;
};

}  // namespace zv
