// TStubView: the editor model's view in core tests: no screen, ten rows, a clipboard of its own,
// the error codes and the questions recorded.
#pragma once

#include "core/editor/EditorModel.h"

#include <string>
#include <vector>

// A view of ten rows that scrolls nowhere; it keeps the clipboard and the error codes.
class TStubView final : public TEdView {
public:
    TEdModel *Model = nullptr;
    std::string Clipboard;
    std::vector<int> Errors;
    int Beeps = 0;

    void ViewInvalidateLines(int, int) override {}
    void ViewInvalidate() override {}
    void ViewShifted(const TPosShift &) override {}
    void ViewSyncTopLine() override {}
    void ViewUpdateScrollRange() override {}
    void ViewRewrapped() override {}
    void ViewCaretMoving() override {}
    void ViewCaretMoved(int, bool) override {}
    int ViewTopLine() const override { return 1; }
    int ViewRows() const override { return 10; }
    void ViewScrollToLine(int) override {}
    void ViewScrollLines(int) override {}
    void ViewChanged() override {}
    void ViewError(int Code) override
    {
        if (Code != 0)
            Errors.push_back(Code);
    }
    void ViewBeep() override { ++Beeps; }
    std::string ViewClipboardText() override { return Clipboard; }
    void ViewSetClipboardText(const std::string &Text) override { Clipboard = Text; }
    void ViewSetInsertMode(bool Value) override { Model->SetInsertMode(Value); }
    void ViewBookmarksChanged() override {}
    // Questions asked and the answers given (Yes unless Answers says otherwise).
    std::vector<std::string> Questions;
    std::vector<bool> Answers;
    bool ViewConfirm(const std::string &Question) override
    {
        Questions.push_back(Question);
        return Answers.size() < Questions.size() || Answers[Questions.size() - 1];
    }
};

