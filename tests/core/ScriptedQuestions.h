// A question double for the markup commands: every box is checked against a script in order.
#pragma once

#include "core/markup/LineDocument.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

class TScriptedQuestions final : public TMarkupQuestions {
public:
    struct Step {
        bool IsQuestion;
        std::string Text;
        TQuestionButtons Buttons;
        TAnswer Answer;
    };

    ~TScriptedQuestions() override { EXPECT_TRUE(Script.empty()) << "unused step: " << Script.front().Text; }

    TScriptedQuestions &Ask(const std::string &Text, TQuestionButtons Buttons, TAnswer Answer)
    {
        Script.push_back({true, Text, Buttons, Answer});
        return *this;
    }
    TScriptedQuestions &Info(const std::string &Text)
    {
        Script.push_back({false, Text, TQuestionButtons::YesNo, TAnswer::Yes});
        return *this;
    }

    TAnswer Confirm(const std::string &Msg, TQuestionButtons Buttons) override
    {
        if (Script.empty()) {
            ADD_FAILURE() << "unexpected question: " << Msg;
            return TAnswer::Cancel;
        }
        Step S = Script.front();
        Script.pop_front();
        EXPECT_TRUE(S.IsQuestion) << "expected information " << S.Text << ", got question " << Msg;
        EXPECT_EQ(S.Text, Msg);
        EXPECT_EQ(static_cast<int>(S.Buttons), static_cast<int>(Buttons)) << Msg;
        return S.Answer;
    }

    void Inform(const std::string &Msg) override
    {
        if (Script.empty()) {
            ADD_FAILURE() << "unexpected information: " << Msg;
            return;
        }
        Step S = Script.front();
        Script.pop_front();
        EXPECT_FALSE(S.IsQuestion) << "expected question " << S.Text << ", got information " << Msg;
        EXPECT_EQ(S.Text, Msg);
    }

private:
    std::deque<Step> Script;
};
