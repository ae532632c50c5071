// TModel: the reference text model of the random tests and the text-store fuzz target: paragraphs
// as a vector of strings, each edit done the obvious way, and display lines wrapped as documented.
#pragma once

#include "core/editor/ParaPos.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace reference {

using TText = std::vector<std::string>;

inline bool Blank(char C) { return C == ' ' || C == '\t'; }

// Display lines of one paragraph: the first character that reaches or crosses the wrap column
// ends a line; the break goes after the last blank or hyphen at or before the first character
// that does not fit, the blanks after it staying on the line; otherwise a hard break.
inline void WrapModel(const std::string &T, bool Wrap, int W, int Tab, std::vector<std::string> &Out)
{
    if (!Wrap) {
        Out.push_back(T);
        return;
    }
    const std::size_t N = T.size();
    std::size_t Start = 0;
    for (;;) {
        std::size_t Fit = N - Start + 1;
        for (std::size_t K = Start, Col = 0; K < N; ++K) {
            Col = T[K] == '\t' ? (Col / Tab + 1) * Tab : Col + 1;
            if (Col >= static_cast<std::size_t>(W)) {
                Fit = K - Start + 1;
                break;
            }
        }
        if (N - Start <= Fit)
            break;
        std::size_t Next = Start + Fit;
        for (std::size_t K = Start + Fit + 1; K-- > Start;)
            if (Blank(T[K]) || T[K] == '-') {
                Next = K + 1;
                while (Next < N && Blank(T[Next]))
                    ++Next;
                break;
            }
        if (Next >= N)
            break;
        Out.push_back(T.substr(Start, Next - Start));
        Start = Next;
    }
    Out.push_back(T.substr(Start));
}

// The edits done the obvious way on a vector of strings.
struct TModel {
    TText P{""};

    std::string &At(int N) { return P[static_cast<std::size_t>(N - 1)]; }
    int Len(int N) { return static_cast<int>(At(N).size()); }
    int Count() const { return static_cast<int>(P.size()); }

    void InsertChars(int N, int O, const std::string &S)
    {
        if (S.empty())
            return;
        std::string &T = At(N);
        if (O - 1 > static_cast<int>(T.size()))
            T.append(static_cast<std::size_t>(O - 1) - T.size(), ' ');
        T.insert(static_cast<std::size_t>(O - 1), S);
    }
    void DeleteChars(int N, int O, int C)
    {
        std::string &T = At(N);
        if (O <= static_cast<int>(T.size()) && C > 0)
            T.erase(static_cast<std::size_t>(O - 1), static_cast<std::size_t>(C));
    }
    void ReplaceChars(int N, int O, int C, const std::string &S)
    {
        std::string &T = At(N);
        if (O > static_cast<int>(T.size()) + 1) {
            InsertChars(N, O, S);
            return;
        }
        T.replace(static_cast<std::size_t>(O - 1), static_cast<std::size_t>(std::max(C, 0)), S);
    }
    void Split(int N, int O, int Indent = 0, int Tab = 8)
    {
        O = std::min(O, Len(N) + 1);
        if (O <= 1) {
            P.insert(P.begin() + (N - 1), std::string());
            return;
        }
        std::string Head = At(N).substr(0, static_cast<std::size_t>(O - 1));
        std::string Tail = At(N).substr(static_cast<std::size_t>(O - 1));
        while (!Head.empty() && Blank(Head.back()))
            Head.pop_back();
        if (Indent > 0)
            Tail = std::string(static_cast<std::size_t>(Indent / Tab), '\t') +
                   std::string(static_cast<std::size_t>(Indent % Tab), ' ') + Tail;
        At(N) = Head;
        P.insert(P.begin() + N, Tail);
    }
    void Join(int N, int O)
    {
        if (N >= Count())
            return;
        if (Len(N) == 0 && O == 1) {
            P.erase(P.begin() + (N - 1));
            return;
        }
        O = std::max(O, Len(N) + 1);
        At(N).append(static_cast<std::size_t>(O - 1 - Len(N)), ' ');
        At(N) += At(N + 1);
        P.erase(P.begin() + N);
    }
    void DeleteRange(TParaPos A, TParaPos B)
    {
        if (B < A)
            std::swap(A, B);
        if (A.Para == B.Para) {
            DeleteChars(A.Para, A.Offset, B.Offset - A.Offset);
            return;
        }
        B.Offset = std::min(B.Offset, Len(B.Para) + 1);
        if (A.Offset == 1 && B.Offset == 1) {
            P.erase(P.begin() + (A.Para - 1), P.begin() + (B.Para - 1));
            return;
        }
        std::string Head = At(A.Para).substr(0, std::min<std::size_t>(A.Offset - 1, At(A.Para).size()));
        Head.append(static_cast<std::size_t>(A.Offset - 1) - Head.size(), ' ');
        const std::string Tail = At(B.Para).substr(static_cast<std::size_t>(B.Offset - 1));
        P.erase(P.begin() + A.Para, P.begin() + B.Para);
        At(A.Para) = Head + Tail;
    }
    TParaPos InsertText(int N, int O, const std::string &Text, int Tab = 8)
    {
        std::vector<std::pair<std::string, bool>> Segs;
        for (std::size_t I = 0; I < Text.size();) {
            const std::size_t J = Text.find('\n', I);
            std::string S = J == std::string::npos ? Text.substr(I) : Text.substr(I, J + 1 - I);
            I = J == std::string::npos ? Text.size() : J + 1;
            std::size_t K = S.size();
            while (K > 0 && (S[K - 1] == '\r' || S[K - 1] == '\n'))
                --K;
            Segs.emplace_back(S.substr(0, K), K < S.size());
        }
        for (const auto &[Chars, Break] : Segs) {
            if (Break && O == 1) {
                P.insert(P.begin() + (N - 1), Chars);
                ++N;
                continue;
            }
            InsertChars(N, O, Chars);
            O += static_cast<int>(Chars.size());
            if (Break) {
                Split(N, O, 0, Tab);
                ++N;
                O = 1;
            }
        }
        return {N, O};
    }
    // File loading: trailing blanks trimmed; a line longer than the limit is refused whole (false).
    bool Append(std::string_view T, int Limit, bool Trim)
    {
        while (Trim && !T.empty() && Blank(T.back()))
            T.remove_suffix(1);
        if (T.size() > static_cast<std::size_t>(Limit))
            return false;
        P.insert(P.end() - 1, std::string(T));
        return true;
    }
    std::int64_t Bytes() const
    {
        std::int64_t B = 2 * static_cast<std::int64_t>(P.size() - 1);
        for (const auto &S : P)
            B += static_cast<std::int64_t>(S.size());
        return B;
    }
};

} // namespace reference
