// CAboutDlg: the About box with the product panel and the versions of the three
// programs; its update button starts the maker's update program.
#pragma once

#include <windows.h>

#include <string>

#include "launcher/launcher_host.h"

namespace zv {

class CAboutDlg {
public:
    CAboutDlg(HINSTANCE instance, std::string programFolder, IMessageHost& host)
        : instance_(instance), programFolder_(std::move(programFolder)), host_(host) {}
    // Shows the box modally. True when the update program was started and the launcher
    // is to close.
    bool DoModal(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
    void OnUpdate(HWND dlg);

    HINSTANCE instance_;
    std::string programFolder_;
    IMessageHost& host_;
    std::wstring versionBlock_;
    bool updateStarted_ = false;
};

}  // namespace zv
