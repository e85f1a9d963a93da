#include "CRequest.h"

CRequest::CRequest()
    : m_time(QDateTime::currentDateTimeUtc())
{ }

void CRequest::Release()
{
    if (--m_refCount == 0)
        delete this;
}
