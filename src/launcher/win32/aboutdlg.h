// CAboutDlg: the About box with the product panel and the versions of the three
// programs; its update button starts the maker's update program.
#pragma once

#include <windows.h>

#include <string>

#include "common/win32/dialog.h"
#include "launcher/launcher_host.h"

namespace zv {

class CAboutDlg : public CDialog {
public:
    CAboutDlg(HINSTANCE instance, std::string programFolder, IMessageHost& host);
    // Shows the box modally. True when the update program was started and the launcher
    // is to close.
    bool Run(HWND owner);

private:
    BOOL OnInitDialog() override;
    void OnDpiChanged(UINT oldDpi, UINT newDpi) override;
    INT_PTR DialogProc(UINT msg, WPARAM wp, LPARAM lp) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnUpdate();

    std::string programFolder_;
    IMessageHost& host_;
    std::wstring versionBlock_;
    bool updateStarted_ = false;
};

}  // namespace zv
