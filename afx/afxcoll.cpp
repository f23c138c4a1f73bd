#include "afx/afxcoll.h"

#include <cstddef>

IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)

CMapPtrToPtr::CMapPtrToPtr(INT_PTR nBlockSize)
    : m_pHashTable(nullptr), m_nHashTableSize(17), m_nCount(0), m_pFreeList(nullptr), m_pBlocks(nullptr),
      m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10)
{
}

CMapPtrToPtr::~CMapPtrToPtr()
{
    RemoveAll();
}

void CMapPtrToPtr::InitHashTable(UINT nHashSize, BOOL bAllocNow)
{
    if (m_nCount != 0 || nHashSize == 0)
        return;
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    if (bAllocNow)
        m_pHashTable = new CAssoc*[nHashSize]();
    m_nHashTableSize = nHashSize;
}

UINT CMapPtrToPtr::HashKey(void* key) const
{
    // Heap pointers differ little in their lowest four bits, window handles
    // mostly there: fold both into the hash.
    UINT_PTR n = reinterpret_cast<UINT_PTR>(key);
    return static_cast<UINT>((n >> 4) ^ n);
}

void CMapPtrToPtr::RemoveAll()
{
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    while (m_pBlocks != nullptr)
    {
        CAssoc* pNextBlock = m_pBlocks->pNext;
        delete[] m_pBlocks;
        m_pBlocks = pNextBlock;
    }
    m_nCount = 0;
    m_pFreeList = nullptr;
}

CMapPtrToPtr::CAssoc* CMapPtrToPtr::NewAssoc()
{
    if (m_pFreeList == nullptr)
    {
        // One more association than the block holds: the first links the
        // blocks, the others go on the free list.
        CAssoc* pBlock = new CAssoc[static_cast<size_t>(m_nBlockSize) + 1];
        pBlock->pNext = m_pBlocks;
        m_pBlocks = pBlock;
        for (INT_PTR i = m_nBlockSize; i >= 1; --i)
        {
            pBlock[i].pNext = m_pFreeList;
            m_pFreeList = &pBlock[i];
        }
    }
    CAssoc* pAssoc = m_pFreeList;
    m_pFreeList = pAssoc->pNext;
    ++m_nCount;
    pAssoc->key = nullptr;
    pAssoc->value = nullptr;
    return pAssoc;
}

void CMapPtrToPtr::FreeAssoc(CAssoc* pAssoc)
{
    pAssoc->pNext = m_pFreeList;
    m_pFreeList = pAssoc;
    if (--m_nCount == 0)
        RemoveAll();
}

CMapPtrToPtr::CAssoc* CMapPtrToPtr::GetAssocAt(void* key, UINT& nHash) const
{
    nHash = HashKey(key) % m_nHashTableSize;
    if (m_pHashTable == nullptr)
        return nullptr;
    for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc != nullptr; pAssoc = pAssoc->pNext)
        if (pAssoc->key == key)
            return pAssoc;
    return nullptr;
}

BOOL CMapPtrToPtr::Lookup(void* key, void*& rValue) const
{
    UINT nHash;
    CAssoc* pAssoc = GetAssocAt(key, nHash);
    if (pAssoc == nullptr)
        return FALSE;
    rValue = pAssoc->value;
    return TRUE;
}

void*& CMapPtrToPtr::operator[](void* key)
{
    UINT nHash;
    CAssoc* pAssoc = GetAssocAt(key, nHash);
    if (pAssoc == nullptr)
    {
        if (m_pHashTable == nullptr)
            InitHashTable(m_nHashTableSize);
        // Allocates before anything changes, so that a failed allocation
        // leaves the map as it was.
        pAssoc = NewAssoc();
        pAssoc->key = key;
        pAssoc->pNext = m_pHashTable[nHash];
        m_pHashTable[nHash] = pAssoc;
    }
    return pAssoc->value;
}

BOOL CMapPtrToPtr::RemoveKey(void* key)
{
    if (m_pHashTable == nullptr)
        return FALSE;
    CAssoc** ppPrev = &m_pHashTable[HashKey(key) % m_nHashTableSize];
    for (CAssoc* pAssoc = *ppPrev; pAssoc != nullptr; pAssoc = pAssoc->pNext)
    {
        if (pAssoc->key == key)
        {
            *ppPrev = pAssoc->pNext;
            FreeAssoc(pAssoc);
            return TRUE;
        }
        ppPrev = &pAssoc->pNext;
    }
    return FALSE;
}
