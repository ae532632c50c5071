// Fuzz target for the history lists: the file reader against a plain reading of the format,
// stable rewriting, loading and saving through a real file, and adding without case duplicates.
#include "core/custom/CustomFiles.h"
#include "core/custom/HistoryList.h"
#include "core/markup/TagCase.h"

#include "FuzzInput.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// One entry per line; CR, LF and CR LF end lines; a NUL ends the file; a last line without a
// line end still counts.
std::vector<std::string> ExpectedEntries(std::string_view Bytes)
{
    std::vector<std::string> Out;
    std::string Line;
    bool Open = false;
    for (std::size_t I = 0; I < Bytes.size() && Bytes[I] != '\0'; ++I) {
        const char C = Bytes[I];
        if (C == '\r' || C == '\n') {
            Out.push_back(Line);
            Line.clear();
            Open = false;
            if (C == '\r' && I + 1 < Bytes.size() && Bytes[I + 1] == '\n')
                ++I;
        } else {
            Line += C;
            Open = true;
        }
    }
    if (Open)
        Out.push_back(Line);
    return Out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static TFuzzScratch Scratch("history");
    TFuzzInput In(Data, Size);
    const std::string Added = In.Text(40);
    const std::string_view Bytes = In.Rest();

    const std::vector<std::string> Entries = ParseHistoryText(Bytes);
    FUZZ_CHECK(Entries == ExpectedEntries(Bytes));
    const std::string Written = FormatHistoryText(Entries);
    FUZZ_CHECK(ParseHistoryText(Written) == Entries);
    FUZZ_CHECK(FormatHistoryText(ParseHistoryText(Written)) == Written);

    // Through the file: what was stored comes back, and Add keeps entries unique ignoring case.
    const std::string File = HistoryFileName(Scratch.Path(""), URLsHistoryName);
    TFuzzScratch::Put(File, Bytes);
    THistoryList List(File);
    List.Load();
    FUZZ_CHECK(List.Items() == Entries);
    bool Known = false;
    for (const std::string &E : Entries)
        Known = Known || AnsiLowerCase(E) == AnsiLowerCase(Added);
    const bool Appended = List.Add(Added);
    FUZZ_CHECK(Appended == !Known);
    FUZZ_CHECK(!List.Add(AnsiUpperCase(Added)) && !List.Add(AnsiLowerCase(Added)));
    FUZZ_CHECK(List.Items().size() == Entries.size() + (Appended ? 1 : 0));
    List.Save();
    std::vector<std::string> Expected = List.Items();
    // An entry holding a line break or a NUL cannot survive a plain text file whole.
    if (Added.find_first_of(std::string("\r\n\0", 3)) == std::string::npos || !Appended) {
        THistoryList Again(File);
        Again.Load();
        FUZZ_CHECK(Again.Items() == Expected);
        FUZZ_CHECK(TFuzzScratch::Get(File) == FormatHistoryText(Expected));
    }
    return 0;
}
