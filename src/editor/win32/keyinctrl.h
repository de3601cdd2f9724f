// CKeyInCtrl: the KEYIN dialog's key field. A read-only edit that records the next key
// pressed in it and shows the key's name; Tab, Enter and Escape are recorded too instead
// of moving the focus or closing the dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "common/win32/window.h"

namespace zv {

class CKeyInCtrl : public CWnd {
public:
    bool Attach(HWND edit) { return SubclassWindow(edit); }
    // The code of the key recorded in the field, 0 for none or for a text set directly.
    std::uint8_t Code() const { return code_; }
    // Shows a key name read from a line; the code is not known then.
    void SetKeyText(std::string_view name);
    void Clear() { SetKeyText({}); }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Take(WPARAM virtualKey);

    std::uint8_t code_ = 0;
};

}  // namespace zv
