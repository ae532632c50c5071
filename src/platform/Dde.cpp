// DDE conversations: none on this platform unless a test provides one.
#include "platform/Dde.h"

namespace {

class TNoDdeConversation final : public TDdeConversation {
public:
    bool OpenLink(const QString &, const QString &) override { return false; }
    bool Execute(const QByteArray &) override { return false; }
    bool Request(const QByteArray &) override { return false; }
    void CloseLink() override {}
};

std::function<std::unique_ptr<TDdeConversation>()> &Factory()
{
    static std::function<std::unique_ptr<TDdeConversation>()> factory;
    return factory;
}

} // namespace

std::unique_ptr<TDdeConversation> NewDdeConversation()
{
    if (Factory())
        return Factory()();
    return std::make_unique<TNoDdeConversation>();
}

void SetDdeConversationFactory(std::function<std::unique_ptr<TDdeConversation>()> Factory_)
{
    Factory() = std::move(Factory_);
}
