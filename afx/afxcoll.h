// CMapPtrToPtr: a hash map from pointers to pointers.
//
// Keys are hashed into a table of buckets (17 unless InitHashTable says
// otherwise) that is allocated at the first insertion. Associations come from
// blocks of nBlockSize, allocated as needed and kept on a free list, so that
// adding and removing entries seldom allocates. When the last entry goes, the
// table and the blocks are freed.
#pragma once

#include "afx/afxobj.h"

class CMapPtrToPtr : public CObject
{
    DECLARE_DYNAMIC(CMapPtrToPtr)

public:
    explicit CMapPtrToPtr(INT_PTR nBlockSize = 10);
    ~CMapPtrToPtr() override;

    INT_PTR GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // TRUE and the value in rValue when the key is there.
    BOOL Lookup(void* key, void*& rValue) const;
    // The value of the key, added with NULL when the key is not there yet.
    void*& operator[](void* key);
    void SetAt(void* key, void* newValue) { (*this)[key] = newValue; }
    // TRUE when the key was there.
    BOOL RemoveKey(void* key);
    void RemoveAll();

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the number of buckets; only while the map is empty. bAllocNow
    // allocates the table at once rather than at the first insertion.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE);
    // The bucket-independent hash of a key.
    UINT HashKey(void* key) const;

protected:
    struct CAssoc
    {
        CAssoc* pNext;
        void* key;
        void* value;
    };

    CAssoc* NewAssoc();
    void FreeAssoc(CAssoc* pAssoc);
    // The key's association, or NULL; nHash gets the key's bucket.
    CAssoc* GetAssocAt(void* key, UINT& nHash) const;

    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    INT_PTR m_nCount;
    CAssoc* m_pFreeList;
    // Blocks of associations, linked through the first association of each.
    CAssoc* m_pBlocks;
    INT_PTR m_nBlockSize;

    CMapPtrToPtr(const CMapPtrToPtr&) = delete;
    CMapPtrToPtr& operator=(const CMapPtrToPtr&) = delete;
};
