#include "tests/support/CyclerHarness.h"

#include "engine/WindowEntry.h"
#include "res/SlotControls.h"
#include "tests/support/TestWindows.h"

CCyclerHarness::CCyclerHarness()
{
    m_app.InitApplication(GetModuleHandleA(nullptr));
    m_app.m_pMainWnd = &m_dlg;
    m_dlg.Create();
    PumpMessages();
}

CCyclerHarness::~CCyclerHarness()
{
    m_dlg.DestroyWindow();
    PumpMessages();
}

HWND CCyclerHarness::WindowList(int nSlot) const
{
    return Control(SLOT_WINDOW_LIST_IDS[nSlot - 1]);
}

HWND CCyclerHarness::IntervalField(int nSlot) const
{
    return Control(SLOT_INTERVAL_IDS[nSlot - 1]);
}

std::string CCyclerHarness::FieldText(int nSlot) const
{
    char sz[256] = {};
    GetWindowTextA(IntervalField(nSlot), sz, sizeof(sz));
    return sz;
}

std::vector<std::string> CCyclerHarness::ListLines(int nSlot) const
{
    HWND hList = WindowList(nSlot);
    std::vector<std::string> lines;
    int nCount = static_cast<int>(SendMessageA(hList, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i)
    {
        std::string strLine(static_cast<size_t>(SendMessageA(hList, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
        int nLength = static_cast<int>(SendMessageA(hList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&strLine[0])));
        strLine.resize(nLength > 0 ? static_cast<size_t>(nLength) : 0);
        lines.push_back(strLine);
    }
    return lines;
}

int CCyclerHarness::Selection(int nSlot) const
{
    return static_cast<int>(SendMessageA(WindowList(nSlot), CB_GETCURSEL, 0, 0));
}

void CCyclerHarness::SetFieldText(int nSlot, const std::string& strText)
{
    SetWindowTextA(IntervalField(nSlot), strText.c_str());
}

bool CCyclerHarness::Choose(int nSlot, const std::string& strEntry)
{
    std::vector<std::string> lines = ListLines(nSlot);
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (lines[i] == strEntry)
        {
            ChooseIndex(nSlot, static_cast<int>(i));
            return true;
        }
    }
    return false;
}

void CCyclerHarness::ChooseIndex(int nSlot, int nIndex)
{
    SendMessageA(WindowList(nSlot), CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
}

void CCyclerHarness::ClickButton(int nID)
{
    SendMessageA(m_dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(Control(nID)));
}

void CCyclerHarness::Tick()
{
    SendMessageA(m_dlg.m_hWnd, WM_TIMER, 1, 0);
}

std::string OwnEntry(const std::string& strTitle)
{
    return static_cast<LPCSTR>(FormatWindowEntry(strTitle.c_str(), GetCurrentProcessId()));
}
