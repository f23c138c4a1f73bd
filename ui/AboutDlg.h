// The About box: the program's name, version, icon and what it is for.
#pragma once

#include "afx/afxctrl.h"
#include "afx/afxdlg.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    CEdit m_editNotice;

    DECLARE_MESSAGE_MAP()
};
