// The document window's eight menus and every entry on them as data, and the small compositions
// the markup commands share.
#include "core/markup/Catalogue.h"

#include "core/markup/DialogPaths.h"
#include "core/markup/TagCase.h"

#include <array>

namespace {

using K = TCommandKind;
using R = TRecordMode;
constexpr TMarkupMenu Edit = TMarkupMenu::Edit, Element = TMarkupMenu::Element, Flow = TMarkupMenu::Flow,
                      List = TMarkupMenu::List, Link = TMarkupMenu::Link, Entity = TMarkupMenu::Entity,
                      Font = TMarkupMenu::Font, Style = TMarkupMenu::Style;

constexpr std::array<TMarkupMenuInfo, 8> Menus = {{
    {Edit, "Edit1", "&Edit", "", 1},
    {Element, "Element1", "Ele&ment", "", 2},
    {Flow, "Flow1", "Fl&ow", "", 3},
    {List, "List1", "&List", "", 4},
    {Link, "Link1", "Lin&k", "", 5},
    {Entity, "Entity1", "Entit&y", "", 6},
    {Font, "Font1", "Fo&nt", "HTML Font Styles", 7},
    {Style, "Style1", "&Style", "", 8},
}};

constexpr TMarkupCommand Sep(TMarkupMenu Menu, std::string_view Parent = {}, std::string_view Name = {},
                             unsigned Flags = cfNone)
{
    return {.Menu = Menu, .Parent = Parent, .Name = Name, .Caption = "-", .Shortcut = {}, .Hint = {},
            .Kind = K::Separator, .Flags = Flags};
}

constexpr TMarkupCommand Cmds[] = {
    // Edit
    {.Menu = Edit, .Name = "Undo1", .Caption = "&Undo", .Shortcut = "Ctrl+Z", .Hint = "Undo the last operation", .Kind = K::Undo},
    {.Menu = Edit, .Name = "Redo1", .Caption = "Red&o", .Kind = K::Redo},
    {.Menu = Edit, .Name = "RepeatLastMarkup1", .Caption = "&Repeat Last Markup", .Shortcut = "Ctrl+Y",
     .Hint = "Repeat the last markup command", .Kind = K::RepeatLastMarkup},
    Sep(Edit),
    {.Menu = Edit, .Name = "Cut1", .Caption = "Cu&t", .Shortcut = "Ctrl+X", .Hint = "Cut to clipboard", .Kind = K::Cut},
    {.Menu = Edit, .Name = "Copy1", .Caption = "&Copy", .Shortcut = "Ctrl+C", .Hint = "Copy to clipboard", .Kind = K::Copy},
    {.Menu = Edit, .Name = "Paste1", .Caption = "&Paste", .Shortcut = "Ctrl+V", .Hint = "Paste from clipboard", .Kind = K::Paste},
    {.Menu = Edit, .Name = "HiddenCut1", .Caption = "HiddenCut", .Shortcut = "Shift+Del", .Kind = K::Cut,
     .Flags = cfHidden, .Handler = "Cut1Click"},
    {.Menu = Edit, .Name = "HiddenCopy1", .Caption = "HiddenCopy", .Shortcut = "Ctrl+Ins", .Kind = K::Copy,
     .Flags = cfHidden, .Handler = "Copy1Click"},
    {.Menu = Edit, .Name = "HiddenPaste1", .Caption = "HiddenPaste", .Shortcut = "Shift+Ins", .Kind = K::Paste,
     .Flags = cfHidden, .Handler = "Paste1Click"},
    {.Menu = Edit, .Name = "HiddenCust11", .Caption = "HiddenCust1", .Shortcut = "Ctrl+1", .Kind = K::Nothing, .Flags = cfHidden},
    {.Menu = Edit, .Name = "HiddenCust21", .Caption = "HiddenCust2", .Shortcut = "Ctrl+2", .Kind = K::Nothing, .Flags = cfHidden},
    {.Menu = Edit, .Name = "HiddenCust31", .Caption = "HiddenCust3", .Shortcut = "Ctrl+3", .Kind = K::Nothing, .Flags = cfHidden},
    {.Menu = Edit, .Name = "HiddenCust41", .Caption = "HiddenCust4", .Shortcut = "Ctrl+4", .Kind = K::Nothing, .Flags = cfHidden},
    {.Menu = Edit, .Name = "HiddenCust51", .Caption = "HiddenCust5", .Shortcut = "Ctrl+5", .Kind = K::Nothing, .Flags = cfHidden},
    {.Menu = Edit, .Name = "HiddenCust61", .Caption = "HiddenCust6", .Shortcut = "Ctrl+6", .Kind = K::Nothing, .Flags = cfHidden},
    {.Menu = Edit, .Name = "HiddenCust71", .Caption = "HiddenCust7", .Shortcut = "Ctrl+7", .Kind = K::Nothing, .Flags = cfHidden},
    {.Menu = Edit, .Name = "HiddenCust81", .Caption = "HiddenCust8", .Shortcut = "Ctrl+8", .Kind = K::Nothing, .Flags = cfHidden},
    {.Menu = Edit, .Name = "HiddenCust91", .Caption = "HiddenCust9", .Shortcut = "Ctrl+9", .Kind = K::Nothing, .Flags = cfHidden},
    {.Menu = Edit, .Name = "Delete1", .Caption = "&Delete", .Hint = "Delete the selected text", .Kind = K::Delete},
    {.Menu = Edit, .Name = "SelectAll1", .Caption = "&Select All", .Hint = "Select all the text in the editor window",
     .Kind = K::SelectAll},
    Sep(Edit),
    {.Menu = Edit, .Name = "Find1", .Caption = "&Find...", .Shortcut = "Ctrl+F", .Hint = "Search for text in this file",
     .Kind = K::FindReplaceDialog, .Handler = "Replace1Click"},
    {.Menu = Edit, .Name = "Replace1", .Caption = "&Replace...", .Hint = "Replace text in this file",
     .Kind = K::FindReplaceDialog},
    {.Menu = Edit, .Name = "FindNext1", .Caption = "Find &Next", .Shortcut = "F3",
     .Hint = "Find the next match from the previous search", .Kind = K::FindNext},
    {.Menu = Edit, .Name = "RemoveHTMLTags1", .Caption = "Re&move HTML Tags", .Shortcut = "Ctrl+R",
     .Hint = "Remove HTML Tags from the selected text", .Kind = K::RemoveHTMLTags},
    {.Menu = Edit, .Name = "AutoParagraphFormat1", .Caption = "&Auto Paragraph Format...",
     .Hint = "Insert tags to automatically format paragraphs for the selected text", .Kind = K::AutoParagraphFormat},
    {.Menu = Edit, .Name = "IntelligentTagInsert1", .Caption = "&Intelligent Tag Insert...",
     .Hint = "Add tags to lines of the document based on specified criteria", .Kind = K::IntelligentTagInsert},
    {.Menu = Edit, .Name = "ConvertCharacterstoEntities1", .Caption = "Convert C&haracters to Entities...",
     .Hint = "Convert special ASCII characters to the equivalent HTML entities", .Kind = K::ConvertCharactersToEntities},
    {.Menu = Edit, .Name = "ConvertEntitiestoCharacters1", .Caption = "Convert &Entities to Characters...",
     .Hint = "Convert HTML entities to the ASCII character equivalent", .Kind = K::ConvertEntitiesToCharacters},
    {.Menu = Edit, .Name = "CheckSpelling1", .Caption = "Check Spe&lling...", .Kind = K::Nothing, .Flags = cfHidden},

    // Element
    {.Menu = Element, .Name = "TableWiz1", .Caption = "&Table Designer...",
     .Hint = "Design an HTML table (HTML 3.0/Netscape)", .Kind = K::TableDesigner},
    {.Menu = Element, .Name = "FormWiz1", .Caption = "&Form Designer...", .Kind = K::Nothing, .Flags = cfHidden},
    Sep(Element, {}, "N9", cfHidden),
    {.Menu = Element, .Name = "Title1", .Caption = "T&itle", .Shortcut = "Ctrl+T",
     .Hint = "Make the selected text the title of this HTML document", .Kind = K::Pair, .Record = R::Yes,
     .Flags = cfNewlineAfterTitle, .Start = "<TITLE>", .End = "</TITLE>"},
    {.Menu = Element, .Name = "Banner1", .Caption = "Banner", .Hint = "Indicate a non-scrollable Banner (HTML 3.0)",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<BANNER>", .End = "</BANNER>"},
    {.Menu = Element, .Name = "Division1", .Caption = "&Division",
     .Hint = "Identify the selected text as a particular type of container such as an abstract, appendix, chapter, etc..",
     .Kind = K::BlockDialog, .Record = R::Yes, .Element = "DIV", .DialogCaption = "Division"},
    {.Menu = Element, .Name = "Comment1", .Caption = "&Comment", .Hint = "Make the selected text a comment",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<!-- ", .End = " -->"},
    Sep(Element),
    {.Menu = Element, .Name = "MarkasHEAD1", .Caption = "H&EAD",
     .Hint = "Indicate that the selected text is the header of the document", .Kind = K::Pair, .Record = R::Yes,
     .Start = "<HEAD>", .End = "</HEAD>"},
    {.Menu = Element, .Name = "MarkasBODY1", .Caption = "B&ODY (Background and Colors)...",
     .Hint = "Indicate the body of the document and specify background, text, and link colors", .Kind = K::BodyDialog,
     .Record = R::IfOK, .End = "</BODY>"},
    {.Menu = Element, .Name = "MarkasHTML1", .Caption = "HTM&L", .Hint = "Indicate that the selected text is HTML",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<HTML>", .End = "</HTML>"},
    {.Menu = Element, .Name = "StandardDocumentOutline1", .Caption = "&Standard Document Outline",
     .Hint = "Insert HTML, HEAD, and BODY tags", .Kind = K::StandardOutline, .Record = R::Yes,
     .Start = "<HTML>\n<HEAD>\n\n</HEAD>\n\n<BODY>\n\n</BODY>\n</HTML>"},
    Sep(Element),
    {.Menu = Element, .Name = "InsertCurrentTime1", .Caption = "&Insert Current Time",
     .Hint = "Inserts the current time in the document", .Kind = K::CurrentTime},
    {.Menu = Element, .Name = "Color1", .Caption = "Colo&r Chooser...",
     .Hint = "Inserts a string with the hexadecimal value of the the chosen color", .Kind = K::ColorChooser},

    // Flow
    {.Menu = Flow, .Name = "HardRule1", .Caption = "Horizontal &Rule <HR>", .Shortcut = "Ctrl+H",
     .Hint = "Insert a Horizontal Rule <HR> tag", .Kind = K::Insert, .Record = R::BeforeActing,
     .Flags = cfShiftRunsCommand, .Start = "<HR>", .ShiftCommand = "HRwithOptions1"},
    {.Menu = Flow, .Name = "LineBreak1", .Caption = "Line &Break <BR>", .Shortcut = "Ctrl+Enter",
     .Hint = "Insert a Line Break <BR> tag", .Kind = K::Insert, .Record = R::Yes, .Start = "<BR>"},
    {.Menu = Flow, .Name = "Paragraph1", .Caption = "&Paragraph <P>", .Shortcut = "Ctrl+P",
     .Hint = "Insert a Paragraph marker tag <P>", .Kind = K::Insert, .Record = R::BeforeActing,
     .Flags = cfShiftRunsCommand, .Start = "<P>", .ShiftCommand = "ParagraphContainer1"},
    {.Menu = Flow, .Name = "EndParagraphP1", .Caption = "End Paragraph </P>", .Hint = "Insert a Paragraph End Tag </P>",
     .Kind = K::Insert, .Record = R::Yes, .Start = "</P>"},
    Sep(Flow),
    {.Menu = Flow, .Name = "Center1", .Caption = "&Center", .Shortcut = "Ctrl+U",
     .Hint = "Center the selected text (Netscape)", .Kind = K::Pair, .Record = R::Yes, .Flags = cfCenter,
     .Start = "<P ALIGN=\"center\">", .End = "</P>", .AltStart = "<CENTER>", .AltEnd = "</CENTER>"},
    {.Menu = Flow, .Name = "ParagraphContainer1", .Caption = "<P> with Op&tions...",
     .Hint = "Insert a paragraph tag with options (HTML 3.0)", .Kind = K::BlockDialog, .Record = R::Yes,
     .Element = "P", .DialogCaption = "Paragraph"},
    {.Menu = Flow, .Name = "HRwithOptions1", .Caption = "<HR> with &Options...",
     .Hint = "Insert a Horizontal Rule with options (HTML 3.0)", .Kind = K::RuleDialog, .Record = R::Yes},
    {.Menu = Flow, .Name = "NoBreak1", .Caption = "&No Break <NOBR>",
     .Hint = "Indicate that the selected text should not be subject to a  word break (Netscape)", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<NOBR>", .End = "</NOBR>"},
    {.Menu = Flow, .Name = "WordBreak1", .Caption = "&Word Break <WBR>",
     .Hint = "Indicate that this would be a good place to break a word (Netscape)", .Kind = K::Insert,
     .Record = R::Yes, .Start = "<WBR>"},

    // List
    {.Menu = List, .Name = "UnorderedList1", .Caption = "&Unordered List <UL> .. </UL>",
     .Hint = "Format the selected text as an unordered list", .Kind = K::ListMaker, .Element = "UL"},
    {.Menu = List, .Name = "OrdererdList1", .Caption = "&Ordered List <OL> .. </OL>",
     .Hint = "Format the selected text as an ordered list", .Kind = K::ListMaker, .Element = "OL"},
    {.Menu = List, .Name = "DefinitionList1", .Caption = "&Definition List <DL> .. </DL>",
     .Hint = "Format the selected text as a list of definitions", .Kind = K::DefinitionListMaker, .Element = "DL"},
    {.Menu = List, .Name = "Menu1", .Caption = "&Menu", .Hint = "Format the selected text as a menu list",
     .Kind = K::ListMaker, .Element = "MENU"},
    {.Menu = List, .Name = "Directory1", .Caption = "D&irectory", .Hint = "Format the selected text as a directory list",
     .Kind = K::ListMaker, .Element = "DIR"},
    Sep(List),
    {.Menu = List, .Name = "ListItem1", .Caption = "&List Item <LI> ... </LI>", .Shortcut = "Ctrl+L",
     .Hint = "Format the selected text as a List Item", .Kind = K::Pair, .Record = R::BeforeActing,
     .Start = "<LI>", .End = "</LI>"},
    {.Menu = List, .Name = "LIwithOptions1", .Caption = "<LI TYPE= ... >",
     .Hint = "Specify a particular style of list item marker (HTML 3.0)", .Kind = K::Submenu},
    {.Menu = List, .Parent = "LIwithOptions1", .Name = "Disc1", .Caption = "Disc",
     .Hint = "List Item marker is a solid disc (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<LI TYPE=\"disc\">"},
    {.Menu = List, .Parent = "LIwithOptions1", .Name = "Circle1", .Caption = "Circle",
     .Hint = "List Item marker is a circle (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<LI TYPE=\"circle\">"},
    {.Menu = List, .Parent = "LIwithOptions1", .Name = "Square1", .Caption = "Square",
     .Hint = "List Item marker is a square (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<LI TYPE=\"square\">"},
    {.Menu = List, .Name = "ULTYPE1", .Caption = "<UL TYPE= ... >",
     .Hint = "Specify a particular type of marker for an unordered list (HTML 3.0)", .Kind = K::Submenu},
    {.Menu = List, .Parent = "ULTYPE1", .Name = "Disc2", .Caption = "Disc",
     .Hint = "List Item marker is a solid disc (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<UL TYPE=\"disc\">"},
    {.Menu = List, .Parent = "ULTYPE1", .Name = "Circle2", .Caption = "Circle",
     .Hint = "List Item marker is a circle (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<UL TYPE=\"circle\">"},
    {.Menu = List, .Parent = "ULTYPE1", .Name = "Square2", .Caption = "Square",
     .Hint = "List Item marker is a square (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<UL TYPE=\"square\">"},
    {.Menu = List, .Name = "OLTYPE1", .Caption = "<OL TYPE= ... >",
     .Hint = "Specify a particular type of marker for an ordered list (HTML 3.0)", .Kind = K::Submenu},
    {.Menu = List, .Parent = "OLTYPE1", .Name = "ABC1", .Caption = "A, B, C, ...",
     .Hint = "List Item markers are uppercase letters (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<OL TYPE=\"A\">"},
    {.Menu = List, .Parent = "OLTYPE1", .Name = "abc2", .Caption = "a, b, c, ...",
     .Hint = "List Item markers are lowercase letters (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<OL TYPE=\"a\">"},
    {.Menu = List, .Parent = "OLTYPE1", .Name = "IIIII1", .Caption = "I, II, III, ...",
     .Hint = "List Item markers are uppercase roman numerals (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<OL TYPE=\"I\">"},
    {.Menu = List, .Parent = "OLTYPE1", .Name = "iiiiii1", .Caption = "i, ii, iii, ...",
     .Hint = "List Item markers are lowercase roman numerals", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<OL TYPE=\"i\">"},
    {.Menu = List, .Parent = "OLTYPE1", .Name = "N1231", .Caption = "1, 2, 3, ...",
     .Hint = "List Item markers are arabic numerals", .Kind = K::Insert, .Record = R::Yes,
     .Start = "<OL TYPE=\"1\">"},
    {.Menu = List, .Name = "DefinitionTermDT1", .Caption = "Definition Term <DT>",
     .Hint = "Insert a Definition Term tag <DT>", .Kind = K::Insert, .Record = R::Yes, .Start = "<DT>"},
    {.Menu = List, .Name = "DefinitionItemDD1", .Caption = "Definition Item <DD>", .Shortcut = "Ctrl+D",
     .Hint = "Insert a Definition Item Tag <DD>", .Kind = K::Insert, .Record = R::Yes, .Start = "<DD>"},

    // Link
    {.Menu = Link, .Name = "Link2", .Caption = "&Link...", .Shortcut = "Ctrl+K",
     .Hint = "Make the selected text a hypertext link", .Kind = K::LinkDialog, .Record = R::Yes},
    {.Menu = Link, .Name = "Anchor1", .Caption = "&Anchor...",
     .Hint = "Allow the selected text to be the target of a hypertext link", .Kind = K::Question, .Record = R::Yes,
     .DialogCaption = "Anchor", .Prompt = "Enter Anchor Name:"},
    {.Menu = Link, .Name = "Image1", .Caption = "&Image...", .Shortcut = "Ctrl+M", .Hint = "Insert an inline image",
     .Kind = K::Image, .Record = R::Yes},
    {.Menu = Link, .Name = "EmbedOLEobjectNetscape1", .Caption = "Embed OLE object...",
     .Hint = "Embed an OLE 2.0 object in the document (Netscape)", .Kind = K::EmbedOLE,
     .DialogCaption = "Embed OLE Object"},
    {.Menu = Link, .Name = "MakeLinkFromURL1", .Caption = "&Make Link From URL...",
     .Hint = "Make a hypertext link from the selected URL", .Kind = K::Question, .Record = R::Yes,
     .DialogCaption = "Make Link from URL", .Prompt = "Enter text:"},
    {.Menu = Link, .Name = "Base1", .Caption = "Base...", .Hint = "Specify an URL for this document",
     .Kind = K::Question, .Record = R::Yes, .DialogCaption = "Base URL", .Prompt = "Enter URL for this document:"},
    {.Menu = Link, .Name = "IsIndex1", .Caption = "IsInde&x...", .Hint = "Indicate that this is a searchable index",
     .Kind = K::Question, .Record = R::Yes, .DialogCaption = "ISINDEX", .Prompt = "Prompt text (empty for default):"},
    {.Menu = Link, .Name = "MailTo1", .Caption = "Mail &To...", .Hint = "Format the selected text as an e-mail link",
     .Kind = K::Question, .Record = R::Yes, .DialogCaption = "Mail To", .Prompt = "Enter e-mail address:"},
    Sep(Link),
    {.Menu = Link, .Name = "EndAnchorA1", .Caption = "End Anchor </A>", .Shortcut = "Ctrl+A",
     .Hint = "Insert an End Anchor tag", .Kind = K::Insert, .Record = R::Yes, .Start = "</A>"},

    // Entity
    {.Menu = Entity, .Name = "LessThanSymbol1", .Caption = "&Less Than Symbol",
     .Hint = "Insert the HTML entity for a \"<\" symbol", .Kind = K::Insert, .Record = R::Yes, .Start = "&lt;"},
    {.Menu = Entity, .Name = "GreaterThanSymbol1", .Caption = "&Greater Than Symbol",
     .Hint = "Insert the HTML entity for a \">\" symbol", .Kind = K::Insert, .Record = R::Yes, .Start = "&gt;"},
    {.Menu = Entity, .Name = "AmpersandSymbol1", .Caption = "&Ampersand Symbol",
     .Hint = "Insert the HTML entity for a \"&&\" symbol", .Kind = K::Insert, .Record = R::Yes, .Start = "&amp;"},
    {.Menu = Entity, .Name = "DoublequoteSymbol1", .Caption = "&Double-quote Symbol",
     .Hint = "Insert the HTML entity for a double-quote (\") symbol", .Kind = K::Insert, .Record = R::Yes,
     .Start = "&quot;"},
    {.Menu = Entity, .Name = "NonbreakingSpace1", .Caption = "&Non-breaking Space",
     .Hint = "Insert the HTML entity for a non-breaking space", .Kind = K::Insert, .Record = R::Yes, .Start = "&nbsp;"},
    {.Menu = Entity, .Name = "SoftHyphen1", .Caption = "Soft &Hyphen",
     .Hint = "Insert the HTML entity for a soft hyphen (HTML 3.0)", .Kind = K::Insert, .Record = R::Yes,
     .Start = "&shy;"},
    {.Menu = Entity, .Name = "Copyright1", .Caption = "&Copyright \xA9 ",
     .Hint = "Insert the HTML entity for a Copyright (\xA9) symbol", .Kind = K::Insert, .Record = R::Yes,
     .Start = "&copy;"},
    {.Menu = Entity, .Name = "Registered1", .Caption = "&Registered \xAE",
     .Hint = "Insert the HTML entity for a \"Registered\" (\xAE) symbol", .Kind = K::Insert, .Record = R::Yes,
     .Start = "&reg;"},
    Sep(Entity),
    {.Menu = Entity, .Name = "EntitybyCharacterValue1", .Caption = "&Entity by Character Value...",
     .Hint = "Insert an HTML character entity by specifying its value", .Kind = K::EntityByCharacterValue,
     .Record = R::Yes, .DialogCaption = "Entity by Character value", .Prompt = "Enter ASCII value:"},

    // Font
    {.Menu = Font, .Name = "FontSize1", .Caption = "&Font Size/Color...", .Hint = "Insert a font size tag (Netscape)",
     .Kind = K::FontDialog, .Record = R::Yes, .End = "</FONT>", .Element = "FONT"},
    {.Menu = Font, .Name = "BaseFontSize1", .Caption = "B&ase Font Size/Color...",
     .Hint = "Insert a base font size tag (Netscape)", .Kind = K::FontDialog, .Record = R::Yes, .End = "</BASEFONT>",
     .Element = "BASEFONT", .DialogCaption = "Base Font", .Prompt = "Enter size 1-7:"},
    {.Menu = Font, .Name = "FONT2", .Caption = "</FONT>", .Hint = "Insert an end font size tag (Netscape)",
     .Kind = K::Plain, .Start = "</FONT>"},
    {.Menu = Font, .Name = "BASEFONT1", .Caption = "</BASEFONT>", .Hint = "Insert an end base font size tag (Netscape)",
     .Kind = K::Plain, .Start = "</BASEFONT>"},
    Sep(Font),
    {.Menu = Font, .Name = "Bold1", .Caption = "&Bold", .Shortcut = "Ctrl+B", .Hint = "Bold font", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<B>", .End = "</B>"},
    {.Menu = Font, .Name = "Italic1", .Caption = "&Italic", .Shortcut = "Ctrl+I", .Hint = "Italic font",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<I>", .End = "</I>"},
    {.Menu = Font, .Name = "Underline1", .Caption = "Un&derline", .Hint = "Underline font (Not widely supported)",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<U>", .End = "</U>"},
    {.Menu = Font, .Name = "FixedWidth1", .Caption = "Fi&xed-Width", .Hint = "Fixed-width (teletype) font",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<TT>", .End = "</TT>"},
    {.Menu = Font, .Name = "Strikethrough1", .Caption = "Stri&kethrough",
     .Hint = "Format the selected text as Strikethough (HTML 3.0)", .Kind = K::Pair, .Record = R::Yes,
     .Start = "<STRIKE>", .End = "</STRIKE>"},
    {.Menu = Font, .Name = "Big1", .Caption = "Bi&g", .Hint = "Big font (HTML 3.0)", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<BIG>", .End = "</BIG>"},
    {.Menu = Font, .Name = "Small1", .Caption = "&Small", .Hint = "Small font (HTML 3.0)", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<SMALL>", .End = "</SMALL>"},
    {.Menu = Font, .Name = "Subscript1", .Caption = "S&ubscript", .Hint = "Subscript (HTML 3.0)", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<SUB>", .End = "</SUB>"},
    {.Menu = Font, .Name = "Superscript1", .Caption = "Su&perscript", .Hint = "Superscript (HTML 3.0)",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<SUP>", .End = "</SUP>"},

    // Style
    {.Menu = Style, .Name = "Heading1", .Caption = "&Heading", .Hint = "Heading Styles", .Kind = K::Submenu},
    {.Menu = Style, .Parent = "Heading1", .Name = "Style11", .Caption = "Style &1",
     .Hint = "Format the selected text as Heading Style 1 (Hold down Shift key for options.)", .Kind = K::Pair,
     .Record = R::Yes, .Flags = cfNewlineAfterTitle | cfShiftBlockDialog, .Start = "<H1>", .End = "</H1>",
     .Element = "H1", .DialogCaption = "Heading Style 1"},
    {.Menu = Style, .Parent = "Heading1", .Name = "Style21", .Caption = "Style &2",
     .Hint = "Format the selected text as Heading Style 2 (Hold down Shift key for options.)", .Kind = K::Pair,
     .Record = R::Yes, .Flags = cfNewlineAfterTitle | cfShiftBlockDialog, .Start = "<H2>", .End = "</H2>",
     .Element = "H2", .DialogCaption = "Heading Style 2"},
    {.Menu = Style, .Parent = "Heading1", .Name = "Style31", .Caption = "Style &3",
     .Hint = "Format the selected text as Heading Style 3 (Hold down Shift key for options.)", .Kind = K::Pair,
     .Record = R::Yes, .Flags = cfNewlineAfterTitle | cfShiftBlockDialog, .Start = "<H3>", .End = "</H3>",
     .Element = "H3", .DialogCaption = "Heading Style 3"},
    {.Menu = Style, .Parent = "Heading1", .Name = "Style41", .Caption = "Style &4", .Kind = K::Pair,
     .Record = R::Yes, .Flags = cfNewlineAfterTitle | cfShiftBlockDialog, .Start = "<H4>", .End = "</H4>",
     .Element = "H4", .DialogCaption = "Heading Style 4"},
    {.Menu = Style, .Parent = "Heading1", .Name = "Style51", .Caption = "Style &5", .Kind = K::Pair,
     .Record = R::Yes, .Flags = cfNewlineAfterTitle | cfShiftBlockDialog, .Start = "<H5>", .End = "</H5>",
     .Element = "H5", .DialogCaption = "Heading Style 5"},
    {.Menu = Style, .Parent = "Heading1", .Name = "Style61", .Caption = "Style &6", .Kind = K::Pair,
     .Record = R::Yes, .Flags = cfNewlineAfterTitle | cfShiftBlockDialog, .Start = "<H6>", .End = "</H6>",
     .Element = "H6", .DialogCaption = "Heading Style 6"},
    {.Menu = Style, .Name = "BlockQuote1", .Caption = "Block &Quote", .Hint = "Format the selected text as a Block Quote",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<BLOCKQUOTE>", .End = "</BLOCKQUOTE>"},
    {.Menu = Style, .Name = "Preformatted1", .Caption = "&Preformatted",
     .Hint = "Format the selected text as preformatted text", .Kind = K::Pair, .Record = R::Yes, .Start = "<PRE>",
     .End = "</PRE>"},
    {.Menu = Style, .Name = "Address1", .Caption = "&Address", .Hint = "Format the selected text as an address",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<ADDRESS>", .End = "</ADDRESS>"},
    Sep(Style),
    {.Menu = Style, .Name = "BLINK1", .Caption = "&BLINK", .Hint = "Indicates blinking text (Netscape)",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<BLINK>", .End = "</BLINK>"},
    {.Menu = Style, .Name = "EM1", .Caption = "&EM", .Shortcut = "Ctrl+E", .Hint = "Indicates emphasized text",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<EM>", .End = "</EM>"},
    {.Menu = Style, .Name = "STRONG1", .Caption = "&STRONG", .Shortcut = "Ctrl+G", .Hint = "Strong emphasis",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<STRONG>", .End = "</STRONG>"},
    {.Menu = Style, .Name = "CODE1", .Caption = "&CODE", .Hint = "Example of code", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<CODE>", .End = "</CODE>"},
    {.Menu = Style, .Name = "SAMP1", .Caption = "S&AMP", .Hint = "Sequence of literal characters", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<SAMP>", .End = "</SAMP>"},
    {.Menu = Style, .Name = "KBD1", .Caption = "&KBD", .Hint = "Keyboarded text", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<KBD>", .End = "</KBD>"},
    {.Menu = Style, .Name = "VAR1", .Caption = "&VAR", .Hint = "A variable name", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<VAR>", .End = "</VAR>"},
    {.Menu = Style, .Name = "DFN1", .Caption = "&DFN", .Hint = "Defining instance of a term (HTML 3.0)",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<DFN>", .End = "</DFN>"},
    {.Menu = Style, .Name = "CITE1", .Caption = "CI&TE", .Hint = "A citation", .Kind = K::Pair, .Record = R::Yes,
     .Start = "<CITE>", .End = "</CITE>"},
    {.Menu = Style, .Name = "Q1", .Caption = "Q", .Hint = "Short quotation (HTML 3.0)", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<Q>", .End = "</Q>"},
    {.Menu = Style, .Name = "AU1", .Caption = "A&U", .Hint = "Name of an author (HTML 3.0)", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<AU>", .End = "</AU>"},
    {.Menu = Style, .Name = "PERSON1", .Caption = "PE&RSON", .Hint = "Name of a person (HTML 3.0)", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<PERSON>", .End = "</PERSON>"},
    {.Menu = Style, .Name = "ACRONYM1", .Caption = "ACRON&YM", .Hint = "Indicates an acronym (HTML 3.0)",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<ACRONYM>", .End = "</ACRONYM>"},
    {.Menu = Style, .Name = "ABBREV1", .Caption = "ABBREV", .Hint = "Indicates an abbreviation (HTML 3.0)",
     .Kind = K::Pair, .Record = R::Yes, .Start = "<ABBREV>", .End = "</ABBREV>"},
    {.Menu = Style, .Name = "INS1", .Caption = "I&NS", .Hint = "Inserted text (HTML 3.0)", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<INS>", .End = "</INS>"},
    {.Menu = Style, .Name = "DEL1", .Caption = "DE&L", .Hint = "Deleted text (HTML 3.0)", .Kind = K::Pair,
     .Record = R::Yes, .Start = "<DEL>", .End = "</DEL>"},
};

std::string Quoted(std::string_view Text) { return "\"" + std::string(Text) + "\""; }

}  // namespace

std::span<const TMarkupMenuInfo> MarkupMenus() { return Menus; }

std::span<const TMarkupCommand> MarkupCommands() { return Cmds; }

const TMarkupCommand *FindMarkupCommand(std::string_view Name)
{
    if (Name.empty())
        return nullptr;
    for (const TMarkupCommand &Command : Cmds)
        if (Command.Name == Name)
            return &Command;
    return nullptr;
}

std::string CommandHandlerName(const TMarkupCommand &Command)
{
    if (Command.Kind == K::Separator || Command.Kind == K::Submenu || Command.Kind == K::Nothing)
        return {};
    if (!Command.Handler.empty())
        return std::string(Command.Handler);
    return std::string(Command.Name) + "Click";
}

TMarkupText CommandMarkup(const TMarkupCommand &Command, bool NewlineAfterTitle, bool NeverUseCENTER)
{
    TMarkupText Result;
    switch (Command.Kind) {
    case K::Pair:
        Result.IsPair = true;
        if ((Command.Flags & cfCenter) && !NeverUseCENTER) {
            Result.Start = Command.AltStart;
            Result.End = Command.AltEnd;
        } else {
            Result.Start = Command.Start;
            Result.End = Command.End;
        }
        if ((Command.Flags & cfNewlineAfterTitle) && NewlineAfterTitle)
            Result.End += '\n';
        break;
    case K::Insert:
    case K::Plain:
    case K::StandardOutline:
        Result.Start = Command.Start;
        break;
    default:
        break;
    }
    return Result;
}

std::optional<TMarkupText> ValueCommandMarkup(std::string_view Name, std::string_view Value)
{
    const std::string V(Value);
    if (Name == "Anchor1")
        return TMarkupText{true, "<A NAME=" + Quoted(V) + ">", "</A>"};
    if (Name == "Link2")
        return TMarkupText{true, "<A HREF=" + Quoted(V) + ">", "</A>"};
    if (Name == "MakeLinkFromURL1")
        // The selection (normally an address) lands between the two parts and becomes the HREF.
        return TMarkupText{true, "<A HREF=\"", "\">" + V + "</A>"};
    if (Name == "Base1")
        return TMarkupText{false, "<BASE HREF=" + Quoted(V) + ">", {}};
    if (Name == "IsIndex1")
        return TMarkupText{false, V.empty() ? std::string("<ISINDEX>") : "<ISINDEX PROMPT=" + Quoted(V) + ">", {}};
    if (Name == "MailTo1")
        return TMarkupText{true, "<A HREF=" + Quoted("mailto:" + V) + ">", "</A>"};
    if (Name == "EmbedOLEobjectNetscape1")
        return TMarkupText{false, EmbedMarkup(V, true), {}};
    return std::nullopt;
}

std::string EmbedMarkup(std::string_view ChosenPath, bool LowerName)
{
    const std::size_t Slash = ChosenPath.find_last_of('/');
    const std::string FileName(Slash == std::string_view::npos ? ChosenPath : ChosenPath.substr(Slash + 1));
    return "<EMBED SRC=" + Quoted(LowerName ? LowerAscii(FileName) : FileName) + ">";
}

std::string TagPairText(std::string_view Start, std::string_view Selected, std::string_view End, bool LowerCaseTags)
{
    return ApplyTagCase(std::string(Start) + std::string(Selected) + std::string(End), LowerCaseTags);
}

int CaretColumnAfterTagPair(int Column, std::string_view End)
{
    const int Length = static_cast<int>(End.size());
    return Column > Length ? Column - Length : Column;
}

std::string CurrentTimeText(std::string_view ShortDate, std::string_view LongTime, bool Midnight)
{
    if (Midnight)
        return std::string(ShortDate);
    return std::string(ShortDate) + " " + std::string(LongTime);
}
