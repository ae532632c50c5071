// The three ways a write is made to fail in the fault tests (core and window tests alike), and
// the file size limit that cuts a write short.
#pragma once

#include <csignal>
#include <sys/resource.h>

enum class TFault { Create, ShortWrite, Rename };
inline constexpr TFault AllFaults[] = {TFault::Create, TFault::ShortWrite, TFault::Rename};

inline const char *FaultName(TFault F)
{
    switch (F) {
    case TFault::Create: return "failing create";
    case TFault::ShortWrite: return "short write";
    case TFault::Rename: return "failing rename";
    }
    return "";
}

// Cuts every write to a regular file at Limit bytes of file size while it lives: the write that
// crosses the limit writes part of its bytes, the next one fails with EFBIG.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &Saved);
        OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit R = Saved;
        R.rlim_cur = Limit;
        ::setrlimit(RLIMIT_FSIZE, &R);
    }
    ~TFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, OldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit &) = delete;
    TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;

private:
    rlimit Saved{};
    void (*OldHandler)(int) = SIG_DFL;
};
