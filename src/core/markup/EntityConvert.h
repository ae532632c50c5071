// Converting characters to entities and back over a whole document, line by line, asking as
// the user wants.
#pragma once

#include "core/markup/LineDocument.h"

// Every character of code 161..255 with an entity becomes that entity. Asks "Confirm each
// replacement?" first, then Yes/No/All per character; reports characters without an entity and
// the result. Returns the number of replacements made.
int ConvertCharactersToEntities(TLineDocument &Doc, TMarkupQuestions &Ask);

// Every "&...;" candidate that names a character becomes that character; unknown ones are
// reported and kept. Produced characters are not scanned again. Returns the replacements made.
int ConvertEntitiesToCharacters(TLineDocument &Doc, TMarkupQuestions &Ask);
