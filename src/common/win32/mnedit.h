// CMnEdit: a numeric edit field. It takes digits anywhere and a minus sign only as the
// first character; any other change beeps and is taken back, so the text returns to
// what it was before that change (a typed letter goes, the digits before it stay; a
// pasted text goes as a whole). It selects its text and switches the input method when
// it gets the focus.
#pragma once

#include <windows.h>

#include <string>

namespace zv {

class CMnEdit {
public:
    CMnEdit() = default;
    ~CMnEdit();
    CMnEdit(const CMnEdit&) = delete;
    CMnEdit& operator=(const CMnEdit&) = delete;

    // Takes over the edit control `id` of `parent` (a dialog). Its EN_CHANGE is handled
    // here and no longer reaches the parent.
    bool SubclassDlgItem(int id, HWND parent);
    bool Attach(HWND edit);
    void Detach();
    HWND GetSafeHwnd() const { return edit_; }

    int imeMode = 9;  // applied when the field gets the focus; 0 leaves the IME alone

private:
    static LRESULT CALLBACK EditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void OnTextChanged();
    std::wstring Text() const;

    HWND edit_ = nullptr;
    HWND parent_ = nullptr;
    std::wstring accepted_;    // the text after the last accepted change
    DWORD acceptedCaret_ = 0;  // the caret then
    bool restoring_ = false;
};

}  // namespace zv
