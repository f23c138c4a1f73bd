#include "ui/AboutDlg.h"

#include "res/resource.h"

namespace
{
const char ABOUT_NOTICE[] =
    "Gyrovanter takes turns among the windows you pick, bringing each to the front for its own "
    "number of seconds, over and over.\r\n"
    "\r\n"
    "1. In each numbered row of the main dialog, choose a window from the list and enter the seconds "
    "(1 to 3600) it should stay in front. Leave a row at \"<No window selected>\" to skip it.\r\n"
    "2. Press Start. The rows take their turns in number order; after row 10 it starts again at "
    "row 1. The tray icon turns while the cycling runs.\r\n"
    "3. Press Stop to pause. Changes to the rows count even while the cycling runs.\r\n"
    "\r\n"
    "Reread lists (while stopped) lists the windows that are open now; it clears every choice. "
    "A window is found again by its exact title and its process: after its program restarts, "
    "reread the lists and choose it again.\r\n"
    "\r\n"
    "Close hides the dialog; the program stays in the notification area. Double-click the tray "
    "icon to show it again, or right-click the icon for Configure, Start, Stop, About and Exit.";
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_NOTICE, m_editNotice);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_editNotice.SetWindowText(ABOUT_NOTICE);
    return TRUE;
}
