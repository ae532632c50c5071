// Untrimmed(): reading options that take every line as it is, trailing blanks included.
#pragma once

#include "core/editor/TextFileIO.h"

inline TTextReadOptions Untrimmed()
{
    TTextReadOptions O;
    O.TrimWhiteSpace = false;
    return O;
}
