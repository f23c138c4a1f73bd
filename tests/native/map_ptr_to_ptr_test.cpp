// CMapPtrToPtr: lookups, replacement and removal along shared buckets, the
// hash table allocated at the first insertion, associations taken from
// blocks of ten and reused, and everything freed when the map empties.
#include "afx/afxcoll.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Shows the map's allocations.
class CInspectedMap : public CMapPtrToPtr
{
public:
    using CMapPtrToPtr::CMapPtrToPtr;

    bool HasTable() const { return m_pHashTable != nullptr; }
    int BlockCount() const
    {
        int nBlocks = 0;
        for (CAssoc* pBlock = m_pBlocks; pBlock != nullptr; pBlock = pBlock->pNext)
            ++nBlocks;
        return nBlocks;
    }
};

void* Key(UINT_PTR n)
{
    return reinterpret_cast<void*>(n);
}

// Keys that all fall into one bucket of the default table.
std::vector<void*> KeysOfOneBucket(const CMapPtrToPtr& map, size_t nCount)
{
    std::vector<void*> keys;
    UINT nBucket = map.HashKey(Key(0x1000)) % map.GetHashTableSize();
    for (UINT_PTR n = 0x1000; keys.size() < nCount; n += 4)
        if (map.HashKey(Key(n)) % map.GetHashTableSize() == nBucket)
            keys.push_back(Key(n));
    return keys;
}
}

TEST(CMapPtrToPtr, EmptyMapHasNoTableAndFindsNothing)
{
    CInspectedMap map;
    void* pValue = Key(7);
    EXPECT_EQ(17u, map.GetHashTableSize());
    EXPECT_EQ(0, map.GetCount());
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_FALSE(map.Lookup(Key(0x10), pValue));
    EXPECT_EQ(Key(7), pValue);  // untouched when the key is missing
    EXPECT_FALSE(map.RemoveKey(Key(0x10)));
    EXPECT_FALSE(map.HasTable());
    EXPECT_EQ(0, map.BlockCount());
}

TEST(CMapPtrToPtr, FirstInsertionAllocatesTableAndOneBlock)
{
    CInspectedMap map;
    map.SetAt(Key(0x10), Key(1));
    EXPECT_TRUE(map.HasTable());
    EXPECT_EQ(1, map.BlockCount());
    EXPECT_EQ(1, map.GetCount());
    void* pValue = nullptr;
    EXPECT_TRUE(map.Lookup(Key(0x10), pValue));
    EXPECT_EQ(Key(1), pValue);
}

TEST(CMapPtrToPtr, AssociationsComeInBlocksOfTenAndAreReused)
{
    CInspectedMap map;
    for (UINT_PTR n = 1; n <= 10; ++n)
        map.SetAt(Key(n * 0x10), Key(n));
    EXPECT_EQ(1, map.BlockCount());
    map.SetAt(Key(11 * 0x10), Key(11));
    EXPECT_EQ(2, map.BlockCount());

    // A removed association serves the next insertion.
    for (UINT_PTR n = 1; n <= 9; ++n)
        EXPECT_TRUE(map.RemoveKey(Key(n * 0x10)));
    for (UINT_PTR n = 21; n <= 29; ++n)
        map.SetAt(Key(n * 0x10), Key(n));
    EXPECT_EQ(2, map.BlockCount());
    EXPECT_EQ(11, map.GetCount());

    CInspectedMap mapOfThree(3);
    for (UINT_PTR n = 1; n <= 7; ++n)
        mapOfThree.SetAt(Key(n), Key(n));
    EXPECT_EQ(3, mapOfThree.BlockCount());
}

TEST(CMapPtrToPtr, SetAtReplacesAndSubscriptAddsNull)
{
    CMapPtrToPtr map;
    map.SetAt(Key(0x10), Key(1));
    map.SetAt(Key(0x10), Key(2));
    EXPECT_EQ(1, map.GetCount());
    void* pValue = nullptr;
    ASSERT_TRUE(map.Lookup(Key(0x10), pValue));
    EXPECT_EQ(Key(2), pValue);

    EXPECT_EQ(nullptr, map[Key(0x20)]);
    EXPECT_EQ(2, map.GetCount());
    map[Key(0x20)] = Key(3);
    ASSERT_TRUE(map.Lookup(Key(0x20), pValue));
    EXPECT_EQ(Key(3), pValue);

    // NULL is a key like any other.
    map.SetAt(nullptr, Key(4));
    ASSERT_TRUE(map.Lookup(nullptr, pValue));
    EXPECT_EQ(Key(4), pValue);
}

TEST(CMapPtrToPtr, KeysSharingABucketAreKeptApart)
{
    CMapPtrToPtr map;
    std::vector<void*> keys = KeysOfOneBucket(map, 5);
    for (size_t i = 0; i < keys.size(); ++i)
        map.SetAt(keys[i], Key(i + 1));

    // Removing from the middle, the head and the tail of the bucket's chain.
    const size_t removals[] = { 2, 4, 0 };
    std::vector<bool> present(keys.size(), true);
    for (size_t nRemove : removals)
    {
        EXPECT_TRUE(map.RemoveKey(keys[nRemove]));
        EXPECT_FALSE(map.RemoveKey(keys[nRemove]));
        present[nRemove] = false;
        for (size_t i = 0; i < keys.size(); ++i)
        {
            void* pValue = nullptr;
            EXPECT_EQ(present[i], static_cast<bool>(map.Lookup(keys[i], pValue))) << "key " << i;
            if (present[i])
            {
                EXPECT_EQ(Key(i + 1), pValue) << "key " << i;
            }
        }
    }
    EXPECT_EQ(2, map.GetCount());
}

TEST(CMapPtrToPtr, ManyKeysStayFindable)
{
    CMapPtrToPtr map;
    for (UINT_PTR n = 0; n < 500; ++n)
        map.SetAt(Key(0x10000 + n * 0x24), Key(n));
    EXPECT_EQ(500, map.GetCount());
    for (UINT_PTR n = 0; n < 500; n += 2)
        EXPECT_TRUE(map.RemoveKey(Key(0x10000 + n * 0x24)));
    for (UINT_PTR n = 0; n < 500; ++n)
    {
        void* pValue = nullptr;
        bool bFound = map.Lookup(Key(0x10000 + n * 0x24), pValue);
        EXPECT_EQ(n % 2 == 1, bFound) << n;
        if (bFound)
        {
            EXPECT_EQ(Key(n), pValue);
        }
    }
}

TEST(CMapPtrToPtr, EmptyingTheMapFreesEverything)
{
    CInspectedMap map;
    map.SetAt(Key(0x10), Key(1));
    map.SetAt(Key(0x20), Key(2));
    EXPECT_TRUE(map.RemoveKey(Key(0x10)));
    EXPECT_TRUE(map.HasTable());
    EXPECT_TRUE(map.RemoveKey(Key(0x20)));
    EXPECT_FALSE(map.HasTable());
    EXPECT_EQ(0, map.BlockCount());

    // And it fills again as new.
    map.SetAt(Key(0x30), Key(3));
    EXPECT_EQ(1, map.GetCount());
    EXPECT_EQ(1, map.BlockCount());

    map.RemoveAll();
    EXPECT_EQ(0, map.GetCount());
    EXPECT_FALSE(map.HasTable());
    void* pValue = nullptr;
    EXPECT_FALSE(map.Lookup(Key(0x30), pValue));
}

TEST(CMapPtrToPtr, InitHashTableOnlyWhileEmpty)
{
    CInspectedMap map;
    map.InitHashTable(31, FALSE);
    EXPECT_EQ(31u, map.GetHashTableSize());
    EXPECT_FALSE(map.HasTable());
    map.SetAt(Key(0x10), Key(1));
    map.InitHashTable(7);
    EXPECT_EQ(31u, map.GetHashTableSize());
    void* pValue = nullptr;
    EXPECT_TRUE(map.Lookup(Key(0x10), pValue));
}

TEST(CMapPtrToPtr, RunTimeClass)
{
    CMapPtrToPtr map;
    const CRuntimeClass* pClass = map.GetRuntimeClass();
    EXPECT_STREQ("CMapPtrToPtr", pClass->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CObject), pClass->m_pBaseClass);
    EXPECT_TRUE(map.IsKindOf(RUNTIME_CLASS(CObject)));
}
