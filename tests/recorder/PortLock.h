// The relay's port is fixed at 8000: tests that use it take turns, across processes too.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace icytest {

class PortLock
{
  public:
    PortLock() : m_Fd(open("/tmp/corvane-relay-8000.lock", O_CREAT | O_RDWR, 0666))
    {
        if (m_Fd >= 0)
            flock(m_Fd, LOCK_EX);
    }
    ~PortLock()
    {
        if (m_Fd >= 0)
            close(m_Fd);
    }
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

  private:
    int m_Fd;
};

} // namespace icytest
