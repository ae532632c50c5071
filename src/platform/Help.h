// The one interface through which the program asks for help: the contents, a keyword search,
// help on using help, named topics and numeric help contexts. The main window installs its help
// viewer at start-up; tests install a recording double.
#pragma once

#include <QString>

class THelpService {
public:
    virtual ~THelpService() = default;
    virtual void ShowContents() = 0;
    // The keyword search, positioned at the first keyword starting with Keyword (all for "").
    virtual void SearchKeyword(const QString &Keyword) = 0;
    virtual void ShowHelpOnHelp() = 0;
    // A named topic ("acknow", "inline_img", ...).
    virtual void ShowTopic(const QString &Topic) = 0;
    // A numeric help context of a dialog; the contents when no topic claims it.
    virtual void ShowContext(int Context) = 0;
    // Closes whatever help is showing (the main window's shut-down).
    virtual void Quit() = 0;
};

// The application's help: the installed service, or one that ignores every request.
THelpService &Help();
// Installs a service (not owned); nullptr removes it.
void SetHelpService(THelpService *Service);
bool HelpServiceInstalled();
