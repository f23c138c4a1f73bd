#include "app/CyclerApp.h"

#include "res/resource.h"
#include "ui/AboutDlg.h"
#include "ui/CyclerDlg.h"

BEGIN_MESSAGE_MAP(CCyclerApp, CWinApp)
    ON_COMMAND(ID_TRAY_ABOUT, OnTrayAbout)
    ON_COMMAND(ID_TRAY_CONFIGURE, OnTrayConfigure)
    ON_COMMAND(ID_TRAY_EXIT, OnTrayExit)
    ON_COMMAND(ID_TRAY_START, OnTrayStart)
    ON_COMMAND(ID_TRAY_STOP, OnTrayStop)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CCyclerApp::CCyclerApp() {}

BOOL CCyclerApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CCyclerDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The dialog object goes here, and its tray icon with it.
    return FALSE;
}

// Tray commands arrive only while the dialog window exists, so the main
// window is always there when they run.

void CCyclerApp::OnTrayConfigure()
{
    m_pMainWnd->ShowWindow(SW_SHOWNORMAL);
}

void CCyclerApp::OnTrayStart()
{
    static_cast<CCyclerDlg*>(m_pMainWnd)->StartCirculation();
}

void CCyclerApp::OnTrayStop()
{
    static_cast<CCyclerDlg*>(m_pMainWnd)->StopCirculation();
}

void CCyclerApp::OnTrayAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void CCyclerApp::OnTrayExit()
{
    static_cast<CCyclerDlg*>(m_pMainWnd)->ExitProgram();
}
