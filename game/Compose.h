#pragma once

#include "GameClasses.h"
#include "fgd/Declarations.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace game {

// FGD declarations composed from a mod's game code, for the classes it links that a list does not
// declare: what an editor needs to place each, as far as the code tells it.
//
// - @SolidClass when the class takes its model from the map and is a brush entity (its Spawn(),
//   or a function that calls, sets the model from the entity's own and makes it collide or move
//   as a brush, or its name is func_ or trigger_ ...), else @PointClass;
// - base(...): the list's @BaseClass classes whose every key the class uses (a key its
//   KeyValue() chain reads, or an engine field its code uses: targetname when it reads
//   pev->targetname), that bring no flags, model or size;
// - size() from the constant hull its Spawn() sets, studio() or sprite() from the model it sets
//   when the map names none;
// - a key-value for each key its KeyValue() chain reads and keeps that no base brings, typed by
//   how the code stores it, with the default its Spawn() sets when the key is left out;
// - spawnflags for the bits its member functions, and its bases', test (the constant's name made
//   readable as the label);
// - the class name made readable as the description.
//
// Left out: a class the list declares, in any case (the editors compare class names so), and a
// class only the code makes: one it creates by its name (CBaseEntity::Create( "grenade" ),
// pev->classname = MAKE_STRING( "beam" )) whose own code reads no key, and the player.

struct ComposedClass {
    QString entity;
    QString cppClass;
    QStringList lines; // the declaration as FGD lines
};

// The declarations for the classes game links that declared (a list's own and its included
// files') does not; game read with SourceDetail::ForComposing. In the order of the names.
QList<ComposedClass> composeClasses(const GameClasses& game,
                                    const QList<fgd::Declaration>& declared);

} // namespace game
