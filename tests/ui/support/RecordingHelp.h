// A help double for UI tests: records every request as text ("contents", "search:", "howtouse",
// "topic:acknow", "context:50", "quit") and installs itself while it lives.
#pragma once

#include "platform/Help.h"

#include <QStringList>

class TRecordingHelp final : public THelpService {
public:
    TRecordingHelp() { SetHelpService(this); }
    ~TRecordingHelp() override { SetHelpService(nullptr); }

    void ShowContents() override { Requests << "contents"; }
    void SearchKeyword(const QString &Keyword) override { Requests << "search:" + Keyword; }
    void ShowHelpOnHelp() override { Requests << "howtouse"; }
    void ShowTopic(const QString &Topic) override { Requests << "topic:" + Topic; }
    void ShowContext(int Context) override { Requests << "context:" + QString::number(Context); }
    void Quit() override { Requests << "quit"; }

    QStringList Requests;
};
