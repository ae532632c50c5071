// The stand-in for DDE client conversations with web browsers. On this platform no server ever
// answers, so callers take their fall-back; tests install a conversation that records.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class TDdeConversation {
public:
    virtual ~TDdeConversation() = default;
    // Opens a link to a service and topic; false when no server answers.
    virtual bool OpenLink(const QString &Service, const QString &Topic) = 0;
    // An execute transaction in text format (asynchronous, no result).
    virtual bool Execute(const QByteArray &Command) = 0;
    // A request transaction for an item in text format (the answer is not used).
    virtual bool Request(const QByteArray &Item) = 0;
    virtual void CloseLink() = 0;
};

// A new conversation: the installed factory's, else one that never opens a link.
std::unique_ptr<TDdeConversation> NewDdeConversation();
// Installs a factory (tests); an empty function restores the platform's.
void SetDdeConversationFactory(std::function<std::unique_ptr<TDdeConversation>()> Factory);
