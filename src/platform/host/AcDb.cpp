// Transactions of the host stand-in.
#include "platform/host/AcDb.h"

bool AcTransaction::end()
{
    if (!m_open)
        return false;
    m_open = false;
    return true;
}

bool AcTransaction::abort()
{
    return end();
}
