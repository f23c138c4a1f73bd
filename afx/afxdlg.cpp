#include "afx/afxdlg.h"

#include "afx/afxapp.h"
#include "afx/afxddxtext.h"
#include "desktop/WindowSystem.h"
#include "desktop/WindowTitle.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace
{
// The dialog procedure behind DefDlgProc. Every message reaches the dialog's
// object first through AfxWndProc; what its map leaves goes to DefDlgProc,
// which asks this procedure and gets "not handled".
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

bool IsModifierDown()
{
    return ::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0;
}

// The work area of the monitor that holds most of hWnd.
RECT WorkAreaOf(HWND hWnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoA(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}
}

// CDataExchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(nullptr),
      m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = m_pDlgWnd->GetDlgItemHandle(nIDC);
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != nullptr)
    {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

// The exchange routines

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.GetSafeHwnd() != nullptr)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl != nullptr)
        rControl.SubclassWindow(hWndCtrl);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& nValue)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        if (!AfxParseIntText(ReadWindowTitle(hWndCtrl), nValue))
        {
            AfxMessageBox(AFX_IDP_PARSE_INT, MB_OK | MB_ICONEXCLAMATION);
            pDX->Fail();
        }
    }
    else
    {
        CString strText;
        strText.Format("%d", nValue);
        ::SetWindowTextA(hWndCtrl, strText);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& strValue)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        strValue = ReadWindowTitle(hWndCtrl);
    else
        ::SetWindowTextA(hWndCtrl, strValue);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& nIndex)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    CWindowSystem& system = GetWindowSystem();
    if (pDX->m_bSaveAndValidate)
        nIndex = static_cast<int>(system.SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0));
    // An index without a line leaves no line selected. Windows clears the
    // selection itself then; Wine keeps the old one, so it is cleared here.
    else if (system.SendMessageA(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0) == CB_ERR && nIndex != -1)
        system.SendMessageA(hWndCtrl, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void DDV_MinMaxInt(CDataExchange* pDX, int nValue, int nMin, int nMax)
{
    if (!pDX->m_bSaveAndValidate || (nValue >= nMin && nValue <= nMax))
        return;
    CString strMin, strMax, strPrompt;
    strMin.Format("%d", nMin);
    strMax.Format("%d", nMax);
    AfxFormatString2(strPrompt, AFX_IDP_PARSE_INT_RANGE, strMin, strMax);
    AfxMessageBox(strPrompt, MB_OK | MB_ICONEXCLAMATION, AFX_IDP_PARSE_INT_RANGE);
    pDX->Fail();
}

// Message boxes

int AfxMessageBox(LPCSTR pszText, UINT nType, UINT nIDHelp)
{
    HWND hWndOwner = nullptr;
    if (CWnd* pMainWnd = AfxGetMainWnd())
    {
        if (pMainWnd->GetSafeHwnd() != nullptr)
            hWndOwner = ::GetLastActivePopup(pMainWnd->GetSafeHwnd());
    }
    MSGBOXPARAMSA params = {};
    params.cbSize = sizeof(params);
    params.hwndOwner = hWndOwner;
    params.hInstance = AfxGetResourceHandle();
    params.lpszText = pszText;
    params.lpszCaption = AfxGetAppName();
    params.dwStyle = nType;
    params.dwContextHelpId = nIDHelp;
    return GetWindowSystem().MessageBoxIndirectA(&params);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    return AfxMessageBox(strPrompt, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

void AfxFormatString2(CString& strResult, UINT nIDS, LPCSTR psz1, LPCSTR psz2)
{
    CString strFormat;
    strFormat.LoadString(nIDS);
    const LPCSTR apszArgs[] = { psz1, psz2 };
    strResult = AfxInsertStrings(strFormat, apszArgs, 2);
}

// CDialog

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_bContinueModal(FALSE), m_nModalResult(-1),
      m_bInExchange(FALSE)
{
}

CDialog::~CDialog()
{
    // A dialog made with Create and never destroyed goes with its object.
    if (m_hWnd != nullptr)
        DestroyWindow();
}

HWND CDialog::CreateFromTemplate(HWND hWndOwner)
{
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hWndOwner,
                                     AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (hWnd == nullptr && m_hWnd != nullptr)
        Detach();
    return hWnd;
}

BOOL CDialog::Create()
{
    m_nModalResult = -1;
    HWND hWndOwner = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
    return CreateFromTemplate(hWndOwner) != nullptr;
}

HWND CDialog::FindModalOwner() const
{
    HWND hWnd = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (hWnd == nullptr)
    {
        CWnd* pMainWnd = AfxGetMainWnd();
        // The main window's object is this dialog, whose window does not
        // exist yet: it gets no owner.
        if (pMainWnd == nullptr || pMainWnd == this || pMainWnd->GetSafeHwnd() == nullptr)
            return nullptr;
        hWnd = pMainWnd->GetSafeHwnd();
    }
    // A child window cannot own a dialog: its top-level window does.
    while (hWnd != nullptr && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    if (hWnd != nullptr && m_pParentWnd == nullptr)
        hWnd = ::GetLastActivePopup(hWnd);
    return hWnd;
}

INT_PTR CDialog::DoModal()
{
    HWND hWndOwner = FindModalOwner();
    // The owner takes no input while the dialog runs.
    BOOL bEnableOwner = FALSE;
    if (hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner))
    {
        ::EnableWindow(hWndOwner, FALSE);
        bEnableOwner = TRUE;
    }

    m_nModalResult = -1;
    m_bContinueModal = TRUE;
    if (CreateFromTemplate(hWndOwner) != nullptr)
    {
        // A template without WS_VISIBLE (the About box) shows as its run
        // begins; one that hides itself later stays hidden.
        if (m_bContinueModal && m_hWnd != nullptr && !::IsWindowVisible(m_hWnd))
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        while (m_bContinueModal)
        {
            MSG msg;
            BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
            if (bGot == 0)
            {
                // WM_QUIT ends this loop and is posted again for the loop outside.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (bGot < 0)
                break;
            // F1 without Shift, Ctrl or Alt in the dialog is the help command.
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && !IsModifierDown() &&
                (msg.hwnd == m_hWnd || ::IsChild(m_hWnd, msg.hwnd)))
            {
                SendMessage(WM_COMMAND, ID_HELP, 0);
                continue;
            }
            if (m_hWnd == nullptr || !::IsDialogMessageA(m_hWnd, &msg))
            {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            if (m_hWnd == nullptr)
                break;
        }
    }
    m_bContinueModal = FALSE;

    // The owner gets its input back before the dialog goes, so that the
    // activation returns to it.
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (m_hWnd != nullptr)
    {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (hWndOwner != nullptr && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(hWndOwner);
        DestroyWindow();
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    if (m_bContinueModal)
    {
        m_bContinueModal = FALSE;
        // Wakes the loop if it waits for a message.
        if (m_hWnd != nullptr)
            ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    if (m_bInExchange)
        return FALSE;
    // Cleared however the exchange is left.
    struct InExchange
    {
        BOOL& bFlag;
        explicit InExchange(BOOL& b) : bFlag(b) { bFlag = TRUE; }
        ~InExchange() { bFlag = FALSE; }
    } inExchange(m_bInExchange);

    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const CUserException&)
    {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    if (nID < 0x8000 || nID > 0xEFFF)
        return FALSE;
    if (CWnd* pOwner = GetParent())
    {
        if (pOwner->OnCmdMsg(nID, nCode))
            return TRUE;
    }
    if (CWinApp* pThread = AfxGetThread())
        return pThread->OnCmdMsg(nID, nCode);
    return FALSE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE))
    {
        EndDialog(-1);
        return FALSE;
    }
    CenterWindow();
    return TRUE;
}

void CDialog::CenterWindow()
{
    HWND hWndOwner = ::GetWindow(m_hWnd, GW_OWNER);
    bool bOverOwner = hWndOwner != nullptr && ::IsWindowVisible(hWndOwner) && !::IsIconic(hWndOwner);
    RECT rcArea = WorkAreaOf(bOverOwner ? hWndOwner : m_hWnd);
    RECT rcCenter = rcArea;
    if (bOverOwner)
        ::GetWindowRect(hWndOwner, &rcCenter);

    RECT rcDlg;
    ::GetWindowRect(m_hWnd, &rcDlg);
    int nWidth = rcDlg.right - rcDlg.left;
    int nHeight = rcDlg.bottom - rcDlg.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - nWidth / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - nHeight / 2;
    // Inside the work area; the top left corner wins when it is too small.
    if (x + nWidth > rcArea.right)
        x = rcArea.right - nWidth;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + nHeight > rcArea.bottom)
        y = rcArea.bottom - nHeight;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
