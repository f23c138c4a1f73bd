#include "afx/afxstate.h"

AFX_THREAD_STATE* AfxGetThreadState()
{
    static thread_local AFX_THREAD_STATE s_state = {};
    return &s_state;
}
