// The window and dialog bases and the scoped holders, on real windows under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/win32/dialog.h"
#include "common/win32/handles.h"
#include "common/win32/text.h"
#include "common/win32/window.h"
#include "win32_helpers.h"

namespace zv {
namespace {

constexpr UINT kTestDialog = 900;
constexpr int kTestEdit = 100;
constexpr int kTestCombo = 101;
constexpr UINT kProbe = WM_APP + 7;

// How a probe's creation handler answers.
enum class Creation { Accept, Refuse, DestroyItself };

// A created window that counts what it sees and may own itself.
class ProbeWnd : public CWnd {
public:
    int probes = 0;
    int* finals = nullptr;
    int* deletions = nullptr;
    Creation creation = Creation::Accept;
    ~ProbeWnd() override {
        if (deletions != nullptr)
            ++*deletions;
    }
    void OwnItself() { OwnItselfOnceCreated(); }
    bool Create(const wchar_t* caption) {
        return CreateEx(0, L"ZvProbeWnd", caption, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                        nullptr, GetModuleHandleW(nullptr));
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kProbe)
            return ++probes;
        if (msg == WM_CREATE && creation == Creation::Refuse)
            return -1;
        if (msg == WM_CREATE && creation == Creation::DestroyItself) {
            DestroyWindow(hwnd_);
            return 0;
        }
        return Default(msg, wp, lp);
    }
    void OnFinalMessage() override {
        if (finals != nullptr)
            ++*finals;
    }
};

TEST(WindowBase, CreatedWindowRoutesToItsObjectAndEndsWithOneFinalMessage) {
    int finals = 0;
    int deletions = 0;
    auto* w = new ProbeWnd;
    w->finals = &finals;
    w->deletions = &deletions;
    w->OwnItself();
    ASSERT_TRUE(w->Create(L"probe"));
    HWND hwnd = w->GetSafeHwnd();
    EXPECT_EQ(CWnd::FromHandle(hwnd), w);
    EXPECT_EQ(SendMessageW(hwnd, kProbe, 0, 0), 1);
    EXPECT_EQ(SendMessageW(hwnd, kProbe, 0, 0), 2);
    EXPECT_EQ(GetWindowTextMb(hwnd), "probe");

    // A second object of the same class registers nothing twice; when it goes out of scope
    // it takes its window with it.
    HWND secondHwnd = nullptr;
    {
        ProbeWnd second;
        ASSERT_TRUE(second.Create(L"two"));
        secondHwnd = second.GetSafeHwnd();
        EXPECT_EQ(SendMessageW(secondHwnd, kProbe, 0, 0), 1);
    }
    EXPECT_FALSE(IsWindow(secondHwnd));

    DestroyWindow(hwnd);  // deletes w
    EXPECT_EQ(finals, 1);
    EXPECT_EQ(deletions, 1) << "a created window that owns itself goes with its window";
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

TEST(WindowBase, AFailedCreationLeavesTheObjectWithItsCaller) {
    for (const Creation creation : {Creation::Refuse, Creation::DestroyItself}) {
        SCOPED_TRACE(creation == Creation::Refuse ? "refused" : "destroyed while created");
        int finals = 0;
        int deletions = 0;
        auto* w = new ProbeWnd;
        w->OwnItself();
        w->creation = creation;
        w->finals = &finals;
        w->deletions = &deletions;
        EXPECT_FALSE(w->Create(L"failed"));
        EXPECT_EQ(finals, 1) << "its window came and went";
        ASSERT_EQ(deletions, 0) << "the caller still holds the object";
        EXPECT_EQ(w->GetSafeHwnd(), nullptr);
        delete w;
        EXPECT_EQ(deletions, 1);
    }
}

// A subclassed edit that takes its own change notifications.
class ReflectingEdit : public CWnd {
public:
    int changes = 0;
    int chars = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_CHAR)
            ++chars;
        return Default(msg, wp, lp);
    }
    bool OnReflect(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
        if (msg != WM_COMMAND || HIWORD(wp) != EN_CHANGE)
            return false;
        ++changes;
        result = 0;
        return true;
    }
};

TEST(WindowBase, SubclassedControlGetsItsReflectedNotificationsUntilReleased) {
    test::ChangeCountingParent parent;
    ASSERT_TRUE(parent.Create());
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20,
                                parent.GetSafeHwnd(), reinterpret_cast<HMENU>(5), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    {
        ReflectingEdit field;
        ASSERT_TRUE(field.SubclassDlgItem(5, parent.GetSafeHwnd(), true));
        EXPECT_FALSE(field.SubclassWindow(edit)) << "one object, one window";
        SendMessageW(edit, WM_CHAR, L'a', 0);
        SendMessageW(edit, WM_CHAR, L'b', 0);
        EXPECT_EQ(field.chars, 2);
        EXPECT_EQ(field.changes, 2);
        EXPECT_EQ(parent.changes, 0);
        EXPECT_EQ(GetWindowTextMb(edit), "ab") << "the control's own handling still runs";
    }
    SendMessageW(edit, WM_CHAR, L'c', 0);
    EXPECT_EQ(parent.changes, 1) << "released: the parent hears its control again";
    EXPECT_EQ(CWnd::FromHandle(edit), nullptr);

    // Without reflection the parent keeps its notifications.
    ReflectingEdit plain;
    ASSERT_TRUE(plain.SubclassWindow(edit));
    SendMessageW(edit, WM_CHAR, L'd', 0);
    EXPECT_EQ(plain.changes, 0);
    EXPECT_EQ(parent.changes, 2);
    DestroyWindow(parent.GetSafeHwnd());  // the control goes first, then the parent
    EXPECT_EQ(plain.GetSafeHwnd(), nullptr);
}

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(kTestDialog) {}
    std::string seenText;
    int inits = 0;
    int finals = 0;
    int* deletions = nullptr;
    bool refuseOk = false;
    bool destroyInInit = false;
    ~TestDialog() override {
        if (deletions != nullptr)
            ++*deletions;
    }
    void OwnItself() { OwnItselfOnceCreated(); }
    void Focus(int id) { SelectField(id); }

protected:
    BOOL OnInitDialog() override {
        ++inits;
        SetItemText(kTestEdit, "初期値");
        if (destroyInInit)
            DestroyWindow(hwnd_);
        return TRUE;
    }
    void OnOK() override {
        seenText = ItemText(kTestEdit);
        if (!refuseOk)
            CDialog::OnOK();
    }
    void OnFinalMessage() override { ++finals; }
};

// Presses a button of the dialog once its window exists.
void CALLBACK PressLater(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dlg = FindWindowW(nullptr, L"テスト");
    if (dlg != nullptr) {
        SetDlgItemTextW(dlg, kTestEdit, L"入力 \\ 表");
        SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

TEST(DialogBase, ModalRunsInitCommandAndOkThenEnds) {
    TestDialog dlg;
    SetTimer(nullptr, 0, 50, PressLater);
    EXPECT_EQ(dlg.DoModal(nullptr), IDOK);
    EXPECT_EQ(dlg.inits, 1);
    EXPECT_EQ(dlg.seenText, "入力 \\ 表") << "CP932 text of any character survives";
    EXPECT_EQ(dlg.finals, 1);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST(DialogBase, ModelessOwnsItselfOnceCreatedAndCancelDestroysIt) {
    int deletions = 0;
    auto* dlg = new TestDialog;
    dlg->deletions = &deletions;
    dlg->OwnItself();
    ASSERT_TRUE(dlg->Create(nullptr));
    HWND hwnd = dlg->GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(GetWindowTextMb(GetDlgItem(hwnd, kTestEdit)), "初期値");
    dlg->refuseOk = true;
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(hwnd)) << "a refused OK keeps the dialog";
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(hwnd)) << "cancel ends a modeless dialog";
    EXPECT_EQ(deletions, 1) << "which frees itself";

    // A modeless dialog still open when its owner object goes is destroyed with it.
    {
        TestDialog scoped;
        ASSERT_TRUE(scoped.Create(nullptr));
        hwnd = scoped.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));

    // One destroyed while it is created stays with its caller.
    dlg = new TestDialog;
    dlg->deletions = &deletions;
    dlg->OwnItself();
    dlg->destroyInInit = true;
    EXPECT_FALSE(dlg->Create(nullptr));
    EXPECT_EQ(dlg->finals, 1);
    ASSERT_EQ(deletions, 1) << "the caller still holds the dialog";
    delete dlg;
    EXPECT_EQ(deletions, 2);
}

TEST(DialogBase, AFieldTakesTheFocusWithItsTextSelectedAlsoInAComboBox) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND hwnd = dlg.GetSafeHwnd();
    ShowWindow(hwnd, SW_SHOW);
    HWND edit = GetDlgItem(hwnd, kTestEdit);
    HWND combo = GetDlgItem(hwnd, kTestCombo);
    SetWindowTextW(combo, L"候補 one");
    // A combo box selects its text by itself the first time only: the caret is then put
    // inside it and the focus goes elsewhere before the field is refused.
    dlg.Focus(kTestCombo);
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(2, 2));
    dlg.Focus(kTestEdit);
    dlg.Focus(kTestCombo);
    EXPECT_EQ(GetParent(GetFocus()), combo) << "the combo box's edit has the focus";
    EXPECT_EQ(test::Selection(GetFocus()), std::make_pair(0ul, 6ul));

    dlg.Focus(kTestEdit);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(test::Selection(edit), std::make_pair(0ul, 3ul)) << "初期値";
}

// A COM object that counts its references.
class CountedUnknown : public IUnknown {
public:
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(Holders, ComPointerCountsEveryCopyAndReleasesOnce) {
    CountedUnknown object;
    {
        ComPtr<IUnknown> owner = ComPtr<IUnknown>::Adopt(&object);
        EXPECT_EQ(object.refs, 1u);
        {
            ComPtr<IUnknown> copy = owner;
            EXPECT_EQ(object.refs, 2u);
            ComPtr<IUnknown> moved = std::move(copy);
            EXPECT_EQ(object.refs, 2u);
            EXPECT_FALSE(copy);
            moved = owner;  // self-family assignment keeps the count right
            EXPECT_EQ(object.refs, 2u);
        }
        EXPECT_EQ(object.refs, 1u);
        ComPtr<IUnknown> added(&object);
        EXPECT_EQ(object.refs, 2u);
        IUnknown* handedOut = added.Detach();
        EXPECT_EQ(handedOut, &object);
        EXPECT_EQ(object.refs, 2u);
        handedOut->Release();
    }
    EXPECT_EQ(object.refs, 0u);
}

TEST(Holders, HandlesAndGdiObjectsAreFreedOnceAndSelectionsRestored) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        UniqueHandle event(raw);
        DWORD flags = 0;
        EXPECT_TRUE(GetHandleInformation(raw, &flags));
        UniqueHandle other(std::move(event));
        EXPECT_FALSE(event);
        EXPECT_EQ(other.Get(), raw);
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "closed when its holder went";

    HDC screen = GetDC(nullptr);
    MemoryDc dc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    UniquePen pen(CreatePen(PS_SOLID, 3, RGB(1, 2, 3)));
    HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_PEN);
    {
        SelectScope select(dc.Get(), pen.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), before);
    HPEN rawPen = pen.Get();
    pen.Reset();
    EXPECT_EQ(GetObjectType(rawPen), 0u) << "deleted when reset";

    UniqueMenu menu(CreatePopupMenu());
    HMENU rawMenu = menu.Get();
    EXPECT_TRUE(IsMenu(rawMenu));
    menu.Reset();
    EXPECT_FALSE(IsMenu(rawMenu));
}

TEST(WindowText, ResourceStringsAndTextOfAnyLength) {
    HWND marked = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"m", 0, 0, 0, 0, 0, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(marked, nullptr);
    const std::string longText(5000, 'x');
    SetWindowTextMb(marked, longText + "表");
    EXPECT_EQ(GetWindowTextMb(marked), longText + "表");
    DestroyWindow(marked);
    EXPECT_TRUE(LoadResourceString(65000).empty());
}

}  // namespace
}  // namespace zv
