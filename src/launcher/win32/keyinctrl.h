// CKeyInCtrl, the launcher's key-capture field: a read-only edit field that takes the
// key pressed in it (a digit, letter, function or numeric-pad key) and shows its name.
// Other keys keep their meaning in the dialog (Tab, Enter, Esc). The editor's KEYIN field
// of the same name takes every key; this one lives in zv::launcher.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/win32/window.h"

namespace zv::launcher {

class CKeyInCtrl : public CWnd {
public:
    // Stores code and shows it, only while the field's window exists. A code without a
    // name becomes no key and an empty field.
    void SetKey(std::uint8_t code);
    std::uint8_t Key() const { return key_; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Refresh();

    std::uint8_t key_ = 0;
};

}  // namespace zv::launcher
