// The document window's eight menus and every entry on them as data (captions, shortcuts, hints,
// markup, recording and Shift rules), and the small compositions the markup commands share.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

enum class TMarkupMenu { Edit, Element, Flow, List, Link, Entity, Font, Style };

// A menu of the document window's bar, in bar order.
struct TMarkupMenuInfo {
    TMarkupMenu Menu;
    std::string_view Name;        // component name ("Edit1")
    std::string_view Caption;     // "&Edit"
    std::string_view Hint;
    int GroupIndex;               // merge position in the main window's bar
};

// What choosing an entry does. Pair, Insert and Plain use the entry's Start/End texts; the
// others name the operation the window performs.
enum class TCommandKind {
    Separator, Submenu,
    Pair, Insert, Plain,
    Undo, Redo, Cut, Copy, Paste, Delete, SelectAll, Nothing,
    RepeatLastMarkup, FindReplaceDialog, FindNext,
    RemoveHTMLTags, AutoParagraphFormat, IntelligentTagInsert,
    ConvertCharactersToEntities, ConvertEntitiesToCharacters, EntityByCharacterValue,
    TableDesigner, BlockDialog, BodyDialog, RuleDialog, FontDialog,
    CurrentTime, ColorChooser, StandardOutline,
    ListMaker, DefinitionListMaker,
    LinkDialog, Question, Image, EmbedOLE,
};

// When the entry sets LastMarkupCommand: never, after acting (also after a cancelled question
// or dialog), before acting, or only after an accepted dialog.
enum class TRecordMode { No, Yes, BeforeActing, IfOK };

enum TCommandFlags : unsigned {
    cfNone = 0,
    cfHidden = 1u << 0,             // never shown; its shortcut still works
    cfNewlineAfterTitle = 1u << 1,  // LF appended to End when NewlineAfterTitle is on
    cfCenter = 1u << 2,             // Start/End with NeverUseCENTER, AltStart/AltEnd without
    cfShiftBlockDialog = 1u << 3,   // with Shift: block dialog (DialogCaption, Element) instead
    cfShiftRunsCommand = 1u << 4,   // with Shift: ShiftCommand's click instead
};

struct TMarkupCommand {
    TMarkupMenu Menu = TMarkupMenu::Edit;
    std::string_view Parent = {};   // submenu's component name; empty for the menu itself
    std::string_view Name = {};     // component name; empty for an unnamed separator
    std::string_view Caption = {};  // with its "&" marker; bytes of the code page
    std::string_view Shortcut = {}; // "Ctrl+T", "Ctrl+Enter", "Shift+Del", "F3"; empty for none
    std::string_view Hint = {};
    TCommandKind Kind = TCommandKind::Nothing;
    TRecordMode Record = TRecordMode::No;
    unsigned Flags = cfNone;
    std::string_view Start = {};    // Pair/Insert/Plain text
    std::string_view End = {};      // Pair end text; FontDialog: the end tag it pairs with
    std::string_view AltStart = {}; // cfCenter: the texts used when NeverUseCENTER is off
    std::string_view AltEnd = {};
    std::string_view Element = {};  // block, font, list and Shift-heading element
    std::string_view DialogCaption = {};  // block dialog, question box, font dialog override
    std::string_view Prompt = {};   // question prompt; font dialog size label override
    std::string_view ShiftCommand = {};   // cfShiftRunsCommand target
    std::string_view Handler = {};  // click handler when not Name + "Click"
};

// The eight menus in bar order.
std::span<const TMarkupMenuInfo> MarkupMenus();
// Every entry of the eight menus in menu order; submenu entries follow their submenu row.
std::span<const TMarkupCommand> MarkupCommands();
// The entry with that component name, or nullptr.
const TMarkupCommand *FindMarkupCommand(std::string_view Name);
// The click handler's name: Handler, else Name + "Click"; empty for separators, submenus and
// entries without an action.
std::string CommandHandlerName(const TMarkupCommand &Command);

// Markup to insert: a tag pair, or a single text in Start.
struct TMarkupText {
    bool IsPair = false;
    std::string Start;
    std::string End;
    bool operator==(const TMarkupText &) const = default;
};

// The fixed markup of a Pair, Insert, Plain or StandardOutline entry under the two settings
// (empty for other kinds).
TMarkupText CommandMarkup(const TMarkupCommand &Command, bool NewlineAfterTitle, bool NeverUseCENTER);

// The markup of an entry that takes one typed value: the questions (Anchor1, MakeLinkFromURL1,
// Base1, IsIndex1, MailTo1), Link2 (the address) and EmbedOLEobjectNetscape1 (the file chosen).
// Empty for other entries.
std::optional<TMarkupText> ValueCommandMarkup(std::string_view Name, std::string_view Value);

// The EMBED tag for a chosen file: its name without directory, the letters A to Z lowered when
// LowerName (the command says no where the lower-case name would name no file).
std::string EmbedMarkup(std::string_view ChosenPath, bool LowerName);

// InsertTagPair's text: Start + the selected text (empty without a selection) + End, the whole
// through the tag-case rule, selected text included.
std::string TagPairText(std::string_view Start, std::string_view Selected, std::string_view End,
                        bool LowerCaseTags);
// Where InsertTagPair puts the caret after inserting without a selection: Column minus the
// length of End when Column is greater than that length, else Column.
int CaretColumnAfterTagPair(int Column, std::string_view End);

// The current-time text: date, a blank and time; the time is left out at exactly midnight.
std::string CurrentTimeText(std::string_view ShortDate, std::string_view LongTime, bool Midnight);
