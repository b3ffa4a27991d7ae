#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The level editors the check speaks for. Each reads FGD files its own way; what each reads
// was taken from what could be read of it:
// - Hammer 3.x, Valve's editor after Worldcraft: the FGD reader Valve published with its later
//   SDK (fgdlib), which the GoldSrc editor's descends from. A base class must be declared above
//   the class that names it; a key-value declared twice keeps the later one (choices and flags
//   joined), and with two types the first, with a message; a class declared twice keeps the
//   later.
// - J.A.C.K., written to read Hammer's files: as Hammer, and besides a help text after a class's
//   description and after a choice's label, which its own documentation and FGDs use.
// - TrenchBroom: its FgdParser. It reads model expressions in { } in model(), studio() and the
//   like; it skips the later of two key-values of one name, keeps the later of two classes of
//   one name and kind, and warns of bare numbers where it reads texts.

// What the findings say of an editor, and where in its reader that was read (Valve's fgdlib of
// the Source SDK 2013: gamedata.cpp, gdclass.cpp, gdvar.cpp, tier1 tokenreader.cpp;
// TrenchBroom's FgdParser.cpp, EntityDefinitionParser.cpp and EntityDefinitionClassInfo.cpp).
// clang-format off
// | finding          | Hammer (and J.A.C.K.)                            | TrenchBroom                        |
// |------------------|--------------------------------------------------|------------------------------------|
// | key-twice,       | keeps the later (AddVariable replaces it; flags  | keeps the first                    |
// |   same type      | and choices merged)                              | (addPropertyDefinition)            |
// | key-twice,       | reports "multiply defined with different types"  | keeps the first, logs "Skipping    |
// |   other type     | (GDError, result unused), reads on and keeps the | duplicate property definition"     |
// |                  | first (AddVariable returns false); see below     |                                    |
// | key names        | compared without case (VarForName, strcmpi)      | compared with case                 |
// | byte-order-mark  | the word ends at the mark's first byte, then "@" | the mark is part of the first word:|
// |                  | is expected: the file is refused                 | "Unknown entity definition class"  |
// | utf8-text        | each byte a character of the code page           | read as UTF-8                      |
// | unknown-type     | "is not a valid variable type": the class, and   | an unknown type, read as text      |
// |                  | so the file, is refused (InitFromTokens FALSE)   | (parseUnknownPropertyDefinition)   |
// | helper-twice     | -                                                | "Found multiple base/model/size    |
// |                  |                                                  | properties": the last one holds    |
// | default-type     | -                                                | "Found numeric default value for   |
// |                  |                                                  | string property", "Unquoted float  |
// |                  |                                                  | default value"                     |
// | undeclared-base  | "undefined base class" (ParseBase, ClassForName  | "No matching super class found",   |
// |                  | with case, at the base's use): the class is      | logged as an error; the class      |
// |                  | skipped to the next @                            | loads without that base            |
// | base-below       | as above: the base is looked up among the        | read: bases are resolved once the  |
// |                  | classes read so far                              | whole file is read                 |
// | base-cycle       | as above: one base of a circle is never above    | "hierarchy contains a cycle"       |
// | class-twice      | the later takes the earlier's place              | "Duplicate class info": the last   |
// |                  | (ClassForName, InsertAfter, Remove)              | of each kind (point, solid) kept   |
// | mapsize          | read (ParseMapSize)                              | "Unknown entity definition class": |
// |                  |                                                  | the file is refused                |
// clang-format on
// Below: every message GDError writes counts as an error of the file, and GameData::Load ends
// with FALSE when there was one, though it has read every class it could. What the editor does
// with that FALSE is not in the published source; the findings take such a file as loaded, the
// class or key-value the message names as dropped. An undefined base class is such a message
// ("undefined base class", ParseBase): the class is skipped to the next @. A bare whole number
// is taken where a text is expected (DoGetToken), so a string key's default may be one.
// So undeclared-base and base-below are warnings that say Hammer drops the class: the whole file
// is not known to be refused, and Valve's own Team Fortress Classic and Condition Zero files
// name bases that are declared in another case. Not read against a source: J.A.C.K.'s help
// texts (its reader is not published).

namespace fgd {

namespace Editor {
enum : unsigned {
    Hammer = 1u << 0,
    Jack = 1u << 1,
    TrenchBroom = 1u << 2,
};
} // namespace Editor

// A set of editors, as bits of Editor.
using Editors = unsigned;
inline constexpr Editors AllEditors = Editor::Hammer | Editor::Jack | Editor::TrenchBroom;

// The editors by name, "Hammer, J.A.C.K. and TrenchBroom"; "no editor" for none.
QString editorNames(Editors editors);

// Reads a list of editors as a user types it, "hammer,jack,trenchbroom" or "J.A.C.K. TB": names
// separated by commas or spaces, in any case, dots and dashes ignored, "all" for every one.
// Nothing when a name is none of them.
std::optional<Editors> readEditorNames(QStringView text);

// The names readEditorNames takes, as --help lists them.
inline constexpr QStringView EditorNamesHelp = u"hammer, jack, trenchbroom (or all)";

} // namespace fgd
