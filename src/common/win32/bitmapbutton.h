// CBitmapButton: an owner-drawn push button showing one of four bitmaps: up, down
// (pressed), focused, disabled. The button keeps its text for its mnemonic. Used by the
// editor's pick buttons and the launcher's folder button.
#pragma once

#include <windows.h>

#include "common/win32/handles.h"
#include "common/win32/window.h"

namespace zv {

class CBitmapButton : public CWnd {
public:
    // Takes over the button `id` of parent and loads the four bitmap resources.
    bool Attach(int id, HWND parent, HINSTANCE instance, UINT up, UINT down, UINT focus,
                UINT disabled);
    // Makes the button as large as its up bitmap.
    void SizeToContent();

protected:
    bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    UniqueBitmap up_;
    UniqueBitmap down_;
    UniqueBitmap focus_;
    UniqueBitmap disabled_;
};

}  // namespace zv
