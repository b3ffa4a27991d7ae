#pragma once

#include "fgd/Declarations.h"
#include "fgd/ListCheck.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace model {

// Where the files an opened list @includes are found, and what they declare: the editors that
// read @include (Hammer, J.A.C.K., TrenchBroom) take the file from the folder of the one that
// names it, and so does the check's reader from here.

// The class names declared in the FGD file at path and in the files it @includes, each from the
// folder of the file that names it, or nothing when one of them cannot be read, and why ("it
// does not exist", or "\"base.fgd\", which it includes, does not exist").
fgd::ListCheck::Included classesDeclaredIn(const QString& path);

// The reader the check asks about each @include of a list that came from a file in folder. For a
// list from no file (folder empty), no included file can be read.
fgd::ListCheck::IncludeReader includedClassesFrom(const QString& folder);

// The declarations lines hold, then those of the files they @include, each from the folder of
// the file that names it (lines came from a file in folder), their own @includes followed, each
// file once; with why each file that could not be read was not.
struct DeclarationsRead {
    QList<fgd::Declaration> declarations;
    QStringList unread;
};
DeclarationsRead declarationsWithIncludes(const QStringList& lines, const QString& folder);

} // namespace model
