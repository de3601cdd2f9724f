// CMnEdit: a numeric edit field. It takes digits anywhere and a minus sign only as the
// first character; any other change beeps and is taken back, so the text returns to
// what it was before that change (a typed letter goes, the digits before it stay; a
// pasted text goes as a whole). It selects its text and switches the input method when
// it gets the focus.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/window.h"

namespace zv {

class CMnEdit : public CWnd {
public:
    // Takes over the edit control `id` of `parent`. Its EN_CHANGE is handled here and no
    // longer reaches the parent, whatever window the parent is.
    bool SubclassDlgItem(int id, HWND parent) { return Attach(GetDlgItem(parent, id)); }
    bool Attach(HWND edit);
    void Detach() { UnsubclassWindow(); }

    int imeMode = 9;  // applied when the field gets the focus; 0 leaves the IME alone

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void OnTextChanged();
    std::wstring Text() const;

    std::wstring accepted_;    // the text after the last accepted change
    DWORD acceptedCaret_ = 0;  // the caret then
    bool restoring_ = false;
};

}  // namespace zv
