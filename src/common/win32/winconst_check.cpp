// Proves the portable code's names of Win32 numbers against the system headers.
#include <windows.h>
#include <imm.h>
#include <ole2.h>
#include <oleacc.h>

#include "common/numericedit.h"
#include "common/winconst.h"

namespace zv {

static_assert(kWmUser == WM_USER);
static_assert(kWmApp == WM_APP);
static_assert(kWmHelpKey == 0x004D);  // WM_KEYF1 has no name in every header set
static_assert(kWmNcLButtonDown == WM_NCLBUTTONDOWN);
static_assert(kWmNcRButtonDown == WM_NCRBUTTONDOWN);
static_assert(kWmNcMButtonDown == WM_NCMBUTTONDOWN);
static_assert(kWmKeyDown == WM_KEYDOWN);
static_assert(kWmKeyUp == WM_KEYUP);
static_assert(kWmChar == WM_CHAR);
static_assert(kWmDeadChar == WM_DEADCHAR);
static_assert(kWmSysKeyDown == WM_SYSKEYDOWN);
static_assert(kWmSysKeyUp == WM_SYSKEYUP);
static_assert(kWmSysChar == WM_SYSCHAR);
static_assert(kWmSysDeadChar == WM_SYSDEADCHAR);
static_assert(kWmKeyboard108 == WM_SYSDEADCHAR + 1);
static_assert(kWmUniChar == WM_UNICHAR);
static_assert(kWmLButtonDown == WM_LBUTTONDOWN);
static_assert(kWmLButtonUp == WM_LBUTTONUP);
static_assert(kWmLButtonDblClk == WM_LBUTTONDBLCLK);
static_assert(kWmRButtonDown == WM_RBUTTONDOWN);
static_assert(kWmRButtonUp == WM_RBUTTONUP);
static_assert(kWmMButtonDown == WM_MBUTTONDOWN);

static_assert(kShowNormal == SW_SHOWNORMAL);
static_assert(kShowMinimize == SW_MINIMIZE);
static_assert(kShowDefault == SW_SHOWDEFAULT);

static_assert(kVkShift == VK_SHIFT);
static_assert(kVkControl == VK_CONTROL);
static_assert(kVkMenu == VK_MENU);
static_assert(kVkV == 'V');

static_assert(kKeyDown == 0);
static_assert(kKeyUp == KEYEVENTF_KEYUP);
static_assert(kMouseMove == MOUSEEVENTF_MOVE);
static_assert(kMouseLeftDown == MOUSEEVENTF_LEFTDOWN);
static_assert(kMouseLeftUp == MOUSEEVENTF_LEFTUP);
static_assert(kMouseRightDown == MOUSEEVENTF_RIGHTDOWN);
static_assert(kMouseRightUp == MOUSEEVENTF_RIGHTUP);
static_assert(kMouseMiddleDown == MOUSEEVENTF_MIDDLEDOWN);
static_assert(kMouseMiddleUp == MOUSEEVENTF_MIDDLEUP);
static_assert(kMouseXDown == MOUSEEVENTF_XDOWN);
static_assert(kMouseXUp == MOUSEEVENTF_XUP);
static_assert(kMouseWheel == MOUSEEVENTF_WHEEL);

static_assert(kCfText == CF_TEXT);
static_assert(kCfBitmap == CF_BITMAP);
static_assert(kCfMetafilePict == CF_METAFILEPICT);
static_assert(kCfOemText == CF_OEMTEXT);
static_assert(kCfDib == CF_DIB);
static_assert(kCfPalette == CF_PALETTE);
static_assert(kCfUnicodeText == CF_UNICODETEXT);
static_assert(kCfEnhMetafile == CF_ENHMETAFILE);
static_assert(kCfLocale == CF_LOCALE);
static_assert(kCfDibV5 == CF_DIBV5);
static_assert(kCfOwnerDisplay == CF_OWNERDISPLAY);
static_assert(kCfDspBitmap == CF_DSPBITMAP);
static_assert(kCfDspMetafilePict == CF_DSPMETAFILEPICT);
static_assert(kCfDspEnhMetafile == CF_DSPENHMETAFILE);
static_assert(kCfPrivateFirst == CF_PRIVATEFIRST);
static_assert(kCfPrivateLast == CF_PRIVATELAST);
static_assert(kCfGdiObjFirst == CF_GDIOBJFIRST);
static_assert(kCfGdiObjLast == CF_GDIOBJLAST);

static_assert(kStillActive == STILL_ACTIVE);

static_assert(kDropEffectNone == DROPEFFECT_NONE);
static_assert(kDropEffectCopy == DROPEFFECT_COPY);
static_assert(kDropEffectMove == DROPEFFECT_MOVE);
static_assert(kDropEffectScroll == DROPEFFECT_SCROLL);
static_assert(kKeyStateControl == MK_CONTROL);
static_assert(kDefaultScrollInset == DD_DEFSCROLLINSET);

static_assert(kWsBorder == WS_BORDER);
static_assert(kWsDlgFrame == WS_DLGFRAME);
static_assert(kWsCaption == WS_CAPTION);

static_assert(kImeCmodeNative == IME_CMODE_NATIVE);
static_assert(kImeCmodeKatakana == IME_CMODE_KATAKANA);
static_assert(kImeCmodeFullShape == IME_CMODE_FULLSHAPE);
static_assert(kImeCmodeHanjaConvert == IME_CMODE_HANJACONVERT);

static_assert(kImeOff == 9 && kImeHiragana == 1 && kImeKatakanaHalf == 2);

static_assert(kVkCancel == VK_CANCEL && kVkBack == VK_BACK && kVkPause == VK_PAUSE);
static_assert(kVkCapital == VK_CAPITAL && kVkKana == VK_KANA && kVkImeOff == VK_IME_OFF);
static_assert(kVkConvert == VK_CONVERT && kVkModeChange == VK_MODECHANGE && kVkSpace == VK_SPACE);
static_assert(kVkLWin == VK_LWIN && kVkRWin == VK_RWIN);
static_assert(kVkNumpad0 == VK_NUMPAD0 && kVkDivide == VK_DIVIDE);
static_assert(kVkNumLock == VK_NUMLOCK && kVkScroll == VK_SCROLL);
static_assert(kVkLShift == VK_LSHIFT && kVkRMenu == VK_RMENU);
static_assert(kVkRShift == VK_RSHIFT && kVkLControl == VK_LCONTROL && kVkRControl == VK_RCONTROL &&
              kVkLMenu == VK_LMENU);
static_assert(kVkOem1 == VK_OEM_1 && kVkOem3 == VK_OEM_3 && kVkOem4 == VK_OEM_4);
static_assert(kVkOem8 == VK_OEM_8 && kVkOem102 == VK_OEM_102);
static_assert(kVkProcessKey == VK_PROCESSKEY && kVkPacket == VK_PACKET);
static_assert(kVkOemAttn == VK_OEM_ATTN && kVkOemBackTab == VK_OEM_BACKTAB);
static_assert(kVkTab == VK_TAB && kVkEscape == VK_ESCAPE);

static_assert(kEsPassword == ES_PASSWORD && kDlgcHasSetSel == DLGC_HASSETSEL);
static_assert(kDlgcDefPushButton == DLGC_DEFPUSHBUTTON);
static_assert(kDlgcUndefPushButton == DLGC_UNDEFPUSHBUTTON);
static_assert(kDlgcRadioButton == DLGC_RADIOBUTTON && kDlgcWantChars == DLGC_WANTCHARS);
static_assert(kDlgcButton == DLGC_BUTTON);
static_assert(kStateSystemProtected == STATE_SYSTEM_PROTECTED);
static_assert(kRoleSystemMenuItem == ROLE_SYSTEM_MENUITEM);
static_assert(kRoleSystemDocument == ROLE_SYSTEM_DOCUMENT && kRoleSystemLink == ROLE_SYSTEM_LINK);
static_assert(kRoleSystemList == ROLE_SYSTEM_LIST && kRoleSystemListItem == ROLE_SYSTEM_LISTITEM);
static_assert(kRoleSystemOutline == ROLE_SYSTEM_OUTLINE);
static_assert(kRoleSystemOutlineItem == ROLE_SYSTEM_OUTLINEITEM);
static_assert(kRoleSystemPageTab == ROLE_SYSTEM_PAGETAB && kRoleSystemText == ROLE_SYSTEM_TEXT);
static_assert(kRoleSystemPushButton == ROLE_SYSTEM_PUSHBUTTON);
static_assert(kRoleSystemCheckButton == ROLE_SYSTEM_CHECKBUTTON);
static_assert(kRoleSystemRadioButton == ROLE_SYSTEM_RADIOBUTTON);

}  // namespace zv
