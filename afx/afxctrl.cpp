#include "afx/afxctrl.h"

int CButton::GetCheck()
{
    return static_cast<int>(SendMessage(BM_GETCHECK));
}

void CButton::SetCheck(int nCheck)
{
    SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
}

UINT CButton::GetState()
{
    return static_cast<UINT>(SendMessage(BM_GETSTATE));
}

int CComboBox::GetCount()
{
    return static_cast<int>(SendMessage(CB_GETCOUNT));
}

int CComboBox::GetCurSel()
{
    return static_cast<int>(SendMessage(CB_GETCURSEL));
}

int CComboBox::SetCurSel(int nSelect)
{
    return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
}

int CComboBox::GetLBTextLen(int nIndex)
{
    return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
}

void CComboBox::GetLBText(int nIndex, CString& strText)
{
    int nLength = GetLBTextLen(nIndex);
    if (nLength == CB_ERR)
    {
        strText.Empty();
        return;
    }
    LPSTR pszBuffer = strText.GetBuffer(nLength);
    pszBuffer[0] = '\0';
    int nCopied = static_cast<int>(
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pszBuffer)));
    strText.ReleaseBuffer(nCopied >= 0 && nCopied <= nLength ? nCopied : -1);
}

int CComboBox::AddString(LPCSTR pszString)
{
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszString)));
}

int CComboBox::InsertString(int nIndex, LPCSTR pszString)
{
    return static_cast<int>(
        SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pszString)));
}

int CComboBox::DeleteString(int nIndex)
{
    return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(nIndex)));
}

void CComboBox::ResetContent()
{
    SendMessage(CB_RESETCONTENT);
}

int CComboBox::InitStorage(int nItems, UINT nBytes)
{
    return static_cast<int>(SendMessage(CB_INITSTORAGE, static_cast<WPARAM>(nItems), static_cast<LPARAM>(nBytes)));
}

int CComboBox::FindStringExact(int nStartAfter, LPCSTR pszString)
{
    return static_cast<int>(
        SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nStartAfter), reinterpret_cast<LPARAM>(pszString)));
}

void CEdit::SetSel(int nStartChar, int nEndChar)
{
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), static_cast<LPARAM>(nEndChar));
}

void CEdit::GetSel(int& nStartChar, int& nEndChar)
{
    DWORD dwStart = 0, dwEnd = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    nStartChar = static_cast<int>(dwStart);
    nEndChar = static_cast<int>(dwEnd);
}

void CEdit::ReplaceSel(LPCSTR pszNewText)
{
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pszNewText));
}
