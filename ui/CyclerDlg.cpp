#include "ui/CyclerDlg.h"

#include "afx/afxapp.h"
#include "afx/afxdc.h"
#include "afx/afxmenu.h"
#include "desktop/WindowSystem.h"
#include "res/SlotControls.h"
#include "ui/AboutDlg.h"

namespace
{
const int MIN_INTERVAL = 1;
const int MAX_INTERVAL = 3600;

const char INSTRUCTIONS[] =
    "Select a window from the list, and specify the number of seconds it should be displayed as "
    "topmost window. Press Start to start the cycling of windows, and Stop to pause. Note that "
    "settings can be adjusted while the procedure runs. The program can be minimized to system "
    "tray by pressing the Close button.";

const char CLOSE_NOTICE[] =
    "Gyrovanter is now minimized to the system tray. To close the program completely, right click "
    "on the icon in the system tray and select Exit.";

void ShowAboutBox()
{
    CAboutDlg dlg;
    dlg.DoModal();
}
}

BEGIN_MESSAGE_MAP(CCyclerDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_BN_CLICKED(IDC_ABOUT, OnAboutButton)
    ON_BN_CLICKED(IDC_REREAD, OnRereadLists)
END_MESSAGE_MAP()

CCyclerDlg::CCyclerDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_nElapsed(0), m_nCurrentSlot(0), m_hIcon(nullptr), m_nTrayFrame(1),
      m_trayIcon(IDR_TRAYICON)
{
    m_hIcon = GetWindowSystem().LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    for (int i = 0; i < SLOT_COUNT; ++i)
    {
        m_nInterval[i] = 1;
        m_nWindowChoice[i] = 0;
    }
}

CCyclerDlg::~CCyclerDlg() = default;

CComboBox& CCyclerDlg::WindowList(int nSlot)
{
    static CComboBox CCyclerDlg::*const s_apLists[SLOT_COUNT] = {
        &CCyclerDlg::m_cboWindow1, &CCyclerDlg::m_cboWindow2, &CCyclerDlg::m_cboWindow3, &CCyclerDlg::m_cboWindow4,
        &CCyclerDlg::m_cboWindow5, &CCyclerDlg::m_cboWindow6, &CCyclerDlg::m_cboWindow7, &CCyclerDlg::m_cboWindow8,
        &CCyclerDlg::m_cboWindow9, &CCyclerDlg::m_cboWindow10,
    };
    return this->*s_apLists[nSlot >= 1 && nSlot <= SLOT_COUNT ? nSlot - 1 : 0];
}

void CCyclerDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REREAD, m_btnReread);
    DDX_Control(pDX, IDC_STOP, m_btnStop);
    for (int nSlot = 1; nSlot <= SLOT_COUNT; ++nSlot)
        DDX_Control(pDX, SLOT_WINDOW_LIST_IDS[nSlot - 1], WindowList(nSlot));
    DDX_Control(pDX, IDOK, m_btnStart);
    for (int i = 0; i < SLOT_COUNT; ++i)
    {
        DDX_Text(pDX, SLOT_INTERVAL_IDS[i], m_nInterval[i]);
        DDV_MinMaxInt(pDX, m_nInterval[i], MIN_INTERVAL, MAX_INTERVAL);
    }
    for (int i = 0; i < SLOT_COUNT; ++i)
        DDX_CBIndex(pDX, SLOT_WINDOW_LIST_IDS[i], m_nWindowChoice[i]);
    DDX_Text(pDX, IDC_INSTRUCTIONS, m_strInstructions);
}

BOOL CCyclerDlg::OnInitDialog()
{
    m_nTrayFrame = 1;
    m_strInstructions = INSTRUCTIONS;
    CDialog::OnInitDialog();

    // "About Gyrovanter ..." at the end of the system menu.
    if (CMenu* pSysMenu = GetSystemMenu(FALSE))
    {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty())
        {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    // The icon of the caption, the taskbar button and Alt+Tab.
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    ShowButtonPattern(FALSE);
    OnRereadLists();
    m_trayIcon.SetNotifyWindow(this, WM_TRAYNOTIFY);
    m_trayIcon.SetTrayIcon(IDR_TRAYICON);
    // The window system puts the focus on the first tab stop, slot 1's list.
    return TRUE;
}

void CCyclerDlg::OnSysCommand(UINT nID, LPARAM)
{
    // The low four bits of a system command are the system's own.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
        ShowAboutBox();
    else
        Default();
}

void CCyclerDlg::OnPaint()
{
    if (!IsIconic())
    {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = ::GetSystemMetrics(SM_CXICON);
    int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CCyclerDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CCyclerDlg::OnCancel()
{
    AfxMessageBox(CLOSE_NOTICE, MB_OK | MB_ICONINFORMATION, 0);
    ShowWindow(SW_HIDE);
}

void CCyclerDlg::OnAboutButton()
{
    ShowAboutBox();
}

void CCyclerDlg::ExitProgram()
{
    CDialog::OnCancel();
}
