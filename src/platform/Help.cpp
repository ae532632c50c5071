// The application-wide help service.
#include "platform/Help.h"

namespace {

class TNoHelp final : public THelpService {
public:
    void ShowContents() override {}
    void SearchKeyword(const QString &) override {}
    void ShowHelpOnHelp() override {}
    void ShowTopic(const QString &) override {}
    void ShowContext(int) override {}
    void Quit() override {}
};

THelpService *g_help = nullptr;

} // namespace

THelpService &Help()
{
    static TNoHelp none;
    return g_help ? *g_help : none;
}

void SetHelpService(THelpService *Service)
{
    g_help = Service;
}

bool HelpServiceInstalled()
{
    return g_help != nullptr;
}
