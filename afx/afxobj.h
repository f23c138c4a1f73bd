// CObject and run-time class information.
//
// A class with DECLARE_DYNAMIC answers its own CRuntimeClass from
// GetRuntimeClass; a class without it answers its nearest base's.
#pragma once

#include "afx/afxbase.h"

class CObject;

struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    const CRuntimeClass* m_pBaseClass;

    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                        \
public:                                                    \
    static const CRuntimeClass class##class_name;          \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                              \
    const CRuntimeClass class_name::class##class_name = {                           \
        #class_name, static_cast<int>(sizeof(class_name)), RUNTIME_CLASS(base_class_name) \
    };                                                                              \
    const CRuntimeClass* class_name::GetRuntimeClass() const                        \
    {                                                                               \
        return RUNTIME_CLASS(class_name);                                           \
    }

class CObject
{
public:
    static const CRuntimeClass classCObject;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    // Objects of this program are not serialised; kept for the class's shape.
    virtual void Serialize() {}

    BOOL IsKindOf(const CRuntimeClass* pClass) const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
