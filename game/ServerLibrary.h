#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace game {

// The class names a Half-Life server library links. Every LINK_ENTITY_TO_CLASS(name, Class) in
// a mod's game code compiles to an exported C function called name, and the engine spawns an
// entity by looking its class name up among the library's exports. The library is read as
// bytes, never loaded: a Windows DLL (PE, 32-bit as GoldSrc ships it, or 64-bit) by its export
// table, a Linux shared object (ELF, 32- or 64-bit, little-endian) by the defined function
// symbols of its dynamic symbol table. Only libraries for x86 and x86-64 are read, the machines
// the engine runs on.
//
// What is kept of the exported names: C identifiers (a C++ name is mangled, and none is an
// entity) other than the engine's own entry points (GiveFnptrsToDll, GetEntityAPI, ...). A
// Linux library exports every C function it defines, not only the entities, so of its names only
// those that begin with a lowercase letter are kept, as every class name the games link does,
// and the C helpers they share with the player movement code (PM_Move, VectorMA) do not.
struct LibraryNames {
    bool ok = false;
    QStringList names; // sorted, each once
    QString error;     // why the bytes are not a library that can be read, for a message
};
LibraryNames libraryClassNames(QByteArrayView bytes);

// Whether the bytes begin as a PE or an ELF file does.
bool looksLikeLibrary(QByteArrayView bytes);

} // namespace game
