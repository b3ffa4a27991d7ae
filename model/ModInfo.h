#pragma once

#include <QString>

namespace model {

// Who made the definitions, for which mod and version: the header of a saved file.
struct ModInfo {
    QString Author;
    QString ModName;
    QString ModVersion;

    // Fills each empty field with its default, in the order Author, ModName, ModVersion.
    // The defaults stay in place for the rest of the run.
    void applyDefaults();

    bool operator==(const ModInfo&) const = default;
};

inline constexpr const char* DefaultAuthor = "Something Tarvok Made";
inline constexpr const char* DefaultModName = "Unnamed Mod";
inline constexpr const char* DefaultModVersion = "0.0";

} // namespace model
