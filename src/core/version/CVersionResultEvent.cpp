#include "CVersionResultEvent.h"

#include "VersionResult.h"

CVersionResultEvent::CVersionResultEvent(VersionResult *result)
    : QEvent(WM_VERSION_RESULT)
    , m_pResult(result)
{
}

CVersionResultEvent::~CVersionResultEvent()
{
    release();
}

void CVersionResultEvent::release()
{
    if (m_pResult) {
        m_pResult->evDone.Set();
        m_pResult = nullptr;
    }
}
