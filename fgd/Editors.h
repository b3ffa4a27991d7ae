#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The level editors the check speaks for. Each reads FGD files its own way; what each reads
// was taken from what could be read of it:
// - Hammer 3.x, Valve's editor after Worldcraft: the FGD reader Valve published with its later
//   SDK (fgdlib), which the GoldSrc editor's descends from. A base class must be declared above
//   the class that names it; a key-value declared twice keeps the later one (choices and flags
//   joined), and with two types the file is refused; a class declared twice keeps the later.
// - J.A.C.K., written to read Hammer's files: as Hammer, and besides a help text after a class's
//   description and after a choice's label, which its own documentation and FGDs use.
// - TrenchBroom: its FgdParser. It reads model expressions in { } in model(), studio() and the
//   like; it skips the later of two key-values of one name, keeps the later of two classes of
//   one name and kind, and warns of bare numbers where it reads texts.

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
