#include "afx/afxapp.h"

#include "afx/afxdlg.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace
{
CWinApp* g_pApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR pszAppName)
    : m_pMainWnd(nullptr), m_pszAppName(nullptr), m_hInstance(nullptr), m_nWaitCursorCount(0),
      m_hcurWaitRestore(nullptr)
{
    if (pszAppName != nullptr)
    {
        m_strAppName = pszAppName;
        m_pszAppName = m_strAppName;
    }
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitApplication(HINSTANCE hInstance)
{
    m_hInstance = hInstance;
    if (m_pszAppName == nullptr)
    {
        if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE))
        {
            char szPath[MAX_PATH + 1] = {};
            ::GetModuleFileNameA(hInstance, szPath, MAX_PATH);
            CString strPath(szPath);
            int nSlash = strPath.ReverseFind("\\");
            int nSlash2 = strPath.ReverseFind("/");
            if (nSlash2 > nSlash)
                nSlash = nSlash2;
            CString strFile = strPath.Mid(nSlash + 1);
            int nDot = strFile.ReverseFind(".");
            m_strAppName = nDot > 0 ? strFile.Left(nDot) : strFile;
        }
        m_pszAppName = m_strAppName;
    }
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    // Nothing to save: the program keeps no settings and no recent files.
    return 0;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return ExitInstance();
}

void CWinApp::OnHelp()
{
    // The help text is string ID_HELP of the program's resources.
    AfxMessageBox(ID_HELP, MB_OK | MB_ICONINFORMATION, 0);
}

void CWinApp::BeginWaitCursor()
{
    HCURSOR hcurWait = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // IDC_WAIT
    HCURSOR hcurPrevious = ::SetCursor(hcurWait);
    if (m_nWaitCursorCount++ == 0)
        m_hcurWaitRestore = hcurPrevious;
}

void CWinApp::EndWaitCursor()
{
    if (m_nWaitCursorCount > 0 && --m_nWaitCursorCount == 0)
    {
        ::SetCursor(m_hcurWaitRestore);
        m_hcurWaitRestore = nullptr;
    }
}

CWaitCursor::CWaitCursor() : m_pApp(AfxGetApp())
{
    if (m_pApp != nullptr)
        m_pApp->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    if (m_pApp != nullptr)
        m_pApp->EndWaitCursor();
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWinApp* AfxGetThread()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

LPCSTR AfxGetAppName()
{
    return g_pApp != nullptr && g_pApp->m_pszAppName != nullptr ? g_pApp->m_pszAppName : "";
}

HINSTANCE AfxGetResourceHandle()
{
    return g_pApp != nullptr && g_pApp->m_hInstance != nullptr ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetInstanceHandle()
{
    return AfxGetResourceHandle();
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);
    pApp->InitApplication(hInstance);
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
