// Wrappers of the standard controls: one thin method per control message,
// sent through CWnd::SendMessage (and so through the window-system seam).
// A wrapper is attached to its control by the dialog's data exchange
// (DDX_Control) and is used only after that.
#pragma once

#include "afx/afxwnd.h"

class CButton : public CWnd
{
public:
    // BM_GETCHECK, BM_SETCHECK: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck();
    void SetCheck(int nCheck);
    // BM_GETSTATE: the check state and BST_PUSHED, BST_FOCUS.
    UINT GetState();
};

class CComboBox : public CWnd
{
public:
    // CB_GETCOUNT, CB_GETCURSEL (CB_ERR without a selection), CB_SETCURSEL
    // (-1 clears the selection; an index without a line answers CB_ERR).
    int GetCount();
    int GetCurSel();
    int SetCurSel(int nSelect);
    // CB_GETLBTEXTLEN, CB_GETLBTEXT: the whole text of line nIndex.
    int GetLBTextLen(int nIndex);
    void GetLBText(int nIndex, CString& strText);
    // CB_ADDSTRING (at its sorted place in a CBS_SORT list), CB_INSERTSTRING
    // (at nIndex, also in a sorted list), CB_DELETESTRING, CB_RESETCONTENT.
    int AddString(LPCSTR pszString);
    int InsertString(int nIndex, LPCSTR pszString);
    int DeleteString(int nIndex);
    void ResetContent();
    // CB_INITSTORAGE: room for nItems lines of nBytes in all, ahead of adding.
    int InitStorage(int nItems, UINT nBytes);
    // CB_FINDSTRINGEXACT: the first line after nStartAfter equal to the text,
    // ignoring case; CB_ERR when there is none.
    int FindStringExact(int nStartAfter, LPCSTR pszString);
};

class CEdit : public CWnd
{
public:
    // EM_SETSEL: nEndChar -1 selects to the end.
    void SetSel(int nStartChar, int nEndChar);
    // EM_GETSEL.
    void GetSel(int& nStartChar, int& nEndChar);
    // EM_REPLACESEL.
    void ReplaceSel(LPCSTR pszNewText);
};
