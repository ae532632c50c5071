// The view of a document that the line-by-line markup commands work through, the questions they
// ask, and a plain in-memory document implementing that view.
#pragma once

#include <string>
#include <vector>

// Lines are the editor's display lines, numbered from 1; columns from 1.
class TLineDocument {
public:
    virtual ~TLineDocument() = default;
    virtual int LineCount() = 0;
    // The display line's characters, tabs kept.
    virtual std::string GetLine(int Line) = 0;
    // The display line with tabs expanded to the tab stops.
    virtual std::string GetStringLine(int Line) = 0;
    // False when nothing is selected; otherwise the selection's start and end.
    virtual bool GetSelection(int &Line1, int &Col1, int &Line2, int &Col2) = 0;
    // Columns are cut to 1..length + 1; the caret ends at the end or at the start.
    virtual void SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd) = 0;
    // Moves the caret and clears the selection.
    virtual void SetCaretPosition(int Line, int Col) = 0;
    // Replaces the selection (or inserts at the caret) without the tag-case rule; the caret goes
    // after the text. False when the editor refused the text (read-only).
    virtual bool InsertPlainText(const std::string &Text) = 0;
    // As InsertPlainText, but the text goes through the tag-case rule first.
    virtual bool InsertMarkup(const std::string &Text) = 0;
    // Whether the lines are UTF-8 (else Windows-1252, a byte a character).
    virtual bool Utf8() { return false; }
};

enum class TAnswer { Yes, No, All, Cancel };
enum class TQuestionButtons { YesNo, YesNoAll, YesNoCancel };

// The boxes a command shows; the window answers them through its prompt.
class TMarkupQuestions {
public:
    virtual ~TMarkupQuestions() = default;
    // A confirmation box with the buttons; the button pressed (a box closed otherwise is Cancel).
    virtual TAnswer Confirm(const std::string &Msg, TQuestionButtons Buttons) = 0;
    // An information box with OK.
    virtual void Inform(const std::string &Msg) = 0;
};

// A document held as a list of lines (no wrapping: every line is a display line). Inserted
// text may contain LF or CR LF line breaks. Used where no editor exists, and by tests.
class TStringLineDocument final : public TLineDocument {
public:
    // At least one line always exists.
    explicit TStringLineDocument(std::vector<std::string> Lines = {}, int TabSize = 8);

    // The lines joined by Separator.
    std::string Text(const std::string &Separator = "\n") const;
    const std::vector<std::string> &Lines() const { return FLines; }
    void SetLowerCaseTags(bool On) { FLowerCaseTags = On; }
    void SetReadOnly(bool On) { FReadOnly = On; }
    void SetUtf8(bool On) { FUtf8 = On; }
    bool Utf8() override { return FUtf8; }
    void GetCaretPosition(int &Line, int &Col) const { Line = FCaretLine; Col = FCaretCol; }

    int LineCount() override;
    std::string GetLine(int Line) override;
    std::string GetStringLine(int Line) override;
    bool GetSelection(int &Line1, int &Col1, int &Line2, int &Col2) override;
    void SetSelection(int Line1, int Col1, int Line2, int Col2, bool CaretAtEnd) override;
    void SetCaretPosition(int Line, int Col) override;
    bool InsertPlainText(const std::string &Text) override;
    bool InsertMarkup(const std::string &Text) override;

private:
    const std::string &LineAt(int Line) const;

    std::vector<std::string> FLines;
    int FTabSize;
    bool FLowerCaseTags = false;
    bool FReadOnly = false;
    bool FUtf8 = false;
    // Selection as (line, column) of its start and end, ordered; equal means none.
    int FSelLine1 = 1, FSelCol1 = 1, FSelLine2 = 1, FSelCol2 = 1;
    int FCaretLine = 1, FCaretCol = 1;
};
