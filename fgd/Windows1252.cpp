#include "Windows1252.h"

#include <QList>
#include <QStringEncoder>

#include <array>

namespace fgd {

namespace {

// The length of the code point at text[i]: 2 for a surrogate pair, else 1 (a lone surrogate
// counts as one code point, as the encoders read it).
qsizetype codePointLength(QStringView text, qsizetype i) {
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

qsizetype codePointCount(QStringView text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); i += codePointLength(text, i))
        ++count;
    return count;
}

} // namespace

namespace detail {

namespace {
// The characters of bytes 0x80..0x9F. The five bytes Windows-1252 leaves undefined stand for
// the C1 control of the same number, as codec libraries have it, so every byte has a character
// and back.
constexpr std::array<char16_t, 32> HighHalf{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Whether a character is a different byte in Windows-1252 than in Latin-1 (or has none).
inline unsigned differsFromLatin1(char16_t c) {
    return (c > 0xFF) | (char16_t(c - 0x80) < 0x20);
}
} // namespace

bool sameInLatin1(QStringView text) {
    const char16_t* chars = text.utf16();
    unsigned differs = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        differs |= differsFromLatin1(chars[i]);
    return !differs;
}

bool narrowIfSameInLatin1(QStringView text, char* out) {
    // One pass without early exit, so the compiler can handle many characters per instruction.
    const char16_t* chars = text.utf16();
    unsigned differs = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        out[i] = char(chars[i]);
        differs |= differsFromLatin1(chars[i]);
    }
    return !differs;
}

QByteArray toWindows1252ByTable(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (char32_t cp : text.toUcs4()) {
        char byte = '?';
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            byte = static_cast<char>(cp);
        } else {
            for (std::size_t i = 0; i < HighHalf.size(); ++i) {
                if (HighHalf[i] == cp) {
                    byte = static_cast<char>(0x80 + i);
                    break;
                }
            }
        }
        out.append(byte);
    }
    return out;
}

} // namespace detail

QString fromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = byte >= 0x80 && byte < 0xA0 ? detail::HighHalf[byte - 0x80] : char16_t(byte);
    }
    return text;
}

QByteArray toWindows1252(QStringView text) {
    // Below U+0100, Windows-1252 and Latin-1 differ only at U+0080..U+009F; text without those
    // and without anything higher, which is nearly every FGD file, converts byte for byte.
    const bool latin1Will = detail::sameInLatin1(text);
    if (latin1Will)
        return text.toLatin1();

    // Qt's encoder marks a character it cannot represent with a substitute byte that is also a
    // valid character (0x1A), so the text is encoded twice, once with that substitute and once
    // with 0x00, and positions where the two disagree are the unrepresentable characters.
    // Windows-1252 is single-byte, so both results hold exactly one byte per code point; where
    // they do not (the encoder swallows a lone surrogate at the end), the table takes over.
    QStringEncoder marked("windows-1252");
    QStringEncoder nulled("windows-1252", QStringConverter::Flag::ConvertInvalidToNull);
    if (!marked.isValid() || !nulled.isValid())
        return detail::toWindows1252ByTable(text);

    QByteArray out = marked.encode(text);
    const QByteArray other = nulled.encode(text);
    if (out.size() != other.size() || out.size() != codePointCount(text))
        return detail::toWindows1252ByTable(text);
    if (!marked.hasError())
        return out;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i] != other[i])
            out[i] = '?';
    }
    return out;
}

QString unsavableCharacters(QStringView text) {
    if (detail::sameInLatin1(text))
        return QString();
    // One byte for each code point, '?' where a character has none.
    const QByteArray bytes = toWindows1252(text);
    QString lost;
    qsizetype byte = 0;
    for (qsizetype i = 0; i < text.size(); ++byte) {
        const QStringView character = text.sliced(i, codePointLength(text, i));
        i += character.size();
        if (bytes.at(byte) == '?' && character != u"?" && !lost.contains(character))
            lost += character;
    }
    return lost;
}

} // namespace fgd
