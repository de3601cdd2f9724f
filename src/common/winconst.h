// Numbers of the Win32 API that the portable code works with: window messages, show
// commands, virtual-key codes, key and mouse event flags, drag-and-drop effects, clipboard
// formats, the input method's conversion bits. The portable code cannot include the system
// headers, so they are named here; common/win32/winconst_check.cpp proves every one against
// the system's own value.
#pragma once

#include <cstdint>

namespace zv {

// ---- window messages ----
inline constexpr unsigned kWmUser = 0x0400;
inline constexpr unsigned kWmApp = 0x8000;
inline constexpr unsigned kWmHelpKey = 0x004D;  // WM_KEYF1, the F1-help key message
inline constexpr unsigned kWmNcLButtonDown = 0x00A1;
inline constexpr unsigned kWmNcRButtonDown = 0x00A4;
inline constexpr unsigned kWmNcMButtonDown = 0x00A7;
inline constexpr unsigned kWmKeyDown = 0x0100;
inline constexpr unsigned kWmKeyUp = 0x0101;
inline constexpr unsigned kWmChar = 0x0102;
inline constexpr unsigned kWmDeadChar = 0x0103;
inline constexpr unsigned kWmSysKeyDown = 0x0104;
inline constexpr unsigned kWmSysKeyUp = 0x0105;
inline constexpr unsigned kWmSysChar = 0x0106;
inline constexpr unsigned kWmSysDeadChar = 0x0107;
inline constexpr unsigned kWmKeyboard108 = 0x0108;  // unnamed keyboard message after them
inline constexpr unsigned kWmUniChar = 0x0109;
inline constexpr unsigned kWmLButtonDown = 0x0201;
inline constexpr unsigned kWmLButtonUp = 0x0202;
inline constexpr unsigned kWmLButtonDblClk = 0x0203;
inline constexpr unsigned kWmRButtonDown = 0x0204;
inline constexpr unsigned kWmRButtonUp = 0x0205;
inline constexpr unsigned kWmMButtonDown = 0x0207;

// ---- window styles ----
inline constexpr std::uint32_t kWsBorder = 0x00800000;
inline constexpr std::uint32_t kWsDlgFrame = 0x00400000;
inline constexpr std::uint32_t kWsCaption = kWsBorder | kWsDlgFrame;  // the title bar

// ---- show commands ----
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimize = 6;
inline constexpr int kShowDefault = 10;

// ---- virtual-key codes ----
inline constexpr std::uint8_t kVkShift = 0x10;
inline constexpr std::uint8_t kVkControl = 0x11;
inline constexpr std::uint8_t kVkMenu = 0x12;  // Alt
inline constexpr std::uint8_t kVkV = 0x56;     // the letter V
inline constexpr std::uint8_t kVkRShift = 0xA1;
inline constexpr std::uint8_t kVkLControl = 0xA2;
inline constexpr std::uint8_t kVkRControl = 0xA3;
inline constexpr std::uint8_t kVkLMenu = 0xA4;
// A code that names no key (unassigned): pressed to break an Alt or Win press that would
// otherwise open a menu when let go alone.
inline constexpr std::uint8_t kVkMenuMask = 0xE8;

// ---- key event flags (keybd_event, SendInput) ----
inline constexpr std::uint32_t kKeyDown = 0;
inline constexpr std::uint32_t kKeyUp = 0x0002;

// ---- mouse event flags (mouse_event, SendInput) ----
inline constexpr std::uint32_t kMouseMove = 0x0001;
inline constexpr std::uint32_t kMouseLeftDown = 0x0002;
inline constexpr std::uint32_t kMouseLeftUp = 0x0004;
inline constexpr std::uint32_t kMouseRightDown = 0x0008;
inline constexpr std::uint32_t kMouseRightUp = 0x0010;
inline constexpr std::uint32_t kMouseMiddleDown = 0x0020;
inline constexpr std::uint32_t kMouseMiddleUp = 0x0040;
inline constexpr std::uint32_t kMouseXDown = 0x0080;
inline constexpr std::uint32_t kMouseXUp = 0x0100;
inline constexpr std::uint32_t kMouseWheel = 0x0800;

// ---- OLE drag-and-drop ----
inline constexpr std::uint32_t kDropEffectNone = 0;
inline constexpr std::uint32_t kDropEffectCopy = 1;
inline constexpr std::uint32_t kDropEffectMove = 2;
inline constexpr std::uint32_t kDropEffectScroll = 0x80000000u;
inline constexpr std::uint32_t kKeyStateControl = 0x0008;  // MK_CONTROL
inline constexpr int kDefaultScrollInset = 11;  // DD_DEFSCROLLINSET: the margin that scrolls

// ---- clipboard formats ----
inline constexpr std::uint32_t kCfText = 1;
inline constexpr std::uint32_t kCfBitmap = 2;
inline constexpr std::uint32_t kCfMetafilePict = 3;
inline constexpr std::uint32_t kCfOemText = 7;
inline constexpr std::uint32_t kCfDib = 8;
inline constexpr std::uint32_t kCfPalette = 9;
inline constexpr std::uint32_t kCfUnicodeText = 13;
inline constexpr std::uint32_t kCfEnhMetafile = 14;
inline constexpr std::uint32_t kCfLocale = 16;
inline constexpr std::uint32_t kCfDibV5 = 17;
inline constexpr std::uint32_t kCfOwnerDisplay = 0x0080;
inline constexpr std::uint32_t kCfDspBitmap = 0x0082;
inline constexpr std::uint32_t kCfDspMetafilePict = 0x0083;
inline constexpr std::uint32_t kCfDspEnhMetafile = 0x008E;
inline constexpr std::uint32_t kCfPrivateFirst = 0x0200;
inline constexpr std::uint32_t kCfPrivateLast = 0x02FF;
inline constexpr std::uint32_t kCfGdiObjFirst = 0x0300;
inline constexpr std::uint32_t kCfGdiObjLast = 0x03FF;

// ---- processes ----
inline constexpr std::uint32_t kStillActive = 259;  // exit code of a running process

// ---- input method conversion mode bits ----
inline constexpr std::uint32_t kImeCmodeNative = 0x01;
inline constexpr std::uint32_t kImeCmodeKatakana = 0x02;
inline constexpr std::uint32_t kImeCmodeFullShape = 0x08;
inline constexpr std::uint32_t kImeCmodeHanjaConvert = 0x40;

// ---- virtual keys a recording sorts ----
inline constexpr std::uint8_t kVkCancel = 0x03;  // Ctrl+Pause
inline constexpr std::uint8_t kVkBack = 0x08;
inline constexpr std::uint8_t kVkPause = 0x13;
inline constexpr std::uint8_t kVkCapital = 0x14;
inline constexpr std::uint8_t kVkKana = 0x15;  // 0x15 to 0x1A: input-method keys
inline constexpr std::uint8_t kVkImeOff = 0x1A;
inline constexpr std::uint8_t kVkConvert = 0x1C;  // 0x1C to 0x1F: conversion keys
inline constexpr std::uint8_t kVkModeChange = 0x1F;
inline constexpr std::uint8_t kVkSpace = 0x20;
inline constexpr std::uint8_t kVkLWin = 0x5B;
inline constexpr std::uint8_t kVkRWin = 0x5C;
inline constexpr std::uint8_t kVkNumpad0 = 0x60;  // 0x60 to 0x6F: the numeric keypad
inline constexpr std::uint8_t kVkDivide = 0x6F;
inline constexpr std::uint8_t kVkNumLock = 0x90;
inline constexpr std::uint8_t kVkScroll = 0x91;
inline constexpr std::uint8_t kVkLShift = 0xA0;  // 0xA0 to 0xA5: left and right modifiers
inline constexpr std::uint8_t kVkRMenu = 0xA5;
inline constexpr std::uint8_t kVkOem1 = 0xBA;  // 0xBA to 0xC0: punctuation keys
inline constexpr std::uint8_t kVkOem3 = 0xC0;
inline constexpr std::uint8_t kVkOem4 = 0xDB;  // 0xDB to 0xDF: punctuation keys
inline constexpr std::uint8_t kVkOem8 = 0xDF;
inline constexpr std::uint8_t kVkOem102 = 0xE2;
inline constexpr std::uint8_t kVkProcessKey = 0xE5;  // a key the input method took
inline constexpr std::uint8_t kVkPacket = 0xE7;      // a character injected as a key
inline constexpr std::uint8_t kVkOemAttn = 0xF0;     // 0xF0 to 0xF5: Japanese keyboard modes
inline constexpr std::uint8_t kVkOemBackTab = 0xF5;
inline constexpr std::uint8_t kVkTab = 0x09;
inline constexpr std::uint8_t kVkEscape = 0x1B;

// ---- the focus control a recording asks about ----
inline constexpr std::uint32_t kEsPassword = 0x0020;     // edit style
inline constexpr std::uint32_t kDlgcHasSetSel = 0x0008;  // WM_GETDLGCODE answers
inline constexpr std::uint32_t kDlgcDefPushButton = 0x0010;
inline constexpr std::uint32_t kDlgcUndefPushButton = 0x0020;
inline constexpr std::uint32_t kDlgcRadioButton = 0x0040;
inline constexpr std::uint32_t kDlgcWantChars = 0x0080;
inline constexpr std::uint32_t kDlgcButton = 0x2000;
inline constexpr std::uint32_t kStateSystemProtected = 0x20000000;  // accessible state
inline constexpr std::uint32_t kRoleSystemMenuItem = 0x0C;          // accessible roles
inline constexpr std::uint32_t kRoleSystemDocument = 0x0F;
inline constexpr std::uint32_t kRoleSystemLink = 0x1E;
inline constexpr std::uint32_t kRoleSystemList = 0x21;
inline constexpr std::uint32_t kRoleSystemListItem = 0x22;
inline constexpr std::uint32_t kRoleSystemOutline = 0x23;
inline constexpr std::uint32_t kRoleSystemOutlineItem = 0x24;
inline constexpr std::uint32_t kRoleSystemPageTab = 0x25;
inline constexpr std::uint32_t kRoleSystemText = 0x2A;
inline constexpr std::uint32_t kRoleSystemPushButton = 0x2B;
inline constexpr std::uint32_t kRoleSystemCheckButton = 0x2C;
inline constexpr std::uint32_t kRoleSystemRadioButton = 0x2D;

}  // namespace zv
