// A full disk for the tests, also when they run as root: while a
// FileSizeLimit lives, writes past its limit fail with EFBIG.
#ifndef ZEM_TESTS_FILESIZELIMIT_H
#define ZEM_TESTS_FILESIZELIMIT_H

#include <csignal>
#include <sys/resource.h>

namespace zemtest {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_Old);
        rlimit small = m_Old;
        small.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &small);
        m_Handler = signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_Old);
        signal(SIGXFSZ, m_Handler);
    }

private:
    rlimit m_Old;
    void (*m_Handler)(int);
};

}  // namespace zemtest

#endif
