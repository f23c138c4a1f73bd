// Message maps and CCmdTarget.
//
// A class that handles messages or commands declares DECLARE_MESSAGE_MAP()
// and lists its handlers between BEGIN_MESSAGE_MAP and END_MESSAGE_MAP. Each
// entry holds a small thunk that unpacks the message's parameters and calls
// the handler with the signature the macro names; a map ends with a link to
// its base class's map, which is searched next.
#pragma once

#include "afx/afxobj.h"

class CCmdTarget;

// Calls one handler: the target, the message's wParam and lParam, and where
// the handler's result goes.
typedef LRESULT (*AFX_PMSGTHUNK)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;   // window message; WM_COMMAND for commands and notifications
    UINT nCode;      // notification code for WM_COMMAND entries (0: menu command, BN_CLICKED)
    UINT nID;        // command or control id, first of the range
    UINT nLastID;    // last id of the range
    AFX_PMSGTHUNK pfnThunk;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const                        \
    {                                                                        \
        return GetThisMessageMap();                                          \
    }                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                          \
    {                                                                        \
        typedef theClass ThisClass [[maybe_unused]];                         \
        typedef baseClass TheBaseClass;                                      \
        static const AFX_MSGMAP_ENTRY s_entries[] = {

#define END_MESSAGE_MAP()                                                    \
            { 0, 0, 0, 0, nullptr }                                          \
        };                                                                   \
        static const AFX_MSGMAP s_map = { &TheBaseClass::GetThisMessageMap, s_entries }; \
        return &s_map;                                                       \
    }

// Handler entries. Each comment gives the handler's signature.

// void OnXxx()
#define ON_COMMAND(id, memberFxn)                                            \
    { WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id),           \
      [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT {                         \
          static_cast<ThisClass*>(p)->memberFxn();                           \
          return 0;                                                          \
      } },

// void OnXxx()
#define ON_CONTROL(code, id, memberFxn)                                      \
    { WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
      [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT {                         \
          static_cast<ThisClass*>(p)->memberFxn();                           \
          return 0;                                                          \
      } },

// void OnXxx()
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// LRESULT OnXxx(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                       \
    { static_cast<UINT>(message), 0, 0, 0,                                   \
      [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                     \
          return static_cast<ThisClass*>(p)->memberFxn(w, l);                \
      } },

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND()                                                   \
    { WM_SYSCOMMAND, 0, 0, 0,                                                \
      [](CCmdTarget* p, WPARAM w, LPARAM l) -> LRESULT {                     \
          static_cast<ThisClass*>(p)->OnSysCommand(static_cast<UINT>(w), l); \
          return 0;                                                          \
      } },

// void OnPaint()
#define ON_WM_PAINT()                                                        \
    { WM_PAINT, 0, 0, 0,                                                     \
      [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT {                         \
          static_cast<ThisClass*>(p)->OnPaint();                             \
          return 0;                                                          \
      } },

// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                \
    { WM_QUERYDRAGICON, 0, 0, 0,                                             \
      [](CCmdTarget* p, WPARAM, LPARAM) -> LRESULT {                         \
          return reinterpret_cast<LRESULT>(static_cast<ThisClass*>(p)->OnQueryDragIcon()); \
      } },

// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER()                                                        \
    { WM_TIMER, 0, 0, 0,                                                     \
      [](CCmdTarget* p, WPARAM w, LPARAM) -> LRESULT {                       \
          static_cast<ThisClass*>(p)->OnTimer(static_cast<UINT_PTR>(w));     \
          return 0;                                                          \
      } },

// CCmdTarget: the base of everything that takes commands through a message map.
class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Runs the handler of command nID with notification nCode, searching this
    // object's map and then its bases'. TRUE when a handler ran.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // The entry of this object's maps for a window message (not WM_COMMAND),
    // or NULL.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
};
