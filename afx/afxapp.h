// CWinApp: the application object, and the framework's global accessors.
#pragma once

#include "afx/afxres.h"
#include "afx/afxwnd.h"

class CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)

public:
    // The one application object; it becomes the framework's current
    // application (and current thread object) as it is constructed.
    explicit CWinApp(LPCSTR pszAppName = nullptr);
    ~CWinApp() override;

    // Called once by the entry point. FALSE ends the program (after
    // ExitInstance) without entering Run's message loop.
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();

    // The help command (ID_HELP): shows the program's help text, string
    // ID_HELP of its resources.
    void OnHelp();

    // The wait cursor, counted so that calls may nest.
    void BeginWaitCursor();
    void EndWaitCursor();

    // Three-dimensional controls are built into Windows 4.0 and later.
    BOOL Enable3dControlsStatic() { return TRUE; }

    // The main window: the program's control dialog.
    CWnd* m_pMainWnd;
    // The program file's name without folder and extension, unless the
    // resources hold an application-title string.
    LPCSTR m_pszAppName;
    HINSTANCE m_hInstance;

    // Sets the instance and the name; called by the entry point.
    BOOL InitApplication(HINSTANCE hInstance);

protected:
    DECLARE_MESSAGE_MAP()

private:
    CString m_strAppName;
    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitRestore;
};

// The wait cursor for the life of the object, also when it is left by an
// exception. Does nothing without an application object.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    CWinApp* m_pApp;
};

CWinApp* AfxGetApp();
CWinApp* AfxGetThread();
CWnd* AfxGetMainWnd();
LPCSTR AfxGetAppName();
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();

// Dialogs of this program hold no ActiveX controls; kept as the start-up step.
inline void AfxEnableControlContainer() {}

// The framework's entry point: runs the application object.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR pszCmdLine, int nCmdShow);
