// TMarkupCheckProcess: the markup checker in a child process, its report through a pipe.
#include "core/markup/MarkupCheckProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Records: "P" percent(1); "F" or "U" (a finding, "U" one about an unknown entity) line(4)
// column(4) kind(1) length(4) message; "E" complete(1). Numbers little-endian.
constexpr std::size_t kFindingHead = 1 + 4 + 4 + 1 + 4;
constexpr std::uint32_t kMaxMessage = 1u << 20;

void Put32(std::string &Out, std::uint32_t Value)
{
    for (int i = 0; i < 4; ++i)
        Out += char((Value >> (8 * i)) & 0xFF);
}

std::uint32_t Get32(const char *In)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t(static_cast<unsigned char>(In[i])) << (8 * i);
    return value;
}

// Writes everything, retrying after signals; false when the reader is gone.
bool WriteAll(int Fd, std::string_view Bytes)
{
    while (!Bytes.empty()) {
        const ssize_t n = ::write(Fd, Bytes.data(), Bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        Bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

// The child's side: runs the checker and writes its report; never returns.
[[noreturn]] void RunChild(int Fd, const TMarkupCheckerFn &Checker, std::string_view Text, TCheckEncoding Encoding)
{
    int status = 1;
    try {
        const TMarkupReportWriter writer;
        const TMarkupReport report = Checker(Text, Encoding, [&](int Percent) {
            return WriteAll(Fd, writer.Progress(Percent));
        });
        std::string out;
        std::size_t entity = 0;
        for (std::size_t i = 0; i < report.Findings.size(); ++i) {
            while (entity < report.EntityFindings.size() && report.EntityFindings[entity] < i)
                ++entity;
            const bool unknownEntity = entity < report.EntityFindings.size() && report.EntityFindings[entity] == i;
            out += writer.Finding(report.Findings[i], unknownEntity);
            if (out.size() >= 65536) {
                if (!WriteAll(Fd, out))
                    _exit(1);
                out.clear();
            }
        }
        out += writer.End(report.Complete);
        if (WriteAll(Fd, out))
            status = 0;
    } catch (...) {
    }
    // No destructors, no atexit handlers, no buffers of the parent flushed twice.
    _exit(status);
}

} // namespace

std::string TMarkupReportWriter::Progress(int Percent) const
{
    return std::string{'P', char(std::clamp(Percent, 0, 100))};
}

std::string TMarkupReportWriter::Finding(const TCheckFinding &Finding, bool UnknownEntity) const
{
    std::string out(1, UnknownEntity ? 'U' : 'F');
    Put32(out, std::uint32_t(Finding.Line));
    Put32(out, std::uint32_t(Finding.Column));
    out += char(Finding.Kind);
    const std::string_view message = std::string_view(Finding.Message).substr(0, kMaxMessage);
    Put32(out, std::uint32_t(message.size()));
    out += message;
    return out;
}

std::string TMarkupReportWriter::End(bool Complete) const
{
    return std::string{'E', char(Complete ? 1 : 0)};
}

bool TMarkupReportReader::Feed(std::string_view Bytes)
{
    if (FDamaged)
        return false;
    FPending.append(Bytes);
    const bool ok = ReadRecords();
    // Keep only what is not read yet.
    FPending.erase(0, FAt);
    FAt = 0;
    return ok;
}

bool TMarkupReportReader::ReadRecords()
{
    auto damaged = [this] {
        FDamaged = true;
        return false;
    };
    while (FAt < FPending.size()) {
        if (FEnded)
            return damaged();
        const char *at = FPending.data() + FAt;
        const std::size_t left = FPending.size() - FAt;
        switch (at[0]) {
        case 'P':
            if (left < 2)
                return true;
            if (static_cast<unsigned char>(at[1]) > 100)
                return damaged();
            FProgress = static_cast<unsigned char>(at[1]);
            FAt += 2;
            break;
        case 'E':
            if (left < 2)
                return true;
            if (static_cast<unsigned char>(at[1]) > 1)
                return damaged();
            FReport.Complete = at[1] == 1;
            FEnded = true;
            FAt += 2;
            break;
        case 'F':
        case 'U': {
            if (left < kFindingHead)
                return true;
            const std::uint32_t line = Get32(at + 1), column = Get32(at + 5), length = Get32(at + 10);
            const auto kind = static_cast<unsigned char>(at[9]);
            if (line < 1 || line > INT32_MAX || column < 1 || column > INT32_MAX ||
                kind > unsigned(TFindingKind::Note) || length > kMaxMessage)
                return damaged();
            if (left < kFindingHead + length)
                return true;
            if (at[0] == 'U')
                FReport.EntityFindings.push_back(FReport.Findings.size());
            FReport.Findings.push_back({int(line), int(column), TFindingKind(kind),
                                        std::string(at + kFindingHead, length)});
            FAt += kFindingHead + length;
            break;
        }
        default:
            return damaged();
        }
    }
    return true;
}

TCheckFinding MarkupCheckerFailedFinding()
{
    return {1, 1, TFindingKind::Warning,
            "The markup checker stopped on this document (markup nested too deeply, or damaged), so "
            "its findings are missing; the editor's own checks were made"};
}

TMarkupCheckProcess::TMarkupCheckProcess(const TMarkupCheckerFn &Checker, std::string_view Text,
                                         TCheckEncoding Encoding)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        RunChild(fds[1], Checker, Text, Encoding);
    }
    ::close(fds[1]);
    if (child < 0) {
        ::close(fds[0]);
        return;
    }
    FChild = child;
    FPipe = fds[0];
}

TMarkupCheckProcess::~TMarkupCheckProcess()
{
    Kill();
}

void TMarkupCheckProcess::Kill()
{
    if (FPipe >= 0) {
        ::close(FPipe);
        FPipe = -1;
    }
    if (FChild > 0) {
        ::kill(FChild, SIGKILL);
        while (::waitpid(FChild, nullptr, 0) < 0 && errno == EINTR) {
        }
        FChild = -1;
    }
}

TMarkupReport TMarkupCheckProcess::Wait(const TCheckProgress &Progress)
{
    auto failed = [](TMarkupReport Report) {
        Report.Complete = false;
        Report.Findings.push_back(MarkupCheckerFailedFinding());
        return Report;
    };
    if (FChild <= 0)
        return failed({});
    TMarkupReportReader reader;
    char buffer[65536];
    for (;;) {
        // Asked after every piece read and every 50 ms without one, so a stop is never late.
        if (Progress && !Progress(reader.Progress())) {
            Kill();
            TMarkupReport report = reader.TakeReport();
            report.Complete = false;
            return report;
        }
        pollfd fd{FPipe, POLLIN, 0};
        const int ready = ::poll(&fd, 1, 50);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        const ssize_t n = ::read(FPipe, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;  // the child closed its end: it has ended
        if (!reader.Feed(std::string_view(buffer, std::size_t(n))))
            break;
    }
    int status = 0;
    ::close(FPipe);
    FPipe = -1;
    if (reader.Damaged())
        ::kill(FChild, SIGKILL);
    while (::waitpid(FChild, &status, 0) < 0 && errno == EINTR) {
    }
    FChild = -1;
    const bool exitedWell = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!exitedWell || !reader.Ended() || reader.Damaged())
        return failed(reader.TakeReport());
    return reader.TakeReport();
}
