#pragma once

#include <array>

// Every kind of finding the check reports, once: its id, which reports and the tools that read
// them group findings by, and which stays when a reason's wording changes; the severity it has
// unless an editor reads the construct otherwise (the finding then says which editors); a
// one-line summary; and a few words on what the editors do, for reports that describe their
// rules (SARIF).

namespace fgd {

// How serious a problem is, in order. An error: an editor refuses the file, or reads something
// other than what is written. A warning: every editor loads it, but it cannot work as meant. A
// note: it works, but something may be missing or not as the game has it; a note never fails a
// check.
enum class Severity { None, Note, Warning, Error };

struct Rule {
    const char* id;
    Severity severity;
    const char* summary;
    const char* help;
};

namespace Rules {

// What a line holds, on its own.
inline constexpr Rule LineBreak{"line-break", Severity::Error, "A line holds a line break",
                                "The list keeps one line of the file per row; a line break inside "
                                "a row would split it in two when the file is saved."};
inline constexpr Rule ControlCharacter{
    "control-character", Severity::Error, "A line holds an invisible control character",
    "The editors' readers stop or misread at control characters; retype the line."};
inline constexpr Rule UnsavableCharacter{
    "unsavable-character", Severity::Error, "A character Windows-1252 lacks",
    "FGD files are saved in Windows-1252; a character it lacks would be saved as a question mark."};

// The tokens.
inline constexpr Rule StraySlash{"stray-slash", Severity::Error, "A single / outside a comment",
                                 "A comment starts with //; the editors refuse a single slash."};
inline constexpr Rule Braces{"braces", Severity::Error, "Braces outside a model expression",
                             "Only TrenchBroom reads { } and only as a model expression; Hammer "
                             "and J.A.C.K. refuse the file."};
inline constexpr Rule UnclosedQuote{
    "unclosed-quote", Severity::Error, "A text's closing double quote is missing",
    "A quoted text ends on its own line; the editors read on into the lines below."};
inline constexpr Rule BackslashBeforeQuote{
    "backslash-before-quote", Severity::Error, "A backslash right before a closing quote",
    "Some editors read \\\" as a quote inside the text and go on past it."};
inline constexpr Rule Utf8Text{
    "utf8-text", Severity::Warning, "A text written in UTF-8",
    "Hammer and J.A.C.K. read FGD files as Windows-1252 and show each letter beyond ASCII as two "
    "or three odd characters; TrenchBroom reads UTF-8."};
inline constexpr Rule ByteOrderMark{
    "byte-order-mark", Severity::Error, "The file starts with a UTF-8 byte order mark",
    "Hammer and TrenchBroom do not skip the mark and refuse the file; save it without one."};

// Items and declarations.
inline constexpr Rule TextAfterBody{"text-after-body", Severity::Error,
                                    "Text after a declaration's closing ]",
                                    "The editors expect the next @ declaration after a ]."};
inline constexpr Rule UnopenedBracket{
    "unopened-bracket", Severity::Error, "A ] that closes no body",
    "The body above it is already closed; the editors refuse the stray ]."};
inline constexpr Rule NotADeclaration{"not-a-declaration", Severity::Error,
                                      "A line that starts no declaration",
                                      "Outside a declaration a line must start with @PointClass, "
                                      "@SolidClass, @BaseClass or @include, or be a // comment."};
inline constexpr Rule IncludeName{"include-name", Severity::Error,
                                  "@include without a file name in quotes",
                                  "@include takes one file name in double quotes."};
inline constexpr Rule Mapsize{"mapsize", Severity::Error, "@mapsize, which TrenchBroom refuses",
                              "Only some editors read @mapsize; TrenchBroom refuses the file."};
inline constexpr Rule UnknownClassKind{"unknown-class-kind", Severity::Error,
                                       "An @ word that is no class kind",
                                       "The Half-Life editors know @PointClass, @SolidClass and "
                                       "@BaseClass; other kinds make them refuse the file."};
inline constexpr Rule ClassNameMissing{"class-name-missing", Severity::Error,
                                       "A declaration without = and a class name",
                                       "A declaration names its class after =."};
inline constexpr Rule UnexpectedBeforeEquals{
    "unexpected-before-equals", Severity::Error, "Something other than a helper before the =",
    "Only helpers such as base(...) and size(...) stand between the class kind and the =."};

// Helpers.
inline constexpr Rule SolidSize{
    "solid-size", Severity::Warning, "size() on a @SolidClass",
    "A solid takes its size from its brushes; the editors ignore size() on it."};
inline constexpr Rule SolidModel{
    "solid-model", Severity::Warning, "A model helper on a @SolidClass",
    "A solid is drawn with its brushes; the editors show no model for it."};
inline constexpr Rule HelperTwice{"helper-twice", Severity::Warning, "A helper given twice",
                                  "The editors keep only the last size() and color(); TrenchBroom "
                                  "keeps only the last base() and model as well."};
inline constexpr Rule HelperArguments{
    "helper-arguments", Severity::Error, "A helper's arguments are malformed",
    "The editors refuse a helper whose arguments they cannot read."};
inline constexpr Rule UnclosedParenthesis{
    "unclosed-parenthesis", Severity::Error, "A helper's parenthesis is not closed",
    "The ( after a helper's name must be closed before the = or the next declaration."};
inline constexpr Rule HelperParentheses{"helper-parentheses", Severity::Error,
                                        "A helper without its parentheses",
                                        "A helper's values stand in parentheses after its name."};
inline constexpr Rule QuoteInClassName{
    "quote-in-class-name", Severity::Error, "A quote inside a class name",
    "Some editors start a text at the quote and read the rest of the file wrongly."};
inline constexpr Rule BaseArguments{
    "base-arguments", Severity::Error, "base() that is no list of class names",
    "base() lists class names separated by commas, like base(Targetname, Angles)."};
inline constexpr Rule ColorArguments{
    "color-arguments", Severity::Error, "color() without three numbers from 0 to 255",
    "color() takes three numbers from 0 to 255, like color(255 128 0)."};
inline constexpr Rule FileArgument{
    "file-argument", Severity::Error, "A model or sprite helper without one file name",
    "studio(), sprite() and the like take one file name in double quotes, or none."};
inline constexpr Rule UnknownHelper{
    "unknown-helper", Severity::Warning, "A helper no editor knows",
    "The editors skip a helper they do not know, so it does nothing."};
inline constexpr Rule SizeArguments{
    "size-arguments", Severity::Error, "size() that is not one or two points",
    "size() holds one or two groups of three numbers, separated by a comma."};

// Class names and descriptions.
inline constexpr Rule ClassNameEmpty{"class-name-empty", Severity::Error, "An empty class name",
                                     "The class name after = must not be empty."};
inline constexpr Rule QuotedClassName{"quoted-class-name", Severity::Error,
                                      "A class name in double quotes",
                                      "The editors refuse a class name written as a quoted text."};
inline constexpr Rule NumericClassName{"numeric-class-name", Severity::Error,
                                       "A class name that is a number",
                                       "The editors refuse a class name that is a number."};
inline constexpr Rule ClassNameCharacters{"class-name-characters", Severity::Error,
                                          "A class name with characters the editors refuse",
                                          "A class name may use only letters, digits and _."};
inline constexpr Rule UnlinkableClassName{
    "unlinkable-class-name", Severity::Warning, "A class name no game code can link",
    "Game code links classes by C++ identifiers; a name that cannot be one never spawns."};
inline constexpr Rule DescriptionQuotes{"description-quotes", Severity::Error,
                                        "A description without double quotes",
                                        "The description after : is a text in double quotes."};
inline constexpr Rule DescriptionLength{
    "description-length", Severity::Error, "A description longer than the editors read",
    "The editors refuse a description longer than their buffer."};
inline constexpr Rule DescriptionHelpText{
    "description-help-text", Severity::Error, "A help text after a class's description",
    "Only J.A.C.K. reads a second text after the description; the other editors refuse the file."};
inline constexpr Rule TextAfterDescription{
    "text-after-description", Severity::Error, "Unexpected text after the description",
    "Only a help text (for J.A.C.K.) or the [ ] body may follow the description."};
inline constexpr Rule BodyMissing{"body-missing", Severity::Error,
                                  "A declaration without a [ ] body",
                                  "Every declaration ends with a [ ] body, even an empty one."};
inline constexpr Rule BodyUnclosed{
    "body-unclosed", Severity::Error, "A [ ] body that is not closed",
    "A body must be closed with ] before the next declaration and the end of the file."};

// Key-values, choices and flags.
inline constexpr Rule DefaultColon{
    "default-colon", Severity::Error,
    "A default value without its :", "A default after the label needs its own : before it."};
inline constexpr Rule KeyValueShape{
    "key-value-shape", Severity::Error, "A key-value that is not name(type) : \"Label\"",
    "A key-value reads name(type), then : \"Label\", a default and a help text, each after a :."};
inline constexpr Rule KeyNameCharacters{"key-name-characters", Severity::Warning,
                                        "A key name no game code reads",
                                        "Game code reads key names made of letters, digits and _."};
inline constexpr Rule UnknownType{
    "unknown-type", Severity::Error, "A key-value type no editor knows",
    "Hammer refuses an unknown type; TrenchBroom reads the value as a text."};
inline constexpr Rule DefaultValue{
    "default-value", Severity::Error, "A default that is neither a number nor a text",
    "The default after the label is a number or a text in double quotes."};
inline constexpr Rule DefaultChoice{
    "default-choice", Severity::Warning, "A default that no choice names",
    "A new entity starts with a value no choice in the list names."};
inline constexpr Rule DefaultType{
    "default-type", Severity::Warning, "A default written otherwise than its type reads",
    "The editors read a bare number for a text, or cut a decimal for an integer."};
inline constexpr Rule KeyTwice{"key-twice", Severity::Warning,
                               "A key-value declared twice in a class",
                               "Hammer keeps the later declaration, TrenchBroom the first."};
inline constexpr Rule LabelQuotes{"label-quotes", Severity::Error, "A label without double quotes",
                                  "The label after : is a text in double quotes."};
inline constexpr Rule InputOutputShape{"input-output-shape", Severity::Error,
                                       "An input or output that is not input Name(type)",
                                       "An input or output reads input Name(type) : \"Label\"."};
inline constexpr Rule ChoicesShape{"choices-shape", Severity::Error,
                                   "A choice that is not value : \"Label\"",
                                   "Each choice is a value, : and a label in double quotes."};
inline constexpr Rule ChoiceHelpText{
    "choice-help-text", Severity::Error, "A help text after a choice's label",
    "Only J.A.C.K. reads a help text after a choice's label; the other editors refuse the file."};
inline constexpr Rule FlagsShape{
    "flags-shape", Severity::Error, "A flag that is not number : \"Label\" : default",
    "Each flag is a number, : and a label in double quotes, and a default of 0 or 1."};
inline constexpr Rule FlagBit{
    "flag-bit", Severity::Warning, "A flag number that is not one bit",
    "A flag's number must be 1, 2, 4, 8 and so on to set one flag of its own."};
inline constexpr Rule FlagRange{"flag-range", Severity::Warning, "A flag the editors cannot show",
                                "The editors show 24 flags; a higher one cannot be set in them."};

// Across the list.
inline constexpr Rule UndeclaredBase{"undeclared-base", Severity::Warning,
                                     "A base class declared nowhere",
                                     "The entity gets none of the base's key-values: TrenchBroom "
                                     "logs an error, Hammer drops the class."};
inline constexpr Rule BaseCycle{
    "base-cycle", Severity::Error, "A class that is its own base",
    "Hammer refuses the file; TrenchBroom drops the base and logs an error."};
inline constexpr Rule BaseBelow{"base-below", Severity::Warning,
                                "A base class declared only below its use",
                                "Hammer reads a base from the declarations above it and drops the "
                                "class; TrenchBroom reads it."};
inline constexpr Rule ClassTwice{
    "class-twice", Severity::Warning, "A class declared twice",
    "The editors keep the later declaration and drop the earlier one."};
inline constexpr Rule GameUnlinked{"game-unlinked", Severity::Warning,
                                   "A class the game's code never links",
                                   "The editor shows the entity, but the game never spawns it."};
inline constexpr Rule KeyUnread{
    "key-unread", Severity::Warning, "A key-value no code of the class reads",
    "The class's KeyValue(), and those it passes keys on to, never compare this key's name, and "
    "the engine does not fill it: a value a mapper sets does nothing in the game."};
inline constexpr Rule KeyCase{
    "key-case", Severity::Warning, "A key-value the code reads only in another case",
    "KeyValue() compares key names in their case (FStrEq, strcmp): the key as declared never "
    "reaches the code that reads it."};
inline constexpr Rule KeyUndeclared{
    "key-undeclared", Severity::Note, "A key the class's code reads that its declaration lacks",
    "The class's own KeyValue() reads this key, but the declaration does not offer it: a mapper "
    "can set it only by typing the key by hand."};
inline constexpr Rule ModelDiffers{
    "model-differs", Severity::Warning, "A model other than the one the game gives the class",
    "The editor shows the declaration's studio() or model(), but the class's Spawn() gives it "
    "another model when the map names none: the map looks other than the game."};
inline constexpr Rule SizeDiffers{
    "size-differs", Severity::Note, "A size() box that does not hold the class's hull",
    "The class's Spawn() gives it a constant hull that the size() box is smaller than or "
    "crosses: the editor's box hides where the entity will stand or get stuck."};
inline constexpr Rule IncludeUnread{
    "include-unread", Severity::Warning, "An @include that cannot be read",
    "Until the included file can be read, no base class is checked."};
inline constexpr Rule WrittenFor{"written-for", Severity::Warning, "A file written for one editor",
                                 "The file uses what only one editor reads; the others refuse it, "
                                 "and the marks speak for that editor."};

// Every rule, for reports that list them.
inline constexpr std::array All{&LineBreak,
                                &ControlCharacter,
                                &UnsavableCharacter,
                                &StraySlash,
                                &Braces,
                                &UnclosedQuote,
                                &BackslashBeforeQuote,
                                &Utf8Text,
                                &ByteOrderMark,
                                &TextAfterBody,
                                &UnopenedBracket,
                                &NotADeclaration,
                                &IncludeName,
                                &Mapsize,
                                &UnknownClassKind,
                                &ClassNameMissing,
                                &UnexpectedBeforeEquals,
                                &SolidSize,
                                &SolidModel,
                                &HelperTwice,
                                &HelperArguments,
                                &UnclosedParenthesis,
                                &HelperParentheses,
                                &QuoteInClassName,
                                &BaseArguments,
                                &ColorArguments,
                                &FileArgument,
                                &UnknownHelper,
                                &SizeArguments,
                                &ClassNameEmpty,
                                &QuotedClassName,
                                &NumericClassName,
                                &ClassNameCharacters,
                                &UnlinkableClassName,
                                &DescriptionQuotes,
                                &DescriptionLength,
                                &DescriptionHelpText,
                                &TextAfterDescription,
                                &BodyMissing,
                                &BodyUnclosed,
                                &DefaultColon,
                                &KeyValueShape,
                                &KeyNameCharacters,
                                &UnknownType,
                                &DefaultValue,
                                &DefaultChoice,
                                &DefaultType,
                                &KeyTwice,
                                &LabelQuotes,
                                &InputOutputShape,
                                &ChoicesShape,
                                &ChoiceHelpText,
                                &FlagsShape,
                                &FlagBit,
                                &FlagRange,
                                &UndeclaredBase,
                                &BaseCycle,
                                &BaseBelow,
                                &ClassTwice,
                                &GameUnlinked,
                                &KeyUnread,
                                &KeyCase,
                                &KeyUndeclared,
                                &ModelDiffers,
                                &SizeDiffers,
                                &IncludeUnread,
                                &WrittenFor};

} // namespace Rules

} // namespace fgd
