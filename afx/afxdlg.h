// CDialog, the dialog data exchange (DDX/DDV) and AfxMessageBox.
//
// A dialog is made from a template in the program's resources. DoModal runs
// it with a modal loop of its own that keeps dispatching every message of the
// thread, so timers and other windows of the thread go on while it is open.
// Its window is subclassed by AfxWndProc from its very first message, so the
// message map sees WM_INITDIALOG, which calls OnInitDialog.
#pragma once

#include "afx/afxres.h"
#include "afx/afxwnd.h"

class CDialog;

// Thrown by CDataExchange::Fail and caught by UpdateData: it stops a data
// exchange at the field that failed. It never leaves UpdateData.
class CUserException
{
};

// The state of one data exchange: its direction and the last control that a
// DDX routine prepared, which a failed check puts the focus on.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to members, with checks
    CWnd* m_pDlgWnd;

    // The control with that id, remembered as the last one prepared.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus on the last control prepared (selecting the whole text
    // of an edit) and throws CUserException. Its message has been shown.
    [[noreturn]] void Fail();

    HWND m_hWndLastControl;
    BOOL m_bEditLastControl;
};

// Attaches rControl to the dialog's control nIDC at the first exchange; later
// exchanges leave it as it is.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// An integer as decimal text. Saving accepts blanks and tabs, an optional
// sign and digits (see AfxParseIntText); any other text shows "Please enter an
// integer." (AFX_IDP_PARSE_INT) and fails, leaving the member unchanged.
void DDX_Text(CDataExchange* pDX, int nIDC, int& nValue);
// A text, whole, in both directions.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& strValue);
// The selected line of a combo box: CB_SETCURSEL on loading, CB_GETCURSEL
// (-1 without a selection) on saving.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& nIndex);
// On saving only: a value outside nMin to nMax shows "Please enter an integer
// between %1 and %2." (AFX_IDP_PARSE_INT_RANGE) and fails.
void DDV_MinMaxInt(CDataExchange* pDX, int nValue, int nMin, int nMax);

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    // nIDTemplate: the dialog resource. pParentWnd: the owner; NULL lets
    // DoModal take the application's main window.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the dialog, runs its modal loop until EndDialog, hides and
    // destroys the window, and answers EndDialog's result (-1 when the
    // window could not be created).
    virtual INT_PTR DoModal();
    // Creates the dialog without a modal loop; the caller's loop dispatches
    // its messages and DestroyWindow ends it.
    BOOL Create();

    // Ends the modal loop with nResult once the current message is handled.
    void EndDialog(int nResult);
    int GetModalResult() const { return m_nModalResult; }

    // Runs DoDataExchange: loading (FALSE) copies the members into the
    // controls; saving (TRUE) copies the controls into the members and checks
    // them. FALSE when a check failed (its message has been shown). An
    // exchange started while one of the same dialog runs answers FALSE at
    // once and changes nothing: the only wait inside an exchange is the
    // message box of a failed check, whose loop goes on dispatching timer
    // messages, and one such box at a time is enough.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Centres the window over its owner when the owner is shown and not
    // minimised, else on the work area, and keeps it inside the work area.
    void CenterWindow();

    // Commands: the dialog's own maps first; then, for command ids 0x8000 to
    // 0xEFFF (menus and the framework's commands), the owner and then the
    // application object.
    BOOL OnCmdMsg(UINT nID, int nCode) override;

    // Called for WM_INITDIALOG: runs the first exchange (loading) and centres
    // the dialog. TRUE lets the window system focus the first tab stop.
    virtual BOOL OnInitDialog();

protected:
    // Saves (UpdateData(TRUE)) and ends the dialog with IDOK if that worked.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL.
    virtual void OnCancel();
    // The exchange of the dialog's fields; the base has none.
    virtual void DoDataExchange(CDataExchange* pDX);

    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    HWND CreateFromTemplate(HWND hWndOwner);
    // The owner DoModal gives the dialog: the parent's top-level window, or
    // the main window's last active pop-up; NULL for the main window itself.
    HWND FindModalOwner() const;

    BOOL m_bContinueModal;
    int m_nModalResult;
    BOOL m_bInExchange;
};

// A message box owned by the main window's last active pop-up (or by none),
// captioned with the application's name. nIDHelp is the box's help context.
int AfxMessageBox(LPCSTR pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with string nIDPrompt of the resources; help context nIDPrompt
// unless nIDHelp says otherwise.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
// String nIDS with %1 and %2 replaced by the two texts.
void AfxFormatString2(CString& strResult, UINT nIDS, LPCSTR psz1, LPCSTR psz2);
