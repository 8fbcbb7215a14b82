#pragma once
// A real write failure without a special file system: while one of these
// lives, the process may not grow any file beyond the given size, so a
// write past it fails with EFBIG the way a write on a full disk fails with
// ENOSPC (the signal that would end the process is ignored meanwhile).

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_ok = getrlimit(RLIMIT_FSIZE, &m_before) == 0;
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool ok() const { return m_ok; }

private:
    rlimit m_before{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_ok = false;
};
