#include "afx/afxmsg.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY s_entries[] = { { 0, 0, 0, 0, nullptr } };
    static const AFX_MSGMAP s_map = { nullptr, s_entries };
    return &s_map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnThunk != nullptr; ++pEntry)
        {
            if (pEntry->nMessage == WM_COMMAND && pEntry->nCode == static_cast<UINT>(nCode) &&
                nID >= pEntry->nID && nID <= pEntry->nLastID)
            {
                pEntry->pfnThunk(this, 0, 0);
                return TRUE;
            }
        }
    }
    return FALSE;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnThunk != nullptr; ++pEntry)
            if (pEntry->nMessage == nMessage && nMessage != WM_COMMAND)
                return pEntry;
    }
    return nullptr;
}
