// Window-procedure hooks on real windows: the test windows' procedure and
// the test hooks record what they see, and each case compares the sequence
// with its table. Also checked: the saved procedure, the window's procedure,
// the registry's entries, and the framework's current-message record.
#include "afx/afxstate.h"
#include "afx/afxwnd.h"
#include "tests/support/FakeWindowSystem.h"
#include "tests/support/MessageSequence.h"
#include "tray/SubclassWnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
const UINT WM_PING = WM_APP + 1;
const UINT WM_NESTED = WM_APP + 2;
const UINT WM_OTHER = WM_APP + 3;

// A hook that records each message it sees as "<name> <message>", runs
// onMessage (if set) and then passes the message on, or swallows it and
// answers 7.
class CRecordingHook : public CSubclassWnd
{
public:
    explicit CRecordingHook(const char* pszName, bool bSwallow = false) : m_pszName(pszName), m_bSwallow(bSwallow) {}

    HWND Hooked() const { return m_hWndHooked; }
    WNDPROC PrevWndProc() const { return m_pfnPrevWndProc; }
    CSubclassWnd* NextHook() const { return m_pNextHook; }

    std::function<void(UINT nMessage)> onMessage;

    LRESULT HookedWindowProc(UINT nMessage, WPARAM wParam, LPARAM lParam) override
    {
        if (IsRecordedMessage(nMessage))
            g_sequence.push_back(std::string(m_pszName) + " " + MessageText(nMessage, wParam, lParam));
        if (onMessage)
            onMessage(nMessage);
        if (m_bSwallow)
            return 7;
        return CSubclassWnd::HookedWindowProc(nMessage, wParam, lParam);
    }

private:
    const char* m_pszName;
    bool m_bSwallow;
};

WNDPROC WindowProcOf(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

// Every test starts with an empty registry and an empty sequence, records the
// seam's SetWindowProc calls, and ends with its windows destroyed.
class SubclassWnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, GetSubclassWndMap().GetCount());
        m_hWnd = CreateRecordingWindow("wnd");
        ASSERT_NE(nullptr, m_hWnd);
        g_sequence.clear();
    }

    void TearDown() override
    {
        g_onRecordingWndProc = nullptr;
        if (IsWindow(m_hWnd))
            DestroyWindow(m_hWnd);
        g_sequence.clear();
    }

    LRESULT Ping(WPARAM wParam = 11, LPARAM lParam = 12) { return SendMessageA(m_hWnd, WM_PING, wParam, lParam); }

    CFakeWindowSystem m_fake;
    HWND m_hWnd = nullptr;
};
}

TEST_F(SubclassWnd, NewestHookSeesMessagesFirstAndTheWindowLast)
{
    CRecordingHook a("A"), b("B");
    EXPECT_TRUE(a.HookTo(m_hWnd));
    EXPECT_TRUE(b.HookTo(m_hWnd));

    EXPECT_EQ(1011, Ping());
    EXPECT_SEQUENCE({ "B WM_APP+1(11,12)", "A WM_APP+1(11,12)", "wnd WM_APP+1(11,12)" });

    // The window's procedure was replaced once, when A went on; both hooks
    // hold the procedure it had before.
    ASSERT_EQ(1u, m_fake.windowProcsSet.size());
    EXPECT_EQ(m_hWnd, m_fake.windowProcsSet[0].first);
    EXPECT_EQ(SubclassWndProc, m_fake.windowProcsSet[0].second);
    EXPECT_EQ(SubclassWndProc, WindowProcOf(m_hWnd));
    EXPECT_EQ(RecordingWndProc, a.PrevWndProc());
    EXPECT_EQ(RecordingWndProc, b.PrevWndProc());
    EXPECT_EQ(&a, b.NextHook());
    EXPECT_EQ(nullptr, a.NextHook());
    EXPECT_EQ(m_hWnd, a.Hooked());
    EXPECT_EQ(m_hWnd, b.Hooked());
    EXPECT_EQ(&b, GetSubclassWndMap().FindHook(m_hWnd));
    EXPECT_EQ(1, GetSubclassWndMap().GetCount());
}

namespace
{
// Hooks put on in order (index 0 oldest); some taken off, in order, either
// with HookTo(NULL) or by destroying the hook object.
struct RemovalCase
{
    const char* pszName;
    std::vector<int> remove;
    std::vector<std::string> expected;  // the sequence of a ping afterwards
    int nHead;                          // the registry's hook afterwards, -1 none
    std::vector<int> nextOf;            // each remaining hook's next hook, -1 none
};

const char* const HOOK_NAMES[] = { "A", "B", "C" };

void RunRemovalCase(HWND hWnd, CFakeWindowSystem& fake, int nHooks, const RemovalCase& test, bool bByDestruction)
{
    SCOPED_TRACE(std::string(test.pszName) + (bByDestruction ? ", by destruction" : ", by HookTo(NULL)"));
    std::vector<std::unique_ptr<CRecordingHook>> hooks;
    for (int i = 0; i < nHooks; ++i)
    {
        hooks.emplace_back(new CRecordingHook(HOOK_NAMES[i]));
        hooks.back()->HookTo(hWnd);
    }
    fake.ClearRecords();
    for (int i : test.remove)
    {
        if (bByDestruction)
        {
            hooks[i].reset();
        }
        else
        {
            EXPECT_TRUE(hooks[i]->HookTo(nullptr));
            EXPECT_EQ(nullptr, hooks[i]->Hooked());
            EXPECT_EQ(nullptr, hooks[i]->PrevWndProc());
        }
    }
    g_sequence.clear();
    EXPECT_EQ(1011, SendMessageA(hWnd, WM_PING, 11, 12));
    EXPECT_SEQUENCE(test.expected);

    if (test.nHead < 0)
    {
        // The last hook came off: the window has its own procedure back.
        EXPECT_EQ(nullptr, GetSubclassWndMap().FindHook(hWnd));
        EXPECT_EQ(0, GetSubclassWndMap().GetCount());
        EXPECT_EQ(RecordingWndProc, WindowProcOf(hWnd));
        ASSERT_EQ(1u, fake.windowProcsSet.size());
        EXPECT_EQ(RecordingWndProc, fake.windowProcsSet[0].second);
    }
    else
    {
        EXPECT_EQ(hooks[test.nHead].get(), GetSubclassWndMap().FindHook(hWnd));
        EXPECT_EQ(SubclassWndProc, WindowProcOf(hWnd));
        EXPECT_TRUE(fake.windowProcsSet.empty());
    }
    for (int i = 0; i < nHooks; ++i)
    {
        if (test.nextOf[i] == -2)
            continue;  // taken off
        CSubclassWnd* pExpected = test.nextOf[i] < 0 ? nullptr : hooks[test.nextOf[i]].get();
        EXPECT_EQ(pExpected, hooks[i]->NextHook()) << "next of " << HOOK_NAMES[i];
        EXPECT_EQ(RecordingWndProc, hooks[i]->PrevWndProc()) << HOOK_NAMES[i];
        EXPECT_EQ(hWnd, hooks[i]->Hooked()) << HOOK_NAMES[i];
    }
    for (auto& pHook : hooks)
        if (pHook)
            pHook->HookTo(nullptr);
}
}

TEST_F(SubclassWnd, TakingHooksOffTwoOnAWindow)
{
    // nextOf: -1 no next hook, -2 the hook is off.
    const RemovalCase cases[] = {
        { "newest off", { 1 }, { "A WM_APP+1(11,12)", "wnd WM_APP+1(11,12)" }, 0, { -1, -2 } },
        { "oldest off", { 0 }, { "B WM_APP+1(11,12)", "wnd WM_APP+1(11,12)" }, 1, { -2, -1 } },
        { "both, newest first", { 1, 0 }, { "wnd WM_APP+1(11,12)" }, -1, { -2, -2 } },
        { "both, oldest first", { 0, 1 }, { "wnd WM_APP+1(11,12)" }, -1, { -2, -2 } },
    };
    for (const RemovalCase& test : cases)
        for (bool bByDestruction : { false, true })
            RunRemovalCase(m_hWnd, m_fake, 2, test, bByDestruction);
}

TEST_F(SubclassWnd, TakingHooksOffThreeOnAWindow)
{
    const RemovalCase cases[] = {
        { "middle off", { 1 }, { "C WM_APP+1(11,12)", "A WM_APP+1(11,12)", "wnd WM_APP+1(11,12)" }, 2, { -1, -2, 0 } },
        { "newest off", { 2 }, { "B WM_APP+1(11,12)", "A WM_APP+1(11,12)", "wnd WM_APP+1(11,12)" }, 1, { -1, 0, -2 } },
        { "oldest off", { 0 }, { "C WM_APP+1(11,12)", "B WM_APP+1(11,12)", "wnd WM_APP+1(11,12)" }, 2, { -2, -1, 1 } },
        { "all but the middle", { 0, 2 }, { "B WM_APP+1(11,12)", "wnd WM_APP+1(11,12)" }, 1, { -2, -1, -2 } },
    };
    for (const RemovalCase& test : cases)
        for (bool bByDestruction : { false, true })
            RunRemovalCase(m_hWnd, m_fake, 3, test, bByDestruction);
}

TEST_F(SubclassWnd, OnlyHookOffGivesTheWindowItsProcedureBack)
{
    const RemovalCase test = { "only hook", { 0 }, { "wnd WM_APP+1(11,12)" }, -1, { -2 } };
    for (bool bByDestruction : { false, true })
        RunRemovalCase(m_hWnd, m_fake, 1, test, bByDestruction);
}

TEST_F(SubclassWnd, HookToNullOnAnOffHookChangesNothing)
{
    CRecordingHook a("A"), b("B");
    a.HookTo(m_hWnd);
    m_fake.ClearRecords();

    EXPECT_TRUE(b.HookTo(nullptr));
    EXPECT_EQ(nullptr, b.Hooked());
    EXPECT_TRUE(m_fake.windowProcsSet.empty());
    EXPECT_EQ(&a, GetSubclassWndMap().FindHook(m_hWnd));
    EXPECT_EQ(nullptr, a.NextHook());
    Ping();
    EXPECT_SEQUENCE({ "A WM_APP+1(11,12)", "wnd WM_APP+1(11,12)" });
}

TEST_F(SubclassWnd, HookThatDoesNotPassOnSwallowsTheMessage)
{
    CRecordingHook a("A"), b("B", true);
    a.HookTo(m_hWnd);
    b.HookTo(m_hWnd);
    EXPECT_EQ(7, Ping());
    EXPECT_SEQUENCE({ "B WM_APP+1(11,12)" });
}

TEST_F(SubclassWnd, DestroyedWindowTakesEveryHookOffBeforeItsProcedureSeesNcDestroy)
{
    CRecordingHook a("A"), b("B");
    a.HookTo(m_hWnd);
    b.HookTo(m_hWnd);
    HWND hWnd = m_hWnd;
    g_onRecordingWndProc = [&](HWND hWndSeen, UINT nMessage, WPARAM, LPARAM) {
        if (nMessage != WM_NCDESTROY || hWndSeen != hWnd)
            return;
        bool bAllOff = a.Hooked() == nullptr && b.Hooked() == nullptr && a.PrevWndProc() == nullptr &&
                       b.PrevWndProc() == nullptr && GetSubclassWndMap().FindHook(hWndSeen) == nullptr &&
                       WindowProcOf(hWndSeen) == RecordingWndProc;
        g_sequence.push_back(bAllOff ? "hooks off, own procedure back" : "hooks still on");
    };
    g_sequence.clear();
    m_fake.ClearRecords();

    EXPECT_TRUE(DestroyWindow(m_hWnd));
    EXPECT_SEQUENCE({ "B WM_DESTROY(0,0)", "A WM_DESTROY(0,0)", "wnd WM_DESTROY(0,0)", "wnd WM_NCDESTROY(0,0)",
                      "hooks off, own procedure back" });
    EXPECT_EQ(0, GetSubclassWndMap().GetCount());

    // Taking the hooks off or destroying them afterwards changes nothing.
    m_fake.ClearRecords();
    EXPECT_TRUE(a.HookTo(nullptr));
    std::unique_ptr<CRecordingHook> c(new CRecordingHook("C"));
    c->HookTo(nullptr);
    c.reset();
    EXPECT_TRUE(m_fake.windowProcsSet.empty());
    EXPECT_EQ(0, GetSubclassWndMap().GetCount());
    EXPECT_SEQUENCE({});
}

TEST_F(SubclassWnd, EachWindowHasItsOwnChain)
{
    HWND hWnd2 = CreateRecordingWindow("wnd2");
    CRecordingHook a("A"), b("B");
    a.HookTo(m_hWnd);
    b.HookTo(hWnd2);
    EXPECT_EQ(2, GetSubclassWndMap().GetCount());
    EXPECT_EQ(nullptr, b.NextHook());

    Ping();
    SendMessageA(hWnd2, WM_PING, 21, 22);
    EXPECT_SEQUENCE({ "A WM_APP+1(11,12)", "wnd WM_APP+1(11,12)", "B WM_APP+1(21,22)", "wnd2 WM_APP+1(21,22)" });

    a.HookTo(nullptr);
    EXPECT_EQ(1, GetSubclassWndMap().GetCount());
    EXPECT_EQ(&b, GetSubclassWndMap().FindHook(hWnd2));
    DestroyWindow(hWnd2);
    EXPECT_EQ(0, GetSubclassWndMap().GetCount());
}

TEST_F(SubclassWnd, HookPutOnAgainLeavesItsFormerPlaceFirst)
{
    HWND hWnd2 = CreateRecordingWindow("wnd2");
    CRecordingHook a("A"), b("B");
    a.HookTo(m_hWnd);
    b.HookTo(m_hWnd);

    // On the same window again: it comes off and goes on as the newest.
    a.HookTo(m_hWnd);
    Ping();
    EXPECT_SEQUENCE({ "A WM_APP+1(11,12)", "B WM_APP+1(11,12)", "wnd WM_APP+1(11,12)" });
    EXPECT_EQ(&b, a.NextHook());
    EXPECT_EQ(nullptr, b.NextHook());

    // On another window: the first keeps only B.
    a.HookTo(hWnd2);
    Ping();
    SendMessageA(hWnd2, WM_PING, 21, 22);
    EXPECT_SEQUENCE({ "B WM_APP+1(11,12)", "wnd WM_APP+1(11,12)", "A WM_APP+1(21,22)", "wnd2 WM_APP+1(21,22)" });
    EXPECT_EQ(RecordingWndProc, a.PrevWndProc());

    b.HookTo(nullptr);
    EXPECT_EQ(RecordingWndProc, WindowProcOf(m_hWnd));
    a.HookTo(nullptr);
    EXPECT_EQ(RecordingWndProc, WindowProcOf(hWnd2));
    DestroyWindow(hWnd2);
}

TEST_F(SubclassWnd, CurrentMessageRecordDuringHooksAndAfterNestedSends)
{
    HWND hWnd2 = CreateRecordingWindow("wnd2");
    CRecordingHook a("A"), c("C");
    a.HookTo(m_hWnd);
    c.HookTo(hWnd2);

    auto describe = [&](const char* pszWho) {
        const MSG* pMsg = CWnd::GetCurrentMessage();
        const char* pszWindow = pMsg->hwnd == m_hWnd ? "wnd" : pMsg->hwnd == hWnd2 ? "wnd2" : "other";
        char szText[160];
        snprintf(szText, sizeof(szText), "%s current: %s %s time=%lu pt=%ld,%ld", pszWho, pszWindow,
                 MessageText(pMsg->message, pMsg->wParam, pMsg->lParam).c_str(), pMsg->time, pMsg->pt.x,
                 pMsg->pt.y);
        g_sequence.push_back(szText);
    };
    a.onMessage = [&](UINT nMessage) {
        describe("A");
        if (nMessage == WM_PING)
        {
            // To another hooked window, and to its own window again.
            SendMessageA(hWnd2, WM_NESTED, 21, 22);
            describe("A after send to wnd2");
            SendMessageA(m_hWnd, WM_OTHER, 31, 32);
            describe("A after send to wnd");
        }
    };
    c.onMessage = [&](UINT) { describe("C"); };

    MSG& record = AfxGetThreadState()->m_lastSentMsg;
    const MSG before = { reinterpret_cast<HWND>(0x4321), 0x77, 5, 6, 99, { 8, 9 } };
    record = before;
    g_sequence.clear();

    Ping();
    EXPECT_SEQUENCE({
        "A WM_APP+1(11,12)",
        "A current: wnd WM_APP+1(11,12) time=99 pt=8,9",
        "C WM_APP+2(21,22)",
        "C current: wnd2 WM_APP+2(21,22) time=99 pt=8,9",
        "wnd2 WM_APP+2(21,22)",
        "A after send to wnd2 current: wnd WM_APP+1(11,12) time=99 pt=8,9",
        "A WM_APP+3(31,32)",
        "A current: wnd WM_APP+3(31,32) time=99 pt=8,9",
        "wnd WM_APP+3(31,32)",
        "A after send to wnd current: wnd WM_APP+1(11,12) time=99 pt=8,9",
        "wnd WM_APP+1(11,12)",
    });
    EXPECT_EQ(0, memcmp(&before, &record, sizeof(MSG)));
    DestroyWindow(hWnd2);
}

TEST_F(SubclassWnd, WindowWithoutHookReachingTheLayersProcedureGetsDefaultHandling)
{
    // As when another procedure, put over ours after the first hook, goes on
    // calling ours after the last hook came off.
    SetWindowTextA(m_hWnd, "four");
    g_sequence.clear();
    EXPECT_EQ(4, CallWindowProcA(SubclassWndProc, m_hWnd, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(0, CallWindowProcA(SubclassWndProc, m_hWnd, WM_PING, 1, 2));
    EXPECT_SEQUENCE({});
}

TEST_F(SubclassWnd, RunTimeClass)
{
    CRecordingHook a("A");
    const CRuntimeClass* pClass = a.GetRuntimeClass();
    EXPECT_STREQ("CSubclassWnd", pClass->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CObject), pClass->m_pBaseClass);
}

namespace
{
// A framework window with a message map: WM_PING is handled by the map,
// WM_NESTED is handled and then sent on with Default, WM_OTHER is not in it.
class CMappedWnd : public CWnd
{
public:
    LRESULT OnPing(WPARAM, LPARAM)
    {
        g_sequence.push_back("map WM_PING");
        return 55;
    }
    LRESULT OnNested(WPARAM, LPARAM)
    {
        g_sequence.push_back("map WM_NESTED");
        return Default();
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMappedWnd, CWnd)
    ON_MESSAGE(WM_PING, OnPing)
    ON_MESSAGE(WM_NESTED, OnNested)
END_MESSAGE_MAP()
}

TEST_F(SubclassWnd, FrameworkWindowKeepsItsMessageMap)
{
    CMappedWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(m_hWnd));
    CRecordingHook a("A");
    a.HookTo(m_hWnd);
    EXPECT_EQ(AfxWndProc, a.PrevWndProc());

    EXPECT_EQ(55, Ping());
    EXPECT_SEQUENCE({ "A WM_APP+1(11,12)", "map WM_PING" });
    EXPECT_EQ(1021, SendMessageA(m_hWnd, WM_NESTED, 21, 22));
    EXPECT_SEQUENCE({ "A WM_APP+2(21,22)", "map WM_NESTED", "wnd WM_APP+2(21,22)" });
    EXPECT_EQ(1031, SendMessageA(m_hWnd, WM_OTHER, 31, 32));
    EXPECT_SEQUENCE({ "A WM_APP+3(31,32)", "wnd WM_APP+3(31,32)" });

    // Destruction: the hook is off and the framework's procedure back before
    // it sees WM_NCDESTROY, and the framework then lets go of the window.
    g_onRecordingWndProc = [&](HWND, UINT nMessage, WPARAM, LPARAM) {
        if (nMessage == WM_NCDESTROY)
            g_sequence.push_back(a.Hooked() == nullptr ? "hook off" : "hook on");
    };
    EXPECT_TRUE(DestroyWindow(m_hWnd));
    EXPECT_SEQUENCE({ "A WM_DESTROY(0,0)", "wnd WM_DESTROY(0,0)", "wnd WM_NCDESTROY(0,0)", "hook off" });
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(0, GetSubclassWndMap().GetCount());
}
