// A long randomized editing session on the markup editor, driven only through its public
// operations: typing and key commands, pastes with line breaks, selections deleted and replaced,
// clipboard, search and replace, wrap and overwrite switches, undo and redo, saves in both formats
// and reloads. Exits non-zero at the first broken invariant:
//   - the text store's own recount (CheckIntegrity) and a valid caret and selection;
//   - undo walks back through states the text really had, newest first, and redo comes forward
//     through the same states to the text before the undos;
//   - a text that differs from the saved file shows as modified;
//   - a save followed by a reload gives back the text (trailing blanks aside) in the format saved.
// Usage: bench_soak [operations (default 1000000)] [seed (default 1)]
#include "core/editor/KeyCommands.h"
#include "core/editor/Search.h"
#include "core/editor/SafeFile.h"
#include "core/editor/TextFileIO.h"
#include "QuietPrompt.h"
#include "platform/Prompt.h"
#include "ui/editor/MarkupEditor.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

// Answers every box with its first button and counts them; the session shows none normally.
class TSilentPrompt final : public TQuietPrompt {
public:
    TModalResult MessageDlg(const QString &Msg, TMsgDlgType, TMsgDlgButtons, int, const QString &) override
    {
        ++Messages;
        Last = Msg;
        return mrOk;
    }

    long Messages = 0;
    QString Last;
};

[[noreturn]] void Broken(long Op, unsigned Seed, const std::string &What)
{
    std::fprintf(stderr, "bench_soak: invariant broken at operation %ld (seed %u): %s\n", Op, Seed, What.c_str());
    std::exit(1);
}

std::vector<std::string> Paragraphs(const TMarkupEditor &Ed)
{
    std::vector<std::string> P;
    const TParaList &L = Ed.ParaList();
    for (int N = 1; N <= L.ParaCount(); ++N)
        P.emplace_back(L.ParaText(N));
    return P;
}

// What a file written from these paragraphs reads back as: every paragraph written gets a line
// end, so a text not ending with an empty paragraph gains one; trailing blanks go on loading.
std::vector<std::string> AsReloaded(std::vector<std::string> P)
{
    if (!P.back().empty())
        P.emplace_back();
    for (std::string &S : P)
        while (!S.empty() && (S.back() == ' ' || S.back() == '\t'))
            S.pop_back();
    return P;
}

class TSoak {
public:
    TSoak(unsigned Seed, const QString &Dir) : Seed(Seed), Rng(Seed), Dir(Dir)
    {
        Ed.resize(640, 480);
        Ed.SetUndoBufferSize(65535);
        Ed.OnError = [this](TEdCustomEditor *, int) { ++Refusals; };
        Reload(false);
    }

    void Run(long Operations)
    {
        const auto Start = std::chrono::steady_clock::now();
        while (Ops < Operations) {
            Cycle();
            if (Ops / 100000 != Reported) {
                Reported = Ops / 100000;
                const double S = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
                std::printf("%9ld operations, %.0f s, %ld saves, %ld reloads, %ld undo checks\n", Ops, S, Saves,
                            Reloads, UndoChecks);
                std::fflush(stdout);
            }
        }
        const double S = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        std::printf("bench_soak: %ld operations in %.1f s (%.1f us each): %ld saves, %ld reloads, %ld undo/redo "
                    "round trips, %ld refused edits, %ld beeps, %ld messages; every invariant held\n",
                    Ops, S, 1e6 * S / static_cast<double>(Ops), Saves, Reloads, UndoChecks, Refusals, Prompt.Beeps,
                    Prompt.Messages);
    }

    TSilentPrompt Prompt;

private:
    int Int(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); }
    bool Chance(int Percent) { return Int(1, 100) <= Percent; }

    std::string Word()
    {
        static const char Chars[] = "abcdefghijklmnop <>&;/\"=-\t\xe9";
        std::string S;
        for (int N = Int(1, 8); N > 0; --N)
            S += Chars[Int(0, static_cast<int>(sizeof Chars) - 2)];
        return S;
    }
    std::string Paste()
    {
        static const char *Breaks[] = {"\r\n", "\n"};
        std::string S;
        for (int N = Int(1, 5); N > 0; --N)
            S += Word() + (N > 1 || Chance(50) ? Breaks[Int(0, 1)] : "");
        return S;
    }

    void Fail(const std::string &What) { Broken(Ops, Seed, What); }

    void Check()
    {
        std::string Why;
        if (!Ed.ParaList().CheckIntegrity(&Why))
            Fail(Why);
        int Col = 0;
        const int Line = Ed.GetCaretPosition(Col);
        if (Line < 1 || Line > Ed.LineCount() || Col < 1)
            Fail("caret at " + std::to_string(Line) + ", " + std::to_string(Col));
        int L1, C1, L2, C2;
        if (Ed.GetSelection(L1, C1, L2, C2) &&
            (L1 < 1 || L2 > Ed.LineCount() || C1 < 1 || C2 < 1 || std::make_pair(L1, C1) > std::make_pair(L2, C2)))
            Fail("selection out of the text");
        if (!Ed.Modified() && Paragraphs(Ed) != Saved)
            Fail("a text that differs from the saved file shows as not modified");
    }

    std::size_t Hash() const
    {
        std::size_t H = 0;
        const TParaList &L = Ed.ParaList();
        for (int N = 1; N <= L.ParaCount(); ++N)
            H = H * 1000003u ^ std::hash<std::string_view>()(L.ParaText(N)) ^ static_cast<std::size_t>(N);
        return H;
    }

    void SomewhereValid()
    {
        const int Line = Int(1, Ed.LineCount());
        Ed.SetCaretPosition(Line, Int(1, Ed.GetLineLength(Line) + 1));
    }

    void SelectSomething()
    {
        const int A = Int(1, Ed.LineCount()), B = std::min(Ed.LineCount(), A + Int(0, 3));
        Ed.SetSelection(A, Int(1, Ed.GetLineLength(A) + 1), B, Int(1, Ed.GetLineLength(B) + 1), Chance(50));
    }

    // The text after each public operation goes into the record when it changed.
    void Did()
    {
        const std::size_t H = Hash();
        if (States.empty() || States.back() != H)
            States.push_back(H);
    }

    // One editing operation, as a user's key press or command would make it.
    void Edit()
    {
        const int Op = Int(0, 99);
        if (Op < 30) {
            const std::string W = Word();
            for (char C : W) {
                Ed.ProcessCommand(ccChar, C);
                Did();
            }
        } else if (Op < 38) {
            static const int Moves[] = {ccLeft, ccRight, ccUp, ccDown, ccHome, ccEnd, ccWordLeft, ccWordRight,
                                        ccNextPage, ccPrevPage, ccFirstPage, ccLastPage, ccExtendLeft,
                                        ccExtendRight, ccExtendUp, ccExtendDown, ccExtWordRight, ccExtendEnd};
            Ed.ProcessCommand(Moves[Int(0, static_cast<int>(std::size(Moves)) - 1)], 0);
        } else if (Op < 46) {
            static const int Deletes[] = {ccBack, ccBack, ccDel, ccDel, ccDelWord, ccDelEol, ccDelBol, ccDelLine};
            Ed.ProcessCommand(Deletes[Int(0, static_cast<int>(std::size(Deletes)) - 1)], 0);
        } else if (Op < 52) {
            Ed.ProcessCommand(Chance(80) ? ccNewLine : ccTab, 0);
        } else if (Op < 60) {
            SomewhereValid();
        } else if (Op < 68) {
            SelectSomething();
            if (Chance(50))
                Ed.DeleteSelection();
            else
                Ed.InsertString(Word());
        } else if (Op < 76) {
            if (Chance(40))
                SelectSomething();
            Ed.InsertString(Paste());
        } else if (Op < 80) {
            SelectSomething();
            if (Chance(50))
                Ed.CutToClipboard();
            else
                Ed.CopyToClipboard();
            Did();
            SomewhereValid();
            Ed.PasteFromClipboard();
        } else if (Op < 83) {
            Ed.SetCaretPosition(1, 1);
            if (Chance(50))
                Ed.Search(Word().substr(0, 2), 0);
            else
                Ed.Replace(Word().substr(0, 1), Word(), soReplace);
        } else if (Op < 85) {
            Ed.SetInsertMode(!Ed.InsertMode());
        } else if (Op < 87) {
            Ed.SetWordWrap(!Ed.WordWrap());
            Ed.SetWrapColumn(Int(8, 90));
        } else if (Op < 89) {
            Ed.SetBookmarkAt(Int(0, 9), Int(1, Ed.LineCount()), 1);
            Ed.ProcessCommand(ccGotoMarker0 + Int(0, 9), 0);
        } else {
            Ed.ProcessCommand(Chance(60) ? ccUndo : ccRedo, 0);
        }
        Did();
        ++Ops;
    }

    // Edits with a record of every state the text passes through; then undo back to the state
    // the cycle started from and redo forward again, checked against the record; then a save
    // and sometimes a reload.
    void Cycle()
    {
        Did();
        const std::size_t CycleStart = States.size() - 1;
        const int Steps = Int(20, 400);
        for (int I = 0; I < Steps; ++I) {
            Edit();
            if (I % 16 == 0 || Ops % 5 == 0)
                Check();
            if (Ops % 20000 == 0) {
                QImage Image(Ed.size(), QImage::Format_RGB32);
                Ed.render(&Image);
            }
        }
        Check();
        CheckUndoRedo(CycleStart);
        // The editor's queued reports are handled as the event loop would between key presses.
        QCoreApplication::processEvents();
        if (Ed.ParaList().ByteCount() > 12000 || Chance(10)) {
            Save();
            Reload(true);
            // A text grown large starts afresh, so every cycle costs about the same.
            if (Ed.ParaList().ByteCount() > 12000)
                Reload(false);
        } else if (Chance(40)) {
            Save();
        }
    }

    // Undo must land on states the text had, each older than the one before (a text may recur:
    // the newest occurrence not after the current one counts); redo must bring back the end.
    void CheckUndoRedo(std::size_t CycleStart)
    {
        ++UndoChecks;
        const std::size_t End = Hash();
        std::size_t Last = States.size() - 1;
        int Undone = 0;
        while (Ed.ParaList().CanUndo() && Last > CycleStart) {
            Ed.Undo();
            ++Ops;
            ++Undone;
            Check();
            const std::size_t Now = Hash();
            std::size_t I = Last + 1;
            while (I-- > 0 && States[I] != Now) {
            }
            if (I > Last)
                Fail("undo gave a text the session never had since the last load");
            Last = I;
        }
        for (int I = 0; I < Undone; ++I) {
            if (!Ed.ParaList().CanRedo())
                Fail("redo history lost after " + std::to_string(I) + " of " + std::to_string(Undone));
            Ed.Redo();
            ++Ops;
            Check();
        }
        if (Hash() != End)
            Fail("undo all and redo all did not give the text back");
    }

    void Save()
    {
        const bool Unix = Chance(50);
        const QString File = Dir + (Unix ? "/soak-unix.htm" : "/soak-dos.htm");
        if (Unix) {
            const TParaList &L = Ed.ParaList();
            SaveTextFile(TEdCustomTextFileEditor::FileNameBytes(File), ffUnix, L.ParaCount(),
                         [&L](int P) { return L.ParaText(P); });
            Ed.SetModified(false);
        } else {
            Ed.SaveToFile(File);
        }
        ++Saves;
        ++Ops;
        if (Ed.Modified())
            Fail("modified after a save");
        Saved = Paragraphs(Ed);
        SavedFile = File;
        SavedFormat = Unix ? ffUnix : ffDos;
        Check();
    }

    void Reload(bool FromSaved)
    {
        if (!FromSaved) {
            const QString File = Dir + "/start.htm";
            std::string Text;
            for (int N = Int(5, 60); N > 0; --N)
                Text += Word() + " " + Word() + "\r\n";
            SaveFileSafely(TEdCustomTextFileEditor::FileNameBytes(File), Text);
            SavedFile = File;
            SavedFormat = ffDos;
        }
        const std::vector<std::string> Expected = FromSaved ? AsReloaded(Saved) : std::vector<std::string>{};
        Ed.LoadFromFile(SavedFile);
        States.clear();
        ++Reloads;
        ++Ops;
        Saved = Paragraphs(Ed);
        if (FromSaved && Saved != Expected) {
            std::size_t At = 0;
            while (At < Saved.size() && At < Expected.size() && Saved[At] == Expected[At])
                ++At;
            Fail("the reloaded text differs from the saved one at paragraph " + std::to_string(At + 1) + ": [" +
                 (At < Expected.size() ? Expected[At] : "") + "] became [" + (At < Saved.size() ? Saved[At] : "") +
                 "] (" + std::to_string(Expected.size()) + " paragraphs saved, " + std::to_string(Saved.size()) +
                 " read)");
        }
        const bool Empty = Saved.size() == 1 && Saved[0].empty();
        if (FromSaved && Ed.FileFormat() != (Empty ? ffUnix : SavedFormat))
            Fail("reloaded in another format than saved");
        if (Ed.Modified() || Ed.ParaList().CanUndo() || Ed.ParaList().CanRedo())
            Fail("a reloaded text has history or shows modified");
        Check();
    }

    unsigned Seed;
    std::mt19937 Rng;
    QString Dir;
    TMarkupEditor Ed;
    std::vector<std::string> Saved;
    std::vector<std::size_t> States; // hashes of the texts since the last load, in order
    QString SavedFile;
    TFileFormat SavedFormat = ffDos;
    long Ops = 0, Reported = 0, Saves = 0, Reloads = 0, UndoChecks = 0, Refusals = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    const long Operations = argc > 1 ? std::atol(argv[1]) : 1000000;
    const unsigned Seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 1u;
    QTemporaryDir Dir;
    if (!Dir.isValid()) {
        std::fprintf(stderr, "bench_soak: no temporary directory\n");
        return 2;
    }
    TSoak Soak(Seed, Dir.path());
    SetPrompt(&Soak.Prompt);
    try {
        Soak.Run(Operations);
    } catch (const std::exception &E) {
        Broken(-1, Seed, std::string("exception: ") + E.what());
    }
    SetPrompt(nullptr);
    return 0;
}
