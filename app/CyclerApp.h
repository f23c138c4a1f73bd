// The application object: runs the control dialog as the main window for
// the whole life of the process, and carries out the tray menu's commands.
#pragma once

#include "afx/afxapp.h"

class CCyclerApp : public CWinApp
{
public:
    CCyclerApp();

    // Runs the control dialog modally; answers FALSE so that the framework
    // ends the program when the dialog has ended.
    BOOL InitInstance() override;

protected:
    // Tray menu commands, routed here from the dialog.
    void OnTrayConfigure();
    void OnTrayStart();
    void OnTrayStop();
    void OnTrayAbout();
    void OnTrayExit();

    DECLARE_MESSAGE_MAP()
};
