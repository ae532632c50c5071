// TMarkupCheckProcess: runs the markup checker in a child process of its own, so that markup that
// crashes it or makes it run for ever costs the user only its findings, and a cancel ends it at
// once; the report comes back through a pipe (TMarkupReportWriter, TMarkupReportReader).
#pragma once

#include "core/markup/DocumentCheck.h"

#include <string>
#include <string_view>
#include <sys/types.h>

// Writes a report's parts as records: progress, findings, the end with its completeness.
class TMarkupReportWriter {
public:
    std::string Progress(int Percent) const;
    std::string Finding(const TCheckFinding &Finding, bool UnknownEntity) const;
    std::string End(bool Complete) const;
};

// Reads the records back from whatever bytes arrive, in pieces of any size. Bytes that are no
// record damage the stream: reading stops there.
class TMarkupReportReader {
public:
    // False once the stream is damaged.
    bool Feed(std::string_view Bytes);
    const TMarkupReport &Report() const { return FReport; }
    TMarkupReport TakeReport() { return std::move(FReport); }
    int Progress() const { return FProgress; }
    // Whether the end record arrived (nothing may follow it).
    bool Ended() const { return FEnded; }
    bool Damaged() const { return FDamaged; }

private:
    bool ReadRecords();
    std::string FPending;
    std::size_t FAt = 0;
    TMarkupReport FReport;
    int FProgress = 0;
    bool FEnded = false;
    bool FDamaged = false;
};

// The finding added when the markup checker failed: its findings are missing.
TCheckFinding MarkupCheckerFailedFinding();

class TMarkupCheckProcess {
public:
    // Starts Checker on Text in a child process; a failure to start shows as a failed check.
    TMarkupCheckProcess(const TMarkupCheckerFn &Checker, std::string_view Text, TCheckEncoding Encoding);
    // Ends the child when it still runs.
    ~TMarkupCheckProcess();
    TMarkupCheckProcess(const TMarkupCheckProcess &) = delete;
    TMarkupCheckProcess &operator=(const TMarkupCheckProcess &) = delete;

    // Collects the report until the child ends. Progress hears the child's progress and may stop
    // it: the child is ended and the report is incomplete. When the child failed (it crashed,
    // was killed or sent damaged records) the report is incomplete and ends with
    // MarkupCheckerFailedFinding.
    TMarkupReport Wait(const TCheckProgress &Progress = {});

private:
    void Kill();
    pid_t FChild = -1;
    int FPipe = -1;
};
