// Side-by-side figures: the markup editor against QScintilla with its HTML lexer (when the bench
// set-up installed it), QPlainTextEdit with a small tag/entity highlighter, vim as a whole process
// when it is installed, and the floor of plain file reads and writes, over generated HTML of 1, 10
// and 50 MB, 50 MB of about 80-byte lines, 50 MB of short lines (0 to 30 bytes), 50 MB of UTF-8
// in mixed scripts and a 5 MB single-line file. Every peer is measured in the same run.
//
// Without "--one" this is the runner: it writes the inputs, starts one process per measurement
// (so that resident memory is the process's own), takes the medians and prints and writes the
// table. "--one FIGURE SUBJECT FILE" makes one measurement and prints one RESULT line.
#include "core/editor/Search.h"
#include "QuietPrompt.h"
#include "platform/Prompt.h"
#include "ui/editor/MarkupEditor.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#ifdef PELMAR_BENCH_QSCI
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// ------------------------------------------------------------------------------------------------
// Clocks and memory

struct TStamp {
    double Cpu;  // ms of CPU time of the whole process (user + system)
    double Wall; // ms
};

TStamp Now()
{
    timespec C{}, W{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &C);
    clock_gettime(CLOCK_MONOTONIC, &W);
    return {C.tv_sec * 1e3 + C.tv_nsec / 1e6, W.tv_sec * 1e3 + W.tv_nsec / 1e6};
}

// Resident bytes of this process.
long long ResidentBytes()
{
    std::ifstream In("/proc/self/status");
    std::string Line;
    while (std::getline(In, Line))
        if (Line.rfind("VmRSS:", 0) == 0)
            return std::atoll(Line.c_str() + 6) * 1024;
    return 0;
}

long long FileSize(const std::string &Name)
{
    struct stat St{};
    return ::stat(Name.c_str(), &St) == 0 ? static_cast<long long>(St.st_size) : -1;
}

// ------------------------------------------------------------------------------------------------
// Inputs: deterministic HTML with nested blocks, attributes, entities and tables.

class TRandom {
public:
    explicit TRandom(std::uint64_t Seed) : State(Seed) {}
    std::uint32_t Next()
    {
        State = State * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(State >> 33);
    }
    int Range(int Lo, int Hi) { return Lo + static_cast<int>(Next() % static_cast<std::uint32_t>(Hi - Lo + 1)); }
    template <class T, std::size_t N> const T &Pick(const T (&A)[N]) { return A[Next() % N]; }

private:
    std::uint64_t State;
};

// Produces the token stream of a document; tokens are joined into lines by TLineWriter.
class THtmlTokens {
public:
    explicit THtmlTokens(std::uint64_t Seed) : Rnd(Seed) {}

    // Appends the tokens of one block (a paragraph, table, list or nested division).
    void Block(std::vector<std::string> &Out, int Depth = 0)
    {
        const int Kind = Rnd.Range(0, 9);
        if (Kind <= 4)
            Paragraph(Out);
        else if (Kind == 5)
            Table(Out);
        else if (Kind <= 7)
            List(Out);
        else if (Depth < 3) {
            Out.push_back("<div id=\"d" + std::to_string(Rnd.Range(1, 9999)) + "\" class=\"" +
                          Rnd.Pick(Classes) + "\">");
            for (int I = Rnd.Range(1, 3); I > 0; --I)
                Block(Out, Depth + 1);
            Out.emplace_back("</div>");
        } else
            Paragraph(Out);
    }

private:
    static constexpr const char *Words[] = {
        "lorem", "ipsum", "dolor", "sit", "amet", "consectetur", "adipiscing", "elit", "sed", "do",
        "eiusmod", "tempor", "incididunt", "ut", "labore", "et", "dolore", "magna", "aliqua", "enim",
        "minim", "veniam", "quis", "nostrud", "exercitation", "ullamco", "laboris", "nisi", "aliquip"};
    static constexpr const char *Entities[] = {"&amp;", "&lt;", "&gt;", "&nbsp;", "&eacute;", "&copy;",
                                               "&#169;", "&quot;", "&uuml;", "&#x2014;"};
    static constexpr const char *Classes[] = {"note", "main", "side", "warn", "intro", "footer"};

    void Text(std::vector<std::string> &Out, int Words_)
    {
        for (int I = 0; I < Words_; ++I) {
            const int R = Rnd.Range(0, 19);
            if (R == 0)
                Out.emplace_back(Rnd.Pick(Entities));
            else if (R == 1)
                Out.push_back(std::string("<b>") + Rnd.Pick(Words) + "</b>");
            else if (R == 2)
                Out.push_back(std::string("<i>") + Rnd.Pick(Words) + " " + Rnd.Pick(Words) + "</i>");
            else if (R == 3)
                Out.push_back("<a href=\"page" + std::to_string(Rnd.Range(1, 500)) + ".html#s" +
                              std::to_string(Rnd.Range(1, 40)) + "\">" + Rnd.Pick(Words) + "</a>");
            else if (R == 4)
                Out.push_back(std::string(Rnd.Pick(Words)) + Rnd.Pick(Entities) + Rnd.Pick(Words));
            else
                Out.emplace_back(Rnd.Pick(Words));
        }
    }
    void Paragraph(std::vector<std::string> &Out)
    {
        Out.push_back(std::string("<p class=\"") + Rnd.Pick(Classes) + "\">");
        Text(Out, Rnd.Range(8, 60));
        Out.emplace_back("</p>");
    }
    void Table(std::vector<std::string> &Out)
    {
        Out.push_back("<table border=\"1\" cellpadding=\"" + std::to_string(Rnd.Range(0, 4)) + "\">");
        const int Cols = Rnd.Range(2, 5);
        for (int R = Rnd.Range(2, 6); R > 0; --R) {
            Out.emplace_back("<tr>");
            for (int C = 0; C < Cols; ++C) {
                Out.emplace_back("<td>");
                Text(Out, Rnd.Range(1, 4));
                Out.emplace_back("</td>");
            }
            Out.emplace_back("</tr>");
        }
        Out.emplace_back("</table>");
    }
    void List(std::vector<std::string> &Out)
    {
        Out.emplace_back("<ul>");
        for (int I = Rnd.Range(2, 6); I > 0; --I) {
            Out.emplace_back("<li>");
            Text(Out, Rnd.Range(2, 10));
            Out.emplace_back("</li>");
        }
        Out.emplace_back("</ul>");
    }

    TRandom Rnd;
};

// Writes an HTML document of about Size bytes. Lines hold MinLine to MaxLine characters (40 to
// 200 by default); with SingleLine the whole document is one line (as minified pages are).
void WriteHtml(const std::string &Name, long long Size, bool SingleLine, std::uint64_t Seed, int MinLine = 40,
               int MaxLine = 200)
{
    THtmlTokens Tokens(Seed);
    TRandom Lengths(Seed ^ 0x9e3779b97f4a7c15ull);
    std::string Out;
    Out.reserve(static_cast<std::size_t>(Size) + 4096);
    const char *Head = "<!DOCTYPE html>";
    std::string Line = Head;
    int Target = Lengths.Range(MinLine, MaxLine);
    auto Flush = [&] {
        Out += Line;
        Out += SingleLine ? " " : "\n";
        Line.clear();
        Target = Lengths.Range(MinLine, MaxLine);
    };
    Flush();
    Line = "<html><head><title>Generated page</title></head><body>";
    std::vector<std::string> Block;
    bool AfterOpenTag = false; // no blank between a start tag and the text it holds
    while (static_cast<long long>(Out.size() + Line.size()) < Size - 20) {
        Block.clear();
        Tokens.Block(Block);
        for (const std::string &T : Block) {
            const bool Tag = !T.empty() && T[0] == '<' && T[1] != 'a' && T[1] != 'b' && T[1] != 'i';
            const std::size_t Sep = Line.empty() || Tag ? 0 : 1;
            if (!Line.empty() && Line.size() >= static_cast<std::size_t>(MinLine) &&
                Line.size() + Sep + T.size() > static_cast<std::size_t>(Target))
                Flush();
            if (!Line.empty() && !Tag && !AfterOpenTag)
                Line += ' ';
            Line += T;
            AfterOpenTag = Tag && T[1] != '/';
        }
    }
    if (!Line.empty())
        Flush();
    Out += "</body></html>\n";
    std::ofstream(Name, std::ios::binary) << Out;
}

// Writes about Size bytes of short lines, 0 to 30 bytes each, of tags, entities and words (no
// trailing blanks, which loading would drop).
void WriteShortLines(const std::string &Name, long long Size, std::uint64_t Seed)
{
    static constexpr const char *Tokens[] = {"<td>", "</td>", "<tr>", "</tr>", "<li>", "</li>", "<br>", "<b>",
                                             "</b>", "&amp;", "&nbsp;", "lorem", "ipsum", "dolor", "sit",
                                             "amet", "x", "42", "<p>", "</p>", "<hr>", "elit"};
    TRandom Rnd(Seed);
    std::string Out;
    Out.reserve(static_cast<std::size_t>(Size) + 64);
    std::string Line;
    while (static_cast<long long>(Out.size()) < Size) {
        const std::size_t Length = static_cast<std::size_t>(Rnd.Range(0, 30));
        Line.clear();
        while (Line.size() < Length) {
            if (!Line.empty() && Rnd.Range(0, 2) == 0)
                Line += ' ';
            Line += Rnd.Pick(Tokens);
        }
        Line.resize(std::min(Line.size(), Length));
        while (!Line.empty() && Line.back() == ' ')
            Line.pop_back();
        Out += Line;
        Out += '\n';
    }
    std::ofstream(Name, std::ios::binary) << Out;
}

// Writes about Size bytes of HTML-like lines (40 to 120 bytes) of UTF-8 text in mixed scripts:
// Latin with accents (some as combining marks), Cyrillic, Greek, CJK, Hangul and emoji, between
// tags and entities.
void WriteUtf8(const std::string &Name, long long Size, std::uint64_t Seed)
{
    static constexpr const char *Words[] = {
        "café", "naïve", "résumé", "Ångström", "señor", "Übermaß", "façade", "déjà", "œuvre", "Łódź",
        "привет", "мир", "документ", "страница", "редактор", "καλημέρα", "κόσμος", "σελίδα", "λέξη",
        "文書", "編集", "日本語の文章", "中文页面", "한국어", "テキスト", "😀", "🚀", "👍🏽", "🇫🇷", "✓",
        "e\u0301te\u0301", "a\u0308rger", "man\u0303ana", "plain", "text", "lorem", "ipsum"};
    static constexpr const char *Tags[] = {"<p>", "</p>", "<td>", "</td>", "<b>", "</b>", "<li>", "</li>",
                                           "<a href=\"seite.html\">", "</a>", "&amp;", "&nbsp;", "<tr>", "</tr>"};
    TRandom Rnd(Seed);
    std::string Out;
    Out.reserve(static_cast<std::size_t>(Size) + 256);
    std::string Line;
    std::size_t Target = static_cast<std::size_t>(Rnd.Range(40, 120));
    while (static_cast<long long>(Out.size()) < Size) {
        const char *T = Rnd.Range(0, 2) == 0 ? Rnd.Pick(Tags) : Rnd.Pick(Words);
        if (!Line.empty() && Line.size() + std::strlen(T) + 1 > Target) {
            Out += Line;
            Out += '\n';
            Line.clear();
            Target = static_cast<std::size_t>(Rnd.Range(40, 120));
        }
        if (!Line.empty() && T[0] != '<' && T[0] != '&')
            Line += ' ';
        Line += T;
    }
    std::ofstream(Name, std::ios::binary) << Out;
}

// The UTF-8 input is read as UTF-8 by the peers; the others are Windows-1252 (read as Latin-1).
bool Utf8Input(const std::string &File) { return File.find("utf8") != std::string::npos; }

// ------------------------------------------------------------------------------------------------
// The peer: QPlainTextEdit with a highlighter that colours "<" .. ">" and "&" .. ";".

class TTagHighlighter : public QSyntaxHighlighter {
public:
    explicit TTagHighlighter(QTextDocument *Doc) : QSyntaxHighlighter(Doc)
    {
        Element.setForeground(QColor(128, 0, 128));
        Entity.setForeground(QColor(0, 128, 0));
    }

protected:
    void highlightBlock(const QString &Text) override
    {
        enum { Plain, InTag, InEntity };
        int State = previousBlockState() == InTag ? InTag : Plain;
        int Start = 0;
        const QChar *C = Text.constData();
        const int N = static_cast<int>(Text.size());
        for (int I = 0; I < N; ++I) {
            const char16_t Ch = C[I].unicode();
            if (State == Plain) {
                if (Ch == u'<')
                    State = InTag, Start = I;
                else if (Ch == u'&')
                    State = InEntity, Start = I;
            } else if (State == InTag && Ch == u'>') {
                setFormat(Start, I - Start + 1, Element);
                State = Plain;
            } else if (State == InEntity && Ch == u';') {
                setFormat(Start, I - Start + 1, Entity);
                State = Plain;
            } else if (State == InEntity && (Ch == u' ' || Ch == u'<')) {
                State = Plain;
                if (Ch == u'<')
                    State = InTag, Start = I;
            }
        }
        if (State == InTag)
            setFormat(Start, N - Start, Element);
        setCurrentBlockState(State == InTag ? InTag : Plain);
    }

private:
    QTextCharFormat Element, Entity;
};

// ------------------------------------------------------------------------------------------------
// One measurement in this process.

// Messages the editor would show are answered at once: a question with a Yes button gets Yes (a
// replace-all too large to be undone goes ahead, as the user who asked for it would let it),
// other messages OK.
class TYesPrompt : public TQuietPrompt {
public:
    TModalResult MessageDlg(const QString &, TMsgDlgType, TMsgDlgButtons Buttons, int, const QString &) override
    {
        return (Buttons & mbYes) ? mrYes : mrOk;
    }
};

// Counts the paints of a viewport, so that "painted" is checked rather than assumed.
class TPaintCounter : public QObject {
public:
    int Paints = 0;
    bool eventFilter(QObject *, QEvent *E) override
    {
        if (E->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

// The editor under test behind one face.
class TSubject {
public:
    virtual ~TSubject() = default;
    virtual QAbstractScrollArea *Widget() = 0;
    virtual void Open(const std::string &File) = 0;
    virtual int Lines() = 0;
    virtual void ShowLine(int Line) = 0;              // as the top line of the view
    virtual void PlaceCaret(int Line, int Col) = 0;   // and scroll it into view
    virtual std::string LineText(int Line) = 0;
    virtual int ReplaceAll(const std::string &From, const std::string &To) = 0;
    virtual void Save(const std::string &File) = 0;

    void Setup()
    {
        QAbstractScrollArea *W = Widget();
        W->resize(1200, 900);
        W->show();
        QApplication::setActiveWindow(W);
        W->setFocus();
        W->viewport()->installEventFilter(&Counter);
        QApplication::processEvents();
    }
    // Lets posted events run and makes sure the view was painted afterwards.
    bool Painted()
    {
        const int Before = Counter.Paints;
        QApplication::processEvents();
        if (Counter.Paints == Before)
            Widget()->viewport()->repaint();
        return Counter.Paints > Before;
    }
    void Key(int KeyCode, Qt::KeyboardModifiers Mods, const QString &Text)
    {
        QWidget *Target = Widget();
        QKeyEvent Over(QEvent::ShortcutOverride, KeyCode, Mods, Text);
        QApplication::sendEvent(Target, &Over);
        QKeyEvent Press(QEvent::KeyPress, KeyCode, Mods, Text);
        QApplication::sendEvent(Target, &Press);
        QKeyEvent Release(QEvent::KeyRelease, KeyCode, Mods, Text);
        QApplication::sendEvent(Target, &Release);
    }

private:
    TPaintCounter Counter;
};

class TPelmar : public TSubject {
public:
    TPelmar()
    {
        Ed->SetSyntaxColors(QColor(0, 0, 0), QColor(128, 0, 128), QColor(0, 128, 0));
        Setup();
    }
    QAbstractScrollArea *Widget() override { return Ed.get(); }
    // As the document window opens its file.
    void Open(const std::string &File) override
    {
        Ed->SetFileName(QString::fromStdString(File));
        Ed->SetIsOpen(true);
    }
    int Lines() override { return Ed->LineCount(); }
    void ShowLine(int Line) override { Ed->SetTopLine(Line); }
    void PlaceCaret(int Line, int Col) override { Ed->SetCaretPosition(Line, Col); }
    std::string LineText(int Line) override { return Ed->GetLine(Line); }
    int ReplaceAll(const std::string &From, const std::string &To) override
    {
        Ed->SetCaretPosition(1, 1);
        return Ed->Replace(From, To, soReplaceAll | soWholeText);
    }
    void Save(const std::string &File) override { Ed->SaveToFile(QString::fromStdString(File)); }

private:
    std::unique_ptr<TMarkupEditor> Ed = std::make_unique<TMarkupEditor>();
};

class TPlain : public TSubject {
public:
    explicit TPlain(const QFont &Font)
    {
        Ed->setLineWrapMode(QPlainTextEdit::NoWrap);
        Ed->setFont(Font);
        new TTagHighlighter(Ed->document()); // owned by the document
        Setup();
    }
    QAbstractScrollArea *Widget() override { return Ed.get(); }
    void Open(const std::string &File) override
    {
        QFile F(QString::fromStdString(File));
        if (!F.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot open " + File);
        const QByteArray Bytes = F.readAll();
        Ed->setPlainText(Utf8Input(File) ? QString::fromUtf8(Bytes) : QString::fromLatin1(Bytes));
    }
    int Lines() override { return Ed->document()->blockCount(); }
    void ShowLine(int Line) override { Ed->verticalScrollBar()->setValue(Line - 1); }
    void PlaceCaret(int Line, int Col) override
    {
        QTextCursor C(Ed->document()->findBlockByNumber(Line - 1));
        C.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, Col - 1);
        Ed->setTextCursor(C);
        Ed->ensureCursorVisible();
    }
    std::string LineText(int Line) override
    {
        return Ed->document()->findBlockByNumber(Line - 1).text().toUtf8().toStdString();
    }
    int ReplaceAll(const std::string &From, const std::string &To) override
    {
        // The usual find-and-replace loop, as one undo step.
        QTextDocument *Doc = Ed->document();
        const QString F = QString::fromLatin1(From.c_str()), T = QString::fromLatin1(To.c_str());
        QTextCursor Edit(Doc);
        Edit.beginEditBlock();
        QTextCursor Hit(Doc);
        int Count = 0;
        while (!(Hit = Doc->find(F, Hit)).isNull()) {
            Hit.insertText(T);
            ++Count;
        }
        Edit.endEditBlock();
        return Count;
    }
    void Save(const std::string &) override { throw std::runtime_error("not measured"); }

private:
    std::unique_ptr<QPlainTextEdit> Ed = std::make_unique<QPlainTextEdit>();
};

#ifdef PELMAR_BENCH_QSCI
// The peer: QScintilla with its HTML lexer, the document in UTF-8 for UTF-8 input and 8-bit
// (Latin-1) otherwise, as a Scintilla application loads a file.
class TScintilla : public TSubject {
public:
    TScintilla(const QFont &Font, bool Utf8) : Utf8(Utf8)
    {
        Ed->setUtf8(Utf8);
        auto *Lexer = new QsciLexerHTML(Ed.get()); // owned by the editor
        Lexer->setDefaultFont(Font);
        Lexer->setFont(Font);
        Ed->setLexer(Lexer);
        Ed->setWrapMode(QsciScintilla::WrapNone);
        Ed->setMarginWidth(1, 0);
        Setup();
    }
    QAbstractScrollArea *Widget() override { return Ed.get(); }
    void Open(const std::string &File) override
    {
        QFile F(QString::fromStdString(File));
        if (!F.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot open " + File);
        const QByteArray Bytes = F.readAll();
        Ed->setText(Utf8 ? QString::fromUtf8(Bytes) : QString::fromLatin1(Bytes));
    }
    int Lines() override { return Ed->lines(); }
    void ShowLine(int Line) override { Ed->setFirstVisibleLine(Line - 1); }
    void PlaceCaret(int Line, int Col) override
    {
        Ed->setCursorPosition(Line - 1, Col - 1);
        Ed->ensureCursorVisible();
    }
    std::string LineText(int Line) override
    {
        QString T = Ed->text(Line - 1);
        while (T.endsWith(QLatin1Char('\n')) || T.endsWith(QLatin1Char('\r')))
            T.chop(1);
        return T.toUtf8().toStdString();
    }
    int ReplaceAll(const std::string &From, const std::string &To) override
    {
        // Replacing hit by hit in the target takes about 2 ms a hit here (4,640 hits of 1 MB: 10
        // s), so the peer gets the fast way: the text is taken from the buffer, replaced in
        // memory and put back as one replacement of the whole text, one undo action.
        const long Length = static_cast<long>(Ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
        const char *Text = reinterpret_cast<const char *>(
            Ed->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
        const std::string_view Old(Text, static_cast<std::size_t>(Length));
        std::string New;
        New.reserve(Old.size() + Old.size() / 16);
        int Count = 0;
        for (std::size_t At = 0;;) {
            const std::size_t Hit = Old.find(From, At);
            if (Hit == std::string_view::npos) {
                New.append(Old.substr(At));
                break;
            }
            New.append(Old.substr(At, Hit - At));
            New.append(To);
            At = Hit + From.size();
            ++Count;
        }
        Ed->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
        Ed->SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, 0L);
        Ed->SendScintilla(QsciScintillaBase::SCI_SETTARGETEND, Length);
        Ed->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, New.size(), New.c_str());
        Ed->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
        return Count;
    }
    void Save(const std::string &) override { throw std::runtime_error("not measured"); }

private:
    bool Utf8;
    std::unique_ptr<QsciScintilla> Ed = std::make_unique<QsciScintilla>();
};
#endif

struct TResult {
    std::map<std::string, std::string> Fields;
    void Set(const std::string &K, double V)
    {
        char B[64];
        std::snprintf(B, sizeof B, "%.6g", V);
        Fields[K] = B;
    }
    void Set(const std::string &K, const std::string &V) { Fields[K] = V; }
    void Time(const TStamp &A, const TStamp &B, double Divisor = 1)
    {
        Set("cpu", (B.Cpu - A.Cpu) / Divisor);
        Set("wall", (B.Wall - A.Wall) / Divisor);
    }
    void Print() const
    {
        std::string Line = "RESULT";
        for (const auto &[K, V] : Fields)
            Line += " " + K + "=" + V;
        std::printf("%s\n", Line.c_str());
        std::fflush(stdout);
    }
};

// The floor: reading the file into memory and copying it once, counting its lines.
TResult FloorRead(const std::string &File)
{
    TResult R;
    const TStamp A = Now();
    const int Fd = ::open(File.c_str(), O_RDONLY);
    struct stat St{};
    ::fstat(Fd, &St);
    std::string Bytes(static_cast<std::size_t>(St.st_size), '\0');
    std::size_t Got = 0;
    while (Got < Bytes.size()) {
        const ssize_t N = ::read(Fd, Bytes.data() + Got, Bytes.size() - Got);
        if (N <= 0)
            break;
        Got += static_cast<std::size_t>(N);
    }
    ::close(Fd);
    std::string Copy(Bytes);
    const auto Lines = std::count(Copy.begin(), Copy.end(), '\n');
    const TStamp B = Now();
    R.Time(A, B);
    R.Set("count", static_cast<double>(Lines));
    return R;
}

// The floor of saving: writing the same number of bytes to a new file in 64 KB blocks (the
// fastest block size here), synced and renamed.
TResult FloorWrite(const std::string &File, long long Size)
{
    std::string Bytes(static_cast<std::size_t>(Size), 'x');
    for (std::size_t I = 99; I < Bytes.size(); I += 100)
        Bytes[I] = '\n';
    const std::string Temp = File + ".floor-tmp", Target = File + ".floor";
    TResult R;
    const TStamp A = Now();
    const int Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (std::size_t Done = 0; Done < Bytes.size();) {
        const std::size_t Chunk = std::min<std::size_t>(64 << 10, Bytes.size() - Done);
        const ssize_t N = ::write(Fd, Bytes.data() + Done, Chunk);
        if (N <= 0)
            break;
        Done += static_cast<std::size_t>(N);
    }
    ::fsync(Fd);
    ::close(Fd);
    ::rename(Temp.c_str(), Target.c_str());
    const TStamp B = Now();
    R.Time(A, B);
    ::unlink(Target.c_str());
    return R;
}

// Paints the whole viewport into an image after one unmeasured paint: 20 times, or fewer when
// half a second of CPU time has passed (at least once). Gives the time of one.
void RenderView(TSubject &S, TResult &R)
{
    QWidget *V = S.Widget()->viewport();
    QImage Image(V->size(), QImage::Format_RGB32);
    V->render(&Image);
    const TStamp A = Now();
    TStamp B = A;
    int N = 0;
    do {
        V->render(&Image);
        ++N;
        B = Now();
    } while (N < 20 && B.Cpu - A.Cpu < 500);
    R.Time(A, B, N);
    R.Set("count", N);
    R.Set("size", std::to_string(V->width()) + "x" + std::to_string(V->height()));
    // To look at what was measured.
    if (const QString Shot = qEnvironmentVariable("PELMAR_BENCH_SHOT"); !Shot.isEmpty())
        Image.save(Shot);
}

TResult MeasureOne(const std::string &Figure, const std::string &Subject, const std::string &File)
{
    if (Subject == "floor") {
        if (Figure == "open")
            return FloorRead(File);
        if (Figure == "save")
            return FloorWrite(File, FileSize(File));
        throw std::runtime_error("no floor for " + Figure);
    }
    std::unique_ptr<TSubject> S;
    if (Subject == "pelmar")
        S = std::make_unique<TPelmar>();
    else if (Subject == "qpte")
        S = std::make_unique<TPlain>(TEdFixedFont().Font()); // the editor's own font
#ifdef PELMAR_BENCH_QSCI
    else if (Subject == "qsci")
        S = std::make_unique<TScintilla>(TEdFixedFont().Font(), Utf8Input(File));
#endif
    else
        throw std::runtime_error("unknown subject " + Subject);

    TResult R;
    if (Figure == "open") {
        QApplication::processEvents();
        const long long Before = ResidentBytes();
        const TStamp A = Now();
        S->Open(File);
        const bool Painted = S->Painted();
        const TStamp B = Now();
        R.Time(A, B);
        R.Set("painted", Painted ? 1 : 0);
        R.Set("rss", static_cast<double>(ResidentBytes() - Before));
        R.Set("rss_total", static_cast<double>(ResidentBytes()));
        R.Set("count", S->Lines());
        return R;
    }
    S->Open(File);
    S->Painted();
    if (Figure == "render-top" || Figure == "render-mid") {
        if (Figure == "render-mid")
            S->ShowLine(S->Lines() / 2);
        S->Painted();
        RenderView(*S, R);
    } else if (Figure == "jump-end") {
        const TStamp A = Now();
        S->Key(Qt::Key_End, Qt::ControlModifier, QString());
        const bool Painted = S->Painted();
        const TStamp B = Now();
        R.Time(A, B);
        R.Set("painted", Painted ? 1 : 0);
    } else if (Figure == "jump-eol") {
        // From the start of the middle line to its end: in a single-line file 5 MB to the right.
        const int Line = std::max(1, S->Lines() / 2);
        S->PlaceCaret(Line, 1);
        S->Painted();
        const TStamp A = Now();
        S->Key(Qt::Key_End, Qt::NoModifier, QString());
        const bool Painted = S->Painted();
        const TStamp B = Now();
        R.Time(A, B);
        R.Set("painted", Painted ? 1 : 0);
    } else if (Figure == "type") {
        // Column 20 of the middle line; the middle of a line longer than 100,000 characters.
        // 1,000 keystrokes, or as many as 3 seconds of CPU time allow (a slow peer's run stays short).
        const int Line = std::max(1, S->Lines() / 2);
        const std::size_t Length = S->LineText(Line).size();
        S->PlaceCaret(Line, Length > 100000 ? static_cast<int>(Length / 2) : 20);
        S->Painted();
        const std::string Original = S->LineText(Line);
        const char *Typed = "lorem ipsum dolor sit amet ";
        const TStamp A = Now();
        int Keys = 0;
        for (; Keys < 1000 && (Keys < 10 || Now().Cpu - A.Cpu < 3000); ++Keys) {
            const char C = Typed[Keys % 27];
            const int Code = C == ' ' ? Qt::Key_Space : Qt::Key_A + (C - 'a');
            S->Key(Code, Qt::NoModifier, QString(QChar(C)));
            QApplication::processEvents();
        }
        const TStamp B = Now();
        const bool Grew = S->LineText(Line).size() == Original.size() + static_cast<std::size_t>(Keys);
        int Steps = 0;
        while (S->LineText(Line) != Original && Steps < Keys) {
            S->Key(Qt::Key_Z, Qt::ControlModifier, QString());
            ++Steps;
        }
        S->Painted();
        const TStamp C = Now();
        R.Time(A, B, Keys);
        R.Set("keys", Keys);
        // Undo time scaled to 1,000 typed characters.
        R.Set("undo_cpu", (C.Cpu - B.Cpu) * 1000.0 / Keys);
        R.Set("undo_wall", (C.Wall - B.Wall) * 1000.0 / Keys);
        R.Set("undo_steps", Steps);
        R.Set("ok", Grew && S->LineText(Line) == Original ? 1 : 0);
    } else if (Figure == "replace") {
        const TStamp A = Now();
        const int Count = S->ReplaceAll("<td>", "<TD>");
        const bool Painted = S->Painted();
        const TStamp B = Now();
        R.Time(A, B);
        R.Set("count", Count);
        R.Set("painted", Painted ? 1 : 0);
    } else if (Figure == "save") {
        const std::string Out = File + ".saved";
        const TStamp A = Now();
        S->Save(Out);
        const TStamp B = Now();
        R.Time(A, B);
        R.Set("bytes", static_cast<double>(FileSize(Out)));
        ::unlink(Out.c_str());
    } else
        throw std::runtime_error("unknown figure " + Figure);
    return R;
}

int RunOne(int argc, char **argv, const std::string &Figure, const std::string &Subject, const std::string &File)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TYesPrompt Quiet;
    SetPrompt(&Quiet);
    int Result = 0;
    {
        std::optional<QApplication> App;
        if (Subject != "floor")
            App.emplace(argc, argv);
        try {
            MeasureOne(Figure, Subject, File).Print();
        } catch (const std::exception &E) {
            std::fprintf(stderr, "%s\n", E.what());
            Result = 1;
        }
    }
    SetPrompt(nullptr);
    // Tearing down a 50 MB document is not part of any figure.
    std::fflush(stdout);
    std::_Exit(Result);
}

// ------------------------------------------------------------------------------------------------
// The runner.

struct TSample {
    bool Ok = false;
    std::map<std::string, double> Values;
    std::string Error;
};

std::string SelfPath()
{
    char B[4096];
    const ssize_t N = ::readlink("/proc/self/exe", B, sizeof B - 1);
    return N > 0 ? std::string(B, static_cast<std::size_t>(N)) : std::string("bench_compare");
}

bool OnPath(const std::string &Program)
{
    const char *Path = std::getenv("PATH");
    std::stringstream Dirs(Path ? Path : "/usr/bin:/bin");
    std::string Dir;
    while (std::getline(Dirs, Dir, ':'))
        if (!Dir.empty() && ::access((Dir + "/" + Program).c_str(), X_OK) == 0)
            return true;
    return false;
}

// Runs a program with its output collected; kills it after Timeout seconds. The child's own CPU
// time and peak resident size come from its resource usage.
struct TChild {
    int Status = -1;
    bool TimedOut = false;
    std::string Output;
    double Wall = 0, Cpu = 0;
    long long MaxRss = 0;
};

TChild RunChild(const std::vector<std::string> &Args, int Timeout)
{
    TChild C;
    int Pipe[2];
    if (::pipe(Pipe) != 0)
        return C;
    const TStamp A = Now();
    const pid_t Pid = ::fork();
    if (Pid == 0) {
        ::dup2(Pipe[1], 1);
        ::dup2(Pipe[1], 2);
        ::close(Pipe[0]);
        ::close(Pipe[1]);
        const int Null = ::open("/dev/null", O_RDONLY);
        ::dup2(Null, 0);
        std::vector<char *> Argv;
        for (const std::string &S : Args)
            Argv.push_back(const_cast<char *>(S.c_str()));
        Argv.push_back(nullptr);
        ::execvp(Argv[0], Argv.data());
        ::_exit(127);
    }
    ::close(Pipe[1]);
    char Buf[4096];
    while (true) {
        const double Left = Timeout * 1e3 - (Now().Wall - A.Wall);
        if (Left <= 0) {
            ::kill(Pid, SIGKILL);
            C.TimedOut = true;
            break;
        }
        pollfd P{Pipe[0], POLLIN, 0};
        const int Ready = ::poll(&P, 1, static_cast<int>(std::min(Left, 1000.0)));
        if (Ready < 0 && errno != EINTR)
            break;
        if (Ready <= 0)
            continue;
        const ssize_t N = ::read(Pipe[0], Buf, sizeof Buf);
        if (N <= 0)
            break;
        C.Output.append(Buf, static_cast<std::size_t>(N));
    }
    ::close(Pipe[0]);
    rusage Use{};
    ::wait4(Pid, &C.Status, 0, &Use);
    C.Wall = Now().Wall - A.Wall;
    C.Cpu = Use.ru_utime.tv_sec * 1e3 + Use.ru_utime.tv_usec / 1e3 + Use.ru_stime.tv_sec * 1e3 + Use.ru_stime.tv_usec / 1e3;
    C.MaxRss = static_cast<long long>(Use.ru_maxrss) * 1024;
    return C;
}

TSample ParseResult(const TChild &C)
{
    TSample S;
    const auto At = C.Output.rfind("RESULT ");
    if (C.TimedOut)
        S.Error = "timed out";
    else if (At == std::string::npos || !WIFEXITED(C.Status) || WEXITSTATUS(C.Status) != 0) {
        S.Error = C.Output.substr(C.Output.size() > 400 ? C.Output.size() - 400 : 0);
        if (S.Error.empty())
            S.Error = "exit status " + std::to_string(C.Status);
    } else {
        std::stringstream In(C.Output.substr(At + 7, C.Output.find('\n', At) - At - 7));
        std::string Field;
        while (In >> Field) {
            const auto Eq = Field.find('=');
            if (Eq != std::string::npos)
                S.Values[Field.substr(0, Eq)] = std::atof(Field.c_str() + Eq + 1);
        }
        S.Ok = true;
    }
    return S;
}

double Median(std::vector<double> V)
{
    if (V.empty())
        return std::nan("");
    std::sort(V.begin(), V.end());
    const std::size_t N = V.size();
    return N % 2 ? V[N / 2] : (V[N / 2 - 1] + V[N / 2]) / 2;
}

struct TJob {
    std::string Figure, Subject, Input; // Input: a key of TInputs
};

struct TInputs {
    std::map<std::string, std::string> Files; // "1", "10", "50", "80", "short", "utf8", "line"
    std::map<std::string, long long> Sizes;
    std::map<std::string, long long> Lines;
};

std::string Fmt(double V, const char *Unit = "")
{
    if (std::isnan(V))
        return "—";
    char B[64];
    const double A = std::fabs(V);
    if (A >= 100)
        std::snprintf(B, sizeof B, "%.0f%s", V, Unit);
    else if (A >= 10)
        std::snprintf(B, sizeof B, "%.1f%s", V, Unit);
    else if (A >= 1)
        std::snprintf(B, sizeof B, "%.2f%s", V, Unit);
    else
        std::snprintf(B, sizeof B, "%.3g%s", V, Unit);
    return B;
}

std::string Ratio(double Ours, double Theirs)
{
    if (std::isnan(Ours) || std::isnan(Theirs) || Theirs <= 0)
        return "—";
    return Fmt(Ours / Theirs, "×");
}

std::string ReadFirstLine(const std::string &File, const std::string &Prefix)
{
    std::ifstream In(File);
    std::string Line;
    while (std::getline(In, Line))
        if (Line.rfind(Prefix, 0) == 0) {
            const auto Colon = Line.find(':');
            std::string V = Colon == std::string::npos ? Line : Line.substr(Colon + 1);
            V.erase(0, V.find_first_not_of(" \t"));
            return V;
        }
    return {};
}

std::string LoadAverage()
{
    std::ifstream In("/proc/loadavg");
    double A = 0, B = 0, C = 0;
    In >> A >> B >> C;
    char Buf[64];
    std::snprintf(Buf, sizeof Buf, "%.1f %.1f %.1f", A, B, C);
    return Buf;
}

struct TOptions {
    int Runs = 5;
    int Timeout = 600;
    std::string Out, Data;
    std::vector<std::string> Subjects{"pelmar", "qpte", "qsci", "vim", "floor"};
    std::vector<std::string> Figures{"open", "render-top", "render-mid", "render-line", "jump-end", "jump-eol", "type", "replace", "save"};
    bool Wants(const std::vector<std::string> &List, const std::string &Name) const
    {
        return std::find(List.begin(), List.end(), Name) != List.end();
    }
};

std::vector<std::string> SplitList(const std::string &S)
{
    std::vector<std::string> Out;
    std::stringstream In(S);
    std::string Item;
    while (std::getline(In, Item, ','))
        if (!Item.empty())
            Out.push_back(Item);
    return Out;
}

class TRunner {
public:
    explicit TRunner(TOptions O) : Opt(std::move(O)), Self(SelfPath()) {}

    int Run()
    {
        MakeInputs();
        HasVim = Opt.Wants(Opt.Subjects, "vim") && OnPath("vim");
#ifdef PELMAR_BENCH_QSCI
        HasQsci = true;
#endif
        const std::string LoadBefore = LoadAverage();
        std::vector<TJob> Jobs = PlanJobs();
        std::fprintf(stderr, "bench_compare: %zu measurements x %d runs\n", Jobs.size(), Opt.Runs);
        if (HasVim)
            VimBaseline();
        for (int Run = 1; Run <= Opt.Runs; ++Run)
            for (const TJob &J : Jobs) {
                std::fprintf(stderr, "  run %d/%d  %-11s %-6s %-4s ", Run, Opt.Runs, J.Figure.c_str(), J.Subject.c_str(),
                             J.Input.c_str());
                TSample S = Measure(J);
                if (S.Ok)
                    std::fprintf(stderr, "cpu %s ms, wall %s ms\n", Fmt(S.Values["cpu"]).c_str(),
                                 Fmt(S.Values["wall"]).c_str());
                else
                    std::fprintf(stderr, "FAILED: %s\n", S.Error.c_str());
                Samples[Key(J)].push_back(std::move(S));
            }
        const std::string Table = MakeTable(LoadBefore, LoadAverage());
        std::printf("%s", Table.c_str());
        std::ofstream(Opt.Out) << Table;
        std::fprintf(stderr, "bench_compare: table written to %s\n", Opt.Out.c_str());
        return 0;
    }

private:
    static std::string Key(const TJob &J) { return J.Figure + "/" + J.Subject + "/" + J.Input; }

    void MakeInputs()
    {
        ::mkdir(Opt.Data.c_str(), 0755);
        enum TKind { Html, Single, Html80, Short, Utf8 };
        const struct {
            const char *Key;
            long long Size;
            TKind Kind;
            const char *Name;
        } Specs[] = {{"1", 1LL << 20, Html, "html-1mb-v2"},
                     {"10", 10LL << 20, Html, "html-10mb-v2"},
                     {"50", 50LL << 20, Html, "html-50mb-v2"},
                     {"80", 50LL << 20, Html80, "html-50mb-80-v1"},
                     {"short", 50LL << 20, Short, "short-50mb-v1"},
                     {"utf8", 50LL << 20, Utf8, "utf8-50mb-v1"},
                     {"line", 5LL << 20, Single, "html-line-single-v2"}};
        for (const auto &S : Specs) {
            // The generator's version is in the name: a changed generator writes new files.
            const std::string Name = Opt.Data + "/" + S.Name + ".htm";
            if (FileSize(Name) <= 0) {
                std::fprintf(stderr, "bench_compare: writing %s\n", Name.c_str());
                const std::uint64_t Seed = 20240611u + static_cast<unsigned>(S.Size);
                switch (S.Kind) {
                case Html: WriteHtml(Name, S.Size, false, Seed); break;
                case Single: WriteHtml(Name, S.Size, true, Seed); break;
                case Html80: WriteHtml(Name, S.Size, false, Seed + 80, 30, 128); break;
                case Short: WriteShortLines(Name, S.Size, Seed + 15); break;
                case Utf8: WriteUtf8(Name, S.Size, Seed + 8); break;
                }
            }
            In.Files[S.Key] = Name;
            In.Sizes[S.Key] = FileSize(Name);
            std::ifstream F(Name, std::ios::binary);
            In.Lines[S.Key] = std::count(std::istreambuf_iterator<char>(F), std::istreambuf_iterator<char>(), '\n');
        }
    }

    std::vector<TJob> PlanJobs() const
    {
        std::vector<TJob> Jobs;
        auto Add = [&](const std::string &Figure, const std::string &Subject, const std::string &Input) {
            const std::string F = Figure.rfind("render", 0) == 0 && Input == "line" ? "render-line" : Figure;
            if (!Opt.Wants(Opt.Figures, F) || !Opt.Wants(Opt.Subjects, Subject))
                return;
            if ((Subject == "vim" && !HasVim) || (Subject == "qsci" && !HasQsci))
                return;
            Jobs.push_back({Figure, Subject, Input});
        };
        for (const char *Size : {"1", "10", "50", "80", "short", "utf8", "line"})
            for (const char *S : {"pelmar", "qsci", "qpte", "vim", "floor"})
                Add("open", S, Size);
        for (const char *S : {"pelmar", "qsci", "qpte"}) {
            Add("render-top", S, "10");
            Add("render-mid", S, "10");
            Add("render-top", S, "utf8");
            Add("render-mid", S, "utf8");
            Add("render-top", S, "line");
            Add("jump-end", S, "50");
            Add("type", S, "10");
            Add("type", S, "utf8");
            if (std::string(S) == "pelmar") { // the peers take seconds per keystroke there
                Add("type", S, "line");
                Add("jump-eol", S, "line");
            }
        }
        for (const char *Size : {"1", "10", "50", "utf8"})
            for (const char *S : {"pelmar", "qsci", "qpte", "vim"})
                Add("replace", S, Size);
        Add("save", "pelmar", "50");
        Add("save", "floor", "50");
        return Jobs;
    }

    TSample Measure(const TJob &J)
    {
        const std::string &File = In.Files[J.Input];
        if (J.Subject != "vim")
            return ParseResult(RunChild({Self, "--one", J.Figure, J.Subject, File}, Opt.Timeout));
        // vim as a whole process, without a terminal: its start-up is part of every figure.
        std::vector<std::string> Args{"vim", "-u", "NONE", "-i", "NONE", "-N", "-n", "-es"};
        if (J.Figure == "replace")
            Args.insert(Args.end(), {"-c", "%s/<td>/<TD>/g"});
        Args.insert(Args.end(), {"-c", "qa!", File});
        const TChild C = RunChild(Args, Opt.Timeout);
        TSample S;
        if (C.TimedOut || !WIFEXITED(C.Status)) {
            S.Error = C.TimedOut ? "timed out" : "vim failed";
            return S;
        }
        S.Ok = true;
        S.Values["cpu"] = C.Cpu;
        S.Values["wall"] = C.Wall;
        S.Values["rss"] = static_cast<double>(C.MaxRss - VimEmptyRss);
        return S;
    }

    void VimBaseline()
    {
        std::vector<double> R;
        for (int I = 0; I < 3; ++I)
            R.push_back(static_cast<double>(
                RunChild({"vim", "-u", "NONE", "-i", "NONE", "-N", "-n", "-es", "-c", "qa!"}, 60).MaxRss));
        VimEmptyRss = static_cast<long long>(Median(R));
    }

    // Median of a field over the successful runs; NaN when none succeeded.
    double Med(const std::string &Figure, const std::string &Subject, const std::string &Input,
               const std::string &Field = "cpu") const
    {
        const auto It = Samples.find(Figure + "/" + Subject + "/" + Input);
        if (It == Samples.end())
            return std::nan("");
        std::vector<double> V;
        for (const TSample &S : It->second)
            if (S.Ok && S.Values.count(Field))
                V.push_back(S.Values.at(Field));
        return Median(V);
    }
    std::string MakeTable(const std::string &LoadBefore, const std::string &LoadAfter) const
    {
        std::string T;
        auto Line = [&T](const std::string &S) { T += S + "\n"; };
        utsname U{};
        ::uname(&U);
        const std::string Cpu = ReadFirstLine("/proc/cpuinfo", "model name");
        const std::string Mem = ReadFirstLine("/proc/meminfo", "MemTotal");
        char Head[512];
        std::snprintf(Head, sizeof Head, "Machine: %s, %ld cores, %s memory, %s %s; Qt %s; load average %s at the start, %s at the end.",
                      Cpu.c_str(), ::sysconf(_SC_NPROCESSORS_ONLN), Mem.c_str(), U.sysname, U.release, qVersion(),
                      LoadBefore.c_str(), LoadAfter.c_str());
        Line(Head);
        Line("");
        Line("Medians of " + std::to_string(Opt.Runs) +
             " runs, one process per run, every peer in the same run on the same files. Times are CPU milliseconds "
             "of the measuring process (user + system; wall times below), since the machine is shared; memory is "
             "resident bytes added by opening, per byte of file. Ratios are Pelmar32 / peer." +
             std::string(HasQsci ? "" : " QScintilla is not installed (make bench installs it): its column is empty."));
        Line("");
        Line("| Figure | Pelmar32 | QScintilla + HTML lexer | ratio | QPlainTextEdit | ratio | vim | ratio | floor | ratio | Goal | Met |");
        Line("|---|---|---|---|---|---|---|---|---|---|---|---|");

        const auto MB = [this](const std::string &K) {
            char B[32];
            std::snprintf(B, sizeof B, "%.1f MB", static_cast<double>(In.Sizes.at(K)) / (1 << 20));
            return std::string(B);
        };
        const auto Described = [this, &MB](const std::string &K) {
            char B[160];
            const double Lines = static_cast<double>(std::max(1LL, In.Lines.at(K)));
            const double Per = static_cast<double>(In.Sizes.at(K)) / Lines;
            if (K == "short")
                std::snprintf(B, sizeof B, "%s of short lines (%.1f bytes a line, %lld lines)", MB(K).c_str(), Per, In.Lines.at(K));
            else if (K == "utf8")
                std::snprintf(B, sizeof B, "%s UTF-8, mixed scripts (%.0f bytes a line)", MB(K).c_str(), Per);
            else if (K == "line")
                std::snprintf(B, sizeof B, "%s single line", MB(K).c_str());
            else
                std::snprintf(B, sizeof B, "%s (%.0f bytes a line, %lld lines)", MB(K).c_str(), Per, In.Lines.at(K));
            return std::string(B);
        };
        struct TRow {
            std::string Name;
            double Ours, Qsci, Plain, Vim, Floor;
            std::string Goal;
            std::optional<bool> Met;
            std::string Unit = " ms";
        };
        std::vector<TRow> Rows;
        const double NaN = std::nan("");
        auto Min = [](double A, double B) { return std::isnan(A) ? B : std::isnan(B) ? A : std::min(A, B); };
        auto Check = [](double Ours, double Limit) -> std::optional<bool> {
            if (std::isnan(Ours) || std::isnan(Limit))
                return std::nullopt;
            return Ours <= Limit;
        };
        auto Both = [](std::optional<bool> A, std::optional<bool> B) -> std::optional<bool> {
            if (!A || !B)
                return !A ? B : A;
            return *A && *B;
        };
        auto Open = [&](const std::string &K) {
            return TRow{"open " + Described(K) + ", file to first paint", Med("open", "pelmar", K), Med("open", "qsci", K),
                        Med("open", "qpte", K), Med("open", "vim", K), Med("open", "floor", K), "", std::nullopt};
        };
        auto Memory = [&](const std::string &K) {
            const double Size = static_cast<double>(In.Sizes.at(K));
            return TRow{"memory after opening " + Described(K), Med("open", "pelmar", K, "rss") / Size,
                        Med("open", "qsci", K, "rss") / Size, Med("open", "qpte", K, "rss") / Size,
                        Med("open", "vim", K, "rss") / Size, NaN, "", std::nullopt, " B/B"};
        };

        for (const char *K : {"1", "10", "50"}) {
            TRow R = Open(K);
            if (std::string(K) == "50") {
                R.Goal = "≤ 0.3 × QScintilla and ≤ 2.5 × floor";
                R.Met = Both(Check(R.Ours, 0.3 * R.Qsci), Check(R.Ours, 2.5 * R.Floor));
            }
            Rows.push_back(R);
        }
        {
            TRow R = Memory("50");
            R.Goal = "≤ 1.6 bytes per byte";
            R.Met = Check(R.Ours, 1.6);
            Rows.push_back(R);
        }
        {
            TRow R = Open("80");
            R.Goal = "≤ 0.3 × QScintilla and ≤ 1.2 × floor";
            R.Met = Both(Check(R.Ours, 0.3 * R.Qsci), Check(R.Ours, 1.2 * R.Floor));
            Rows.push_back(R);
            TRow M = Memory("80");
            M.Goal = "≤ vim";
            M.Met = Check(M.Ours, M.Vim);
            Rows.push_back(M);
        }
        {
            TRow R = Open("short");
            R.Goal = "≤ 1.5 × floor and ≤ 0.5 × QScintilla";
            R.Met = Both(Check(R.Ours, 1.5 * R.Floor), Check(R.Ours, 0.5 * R.Qsci));
            Rows.push_back(R);
            TRow M = Memory("short");
            M.Goal = "≤ vim";
            M.Met = Check(M.Ours, M.Vim);
            Rows.push_back(M);
        }
        Rows.push_back(Open("utf8"));
        Rows.push_back(Memory("utf8"));
        {
            TRow R = Open("line");
            R.Goal = "≤ 0.01 × QScintilla";
            R.Met = Check(R.Ours, 0.01 * R.Qsci);
            Rows.push_back(R);
        }
        {
            const double O = Med("jump-end", "pelmar", "50"), P = Med("jump-end", "qpte", "50");
            Rows.push_back({"jump to the end and paint, " + MB("50"), O, Med("jump-end", "qsci", "50"), P, NaN, NaN,
                            "≤ 2 × QPlainTextEdit", Check(O, 2 * P)});
        }
        for (const char *K : {"10", "utf8"}) {
            const double O = Med("type", "pelmar", K), P = Med("type", "qpte", K);
            const bool Main = std::string(K) == "10";
            Rows.push_back({"one keystroke with repaint, middle of " + Described(K) + " (mean of up to 1,000)", O,
                            Med("type", "qsci", K), P, NaN, NaN, Main ? "≤ 0.5 × QPlainTextEdit" : "",
                            Main ? Check(O, 0.5 * P) : std::nullopt});
            Rows.push_back({"undo of the 1,000 typed characters, " + MB(K) + (Main ? "" : " UTF-8"),
                            Med("type", "pelmar", K, "undo_cpu"), Med("type", "qsci", K, "undo_cpu"),
                            Med("type", "qpte", K, "undo_cpu"), NaN, NaN, "", std::nullopt});
        }
        {
            const double O = Med("type", "pelmar", "line"), P = Med("type", "qpte", "line");
            Rows.push_back({"one keystroke with repaint, middle of the " + MB("line") + " single line (mean of 1,000)", O,
                            NaN, P, NaN, NaN, "", std::nullopt});
            const double J = Med("jump-eol", "pelmar", "line"), Q = Med("jump-eol", "qpte", "line");
            Rows.push_back({"caret to the end of the " + MB("line") + " single line and paint", J, NaN, Q, NaN, NaN, "",
                            std::nullopt});
        }
        for (const char *K : {"10", "utf8"})
            for (const char *Where : {"render-top", "render-mid"}) {
                const double O = Med(Where, "pelmar", K), Q = Med(Where, "qsci", K), P = Med(Where, "qpte", K);
                const bool Main = std::string(K) == "10";
                Rows.push_back({std::string("full 1200×900 view render, ") + (Main ? MB(K) : MB(K) + " UTF-8") +
                                    (Where == std::string("render-top") ? ", top" : ", middle"),
                                O, Q, P, NaN, NaN, Main ? "≤ 0.75 × the faster peer" : "",
                                Main ? Check(O, 0.75 * Min(P, Q)) : std::nullopt});
            }
        {
            const double O = Med("render-top", "pelmar", "line"), Q = Med("render-top", "qsci", "line"),
                         P = Med("render-top", "qpte", "line");
            Rows.push_back({"full view render, " + MB("line") + " single line", O, Q, P, NaN, NaN,
                            "≤ 0.005 × the faster peer", Check(O, 0.005 * Min(P, Q))});
        }
        for (const char *K : {"1", "10", "50", "utf8"}) {
            const double O = Med("replace", "pelmar", K), P = Med("replace", "qpte", K);
            double V = Med("replace", "vim", K);
            if (!std::isnan(V))
                V = std::max(0.0, V - Med("open", "vim", K)); // the replacement without vim's load
            const double Hits = Med("replace", "pelmar", K, "count");
            TRow R{"replace all \"<td>\" by \"<TD>\", " + MB(K) + (std::string(K) == "utf8" ? " UTF-8" : "") + " (" +
                       (std::isnan(Hits) ? std::string("?") : std::to_string(static_cast<long long>(Hits))) + " hits)",
                   O, Med("replace", "qsci", K), P, V, NaN, "", std::nullopt};
            if (std::string(K) == "10") {
                R.Goal = "≤ 0.2 × QPlainTextEdit";
                R.Met = Check(O, 0.2 * P);
            }
            Rows.push_back(R);
        }
        {
            const double O = Med("save", "pelmar", "50"), F = Med("save", "floor", "50");
            Rows.push_back({"save " + MB("50") + " (synced, renamed)", O, NaN, NaN, NaN, F, "≤ 3 × floor (write + sync)", Check(O, 3 * F)});
        }

        for (const TRow &R : Rows) {
            auto V = [&R](double X) { return Fmt(X, std::isnan(X) ? "" : R.Unit.c_str()); };
            Line("| " + R.Name + " | " + V(R.Ours) + " | " + V(R.Qsci) + " | " + Ratio(R.Ours, R.Qsci) + " | " + V(R.Plain) +
                 " | " + Ratio(R.Ours, R.Plain) + " | " + V(R.Vim) + " | " + Ratio(R.Ours, R.Vim) + " | " + V(R.Floor) +
                 " | " + Ratio(R.Ours, R.Floor) + " | " + R.Goal + " | " + (R.Met ? (*R.Met ? "yes" : "**no**") : "") + " |");
        }

        Line("");
        Line("Growth: CPU milliseconds per MB of file.");
        Line("");
        Line("| Measurement | 1 MB | 10 MB | 50 MB |");
        Line("|---|---|---|---|");
        for (const char *Figure : {"open", "replace"})
            for (const char *Subject : {"pelmar", "qsci", "qpte"}) {
                const std::string Sub = Subject;
                std::string Row = std::string("| ") + Figure + ", " +
                                  (Sub == "pelmar" ? "Pelmar32" : Sub == "qsci" ? "QScintilla" : "QPlainTextEdit");
                for (const char *K : {"1", "10", "50"})
                    Row += " | " + Fmt(Med(Figure, Subject, K) / (static_cast<double>(In.Sizes.at(K)) / (1 << 20)));
                Line(Row + " |");
            }

        Line("");
        Line("Wall-clock medians (ms) of the same runs:");
        Line("");
        Line("| Measurement | Pelmar32 | QScintilla | QPlainTextEdit | vim | floor |");
        Line("|---|---|---|---|---|---|");
        const struct {
            const char *Figure, *Input, *Name;
        } Walls[] = {{"open", "1", "open 1 MB"},       {"open", "10", "open 10 MB"},
                     {"open", "50", "open 50 MB"},     {"open", "80", "open 50 MB of 80-byte lines"},
                     {"open", "short", "open 50 MB of short lines"}, {"open", "utf8", "open 50 MB UTF-8"},
                     {"open", "line", "open 5 MB single line"},
                     {"jump-end", "50", "jump to end, 50 MB"}, {"type", "10", "keystroke, 10 MB"},
                     {"type", "utf8", "keystroke, 50 MB UTF-8"},
                     {"type", "line", "keystroke, single line"}, {"jump-eol", "line", "end of the single line"},
                     {"render-top", "10", "render top, 10 MB"}, {"render-mid", "10", "render middle, 10 MB"},
                     {"render-top", "utf8", "render top, UTF-8"}, {"render-mid", "utf8", "render middle, UTF-8"},
                     {"render-top", "line", "render single line"}, {"replace", "1", "replace all, 1 MB"},
                     {"replace", "10", "replace all, 10 MB"}, {"replace", "50", "replace all, 50 MB"},
                     {"replace", "utf8", "replace all, 50 MB UTF-8"}, {"save", "50", "save 50 MB"}};
        for (const auto &W : Walls)
            Line(std::string("| ") + W.Name + " | " + Fmt(Med(W.Figure, "pelmar", W.Input, "wall")) + " | " +
                 Fmt(Med(W.Figure, "qsci", W.Input, "wall")) + " | " + Fmt(Med(W.Figure, "qpte", W.Input, "wall")) + " | " +
                 Fmt(Med(W.Figure, "vim", W.Input, "wall")) + " | " + Fmt(Med(W.Figure, "floor", W.Input, "wall")) + " |");

        Line("");
        Line("Notes: vim runs as a whole process (-u NONE -n -es, no terminal, so it paints nothing); its open "
             "includes its start-up, its replace-all is the run with the substitution less the open, its memory is "
             "the peak resident size less that of vim without a file. QScintilla runs with its HTML lexer, without "
             "wrapping, in the editor's font, its document 8-bit (UTF-8 for the UTF-8 file), its replace-all "
             "takes the text from the buffer, replaces in memory and puts the result back as one replacement of "
             "the whole text in one undo action (hit by hit in the target it takes about 2 ms a hit here). Neither peer types on the single "
             "line (a second or more per keystroke: the runs would take hours). QPlainTextEdit runs without line wrapping, in the editor's font, "
             "and reads the file as Latin-1 (UTF-8 for the UTF-8 file); its replace-all is the find-and-insert loop "
             "in one edit block. Pelmar32 opens the file as the document window does. The floor reads the file "
             "into memory and copies it once, counting its lines; its write is the same number of bytes written in "
             "64 KB blocks, synced and renamed (the CPU time of a synced write includes the write-back the kernel "
             "does in the writing process). Renders are the mean of up to 20 paints after one unmeasured paint. A keystroke figure is the mean "
             "of 1,000 keystrokes, or of as many as 3 seconds of CPU time allow (at least 10); undo times are "
             "scaled to 1,000 typed characters.");
        std::string Problems;
        for (const auto &[K, V] : Samples)
            for (const TSample &S : V)
                if (!S.Ok) {
                    Problems += "- " + K + ": " + S.Error + "\n";
                    break;
                }
        for (const auto &[K, V] : Samples)
            for (const TSample &S : V)
                if (S.Ok && ((S.Values.count("painted") && S.Values.at("painted") == 0) ||
                             (S.Values.count("ok") && S.Values.at("ok") == 0))) {
                    Problems += "- " + K + ": not painted, or undo did not restore the text\n";
                    break;
                }
        if (!Problems.empty()) {
            Line("");
            Line("Failed or suspicious runs:");
            T += Problems;
        }
        return T;
    }

    TOptions Opt;
    std::string Self;
    TInputs In;
    bool HasVim = false;
    bool HasQsci = false;
    long long VimEmptyRss = 0;
    std::map<std::string, std::vector<TSample>> Samples;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 5 && std::string(argv[1]) == "--one")
        return RunOne(argc, argv, argv[2], argv[3], argv[4]);
    TOptions O;
    const std::string Dir = [] {
        std::string S = SelfPath();
        return S.substr(0, S.rfind('/'));
    }();
    O.Out = Dir + "/compare.md";
    O.Data = Dir + "/data";
    for (int I = 1; I < argc; ++I) {
        const std::string A = argv[I];
        const std::string V = I + 1 < argc ? argv[I + 1] : "";
        if (A == "--runs" && !V.empty())
            O.Runs = std::max(1, std::atoi(V.c_str())), ++I;
        else if (A == "--out" && !V.empty())
            O.Out = V, ++I;
        else if (A == "--data" && !V.empty())
            O.Data = V, ++I;
        else if (A == "--timeout" && !V.empty())
            O.Timeout = std::max(1, std::atoi(V.c_str())), ++I;
        else if (A == "--subjects" && !V.empty())
            O.Subjects = SplitList(V), ++I;
        else if (A == "--figures" && !V.empty())
            O.Figures = SplitList(V), ++I;
        else {
            std::fprintf(stderr,
                         "usage: %s [--runs N] [--out FILE] [--data DIR] [--timeout SECONDS]\n"
                         "          [--subjects pelmar,qsci,qpte,vim,floor] [--figures open,render-top,render-mid,"
                         "render-line,jump-end,jump-eol,type,replace,save]\n"
                         "       %s --one FIGURE SUBJECT FILE\n",
                         argv[0], argv[0]);
            return 2;
        }
    }
    return TRunner(O).Run();
}
