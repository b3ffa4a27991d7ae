#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace fgd {

// Converts text to Windows-1252, the 8-bit code page the game's level editors read.
// Each code point that Windows-1252 cannot represent becomes one '?'.
QByteArray toWindows1252(QStringView text);

// Reads Windows-1252 bytes as text: the exact inverse of toWindows1252 for every byte.
QString fromWindows1252(QByteArrayView bytes);

// The characters of text that Windows-1252 lacks, each once, in the order they first occur:
// those that saving would turn into '?'.
QString unsavableCharacters(QStringView text);

namespace detail {
// True when every character of text is the same byte in Windows-1252 as in Latin-1.
bool sameInLatin1(QStringView text);
// Writes text as one byte per character to out, and returns sameInLatin1(text): only then are
// the bytes its Windows-1252 form.
bool narrowIfSameInLatin1(QStringView text, char* out);

// The same conversion from a fixed table, for Qt builds whose codec library lacks Windows-1252.
QByteArray toWindows1252ByTable(QStringView text);
} // namespace detail

} // namespace fgd
