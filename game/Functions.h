#pragma once

#include <QString>
#include <QStringView>

#include <functional>

namespace game {

// The functions a text of game code (kept as SourceScan keeps it) defines with a body: a member
// written out of line (void CFoo::Spawn( void ) { ... }) or in its class's body, or a free one.

struct FunctionDefinition {
    QStringView name;
    QString cppClass;   // CFoo of CFoo::Spawn, or the class whose body it is written in; empty
                        // for a free function
    qsizetype open = 0; // the ( of its parameters
    qsizetype body = 0; // its {
    qsizetype end = 0;  // its closing }
    int line = 0;       // of its name, from 1
};

// Calls found for each definition of a function wanted(name) asks for, in the order written.
void forEachFunction(const QString& code, const std::function<bool(QStringView)>& wanted,
                     const std::function<void(const FunctionDefinition&)>& found);

} // namespace game
