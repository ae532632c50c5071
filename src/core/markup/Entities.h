// The character entity table, its two lookups, the names of HTML 4's character entities, the runtime
// integer reader and the value-entity text.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// One row of the entity table: a character code and its entity text ("&eacute;").
struct TEntityRow {
    unsigned char Code;
    std::string_view Entity;
};

// The 100 rows in table order (lookups scan them from the first).
std::span<const TEntityRow> EntityTable();

// The entity text of the row for the code, or empty when the table has none.
std::string_view EntityForCharacter(unsigned char Code);

// The code for an entity text, 0 for unknown. "&#...;" is read with ParseRuntimeInteger and
// gives the low 8 bits of the number (0 on a read error); any other text must equal a table
// entity exactly, case included.
unsigned char CharacterForEntity(std::string_view Text);

// The character an entity text names in a UTF-8 text: "&#...;" above 255 is that code point
// (when it is one: up to U+10FFFF, no surrogate); every other entity is read as CharacterForEntity
// reads it, and its byte stands for its Windows-1252 character. 0 for unknown.
char32_t CodePointForEntity(std::string_view Text);

// The 252 entity names of HTML 4 (its Latin-1, symbol and special sets; "eacute", no "&" or ";"),
// the names browsers have known since then. Every entity of the table above is among them.
std::span<const std::string_view> Html4EntityNames();
// Whether Name (case included) is one of them.
bool IsHtml4EntityName(std::string_view Name);

// What a character button inserts: the character itself, or its entity when the table has one
// and actual characters are not wanted.
std::string CharacterButtonMarkup(unsigned char Code, bool UseActualCharacters);

// The runtime's integer reader: leading blanks, then an optional sign and decimal digits, or "$"
// and hexadecimal digits, and nothing after them. Decimal must fit 32 bits signed; hexadecimal
// may use all 32 bits and wraps ("$FFFFFFFF" is -1). Empty on any error.
std::optional<int32_t> ParseRuntimeInteger(std::string_view Text);

// "Entity by Character Value": the markup for the typed answer ("&#" + answer as typed + ";"),
// or empty when the answer does not read as an integer or reads as -1 ("Invalid Value.").
std::optional<std::string> EntityByCharacterValue(std::string_view Answer);

// Texts of the entity commands' boxes. A box shows "&&" as one "&".
namespace EntityText {
inline constexpr std::string_view ConfirmEach = "Confirm each replacement?";
inline constexpr std::string_view NoCharactersConverted = "No Characters Converted.";
inline constexpr std::string_view NoEntitiesConverted = "No Entities Converted.";
inline constexpr std::string_view InvalidValue = "Invalid Value.";
inline constexpr std::string_view ValueCaption = "Entity by Character value";
inline constexpr std::string_view ValuePrompt = "Enter ASCII value:";
}  // namespace EntityText

// "No Entity for this Character: " + the character.
std::string NoEntityMessage(unsigned char Code);
// The same for a character given as its bytes (a UTF-8 character).
std::string NoEntityMessage(std::string_view Character);
std::string ReplaceCharacterQuestion(std::string_view Character, std::string_view Entity);
std::string ReplaceEntityQuestion(std::string_view Candidate, std::string_view Character);
// "Replace " + character + " with &" + entity + " ?"
std::string ReplaceCharacterQuestion(unsigned char Code, std::string_view Entity);
// "Unknown Entity: &" + candidate
std::string UnknownEntityMessage(std::string_view Candidate);
// "Replace &" + candidate + " with " + character + " ?"
std::string ReplaceEntityQuestion(std::string_view Candidate, unsigned char Code);
// "Characters Converted: N", or "No Characters Converted." for 0.
std::string CharactersConvertedMessage(int Count);
// "Entities Converted: N", or "No Entities Converted." below 1.
std::string EntitiesConvertedMessage(int Count);
