#include "ServerLibrary.h"

#include "fgd/Vocabulary.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace game {

namespace {

// Little-endian fields read with their bounds checked: a damaged file gives no value, never a
// read past its end.
class Bytes {
public:
    explicit Bytes(QByteArrayView bytes)
        : m_bytes(bytes) {}
    qint64 size() const { return m_bytes.size(); }
    bool has(quint64 offset, quint64 length) const {
        return offset <= quint64(size()) && length <= quint64(size()) - offset;
    }
    std::optional<quint64> number(quint64 offset, int width) const {
        if (!has(offset, quint64(width)))
            return std::nullopt;
        quint64 value = 0;
        for (int i = width - 1; i >= 0; --i)
            value = value << 8 | quint8(m_bytes[qsizetype(offset) + i]);
        return value;
    }
    // A NUL-terminated name, or nothing when it runs past the end (or is absurdly long).
    std::optional<QByteArrayView> name(quint64 offset) const {
        if (!has(offset, 0))
            return std::nullopt;
        const qsizetype start = qsizetype(offset);
        const qsizetype limit = std::min<qsizetype>(m_bytes.size(), start + 4096);
        for (qsizetype i = start; i < limit; ++i) {
            if (m_bytes[i] == '\0')
                return m_bytes.sliced(start, i - start);
        }
        return std::nullopt;
    }

private:
    QByteArrayView m_bytes;
};

// The functions the engine itself asks a server library for.
bool isEngineEntryPoint(QByteArrayView name) {
    // In byte order, for a binary search (this runs for every exported name).
    static constexpr std::array<std::string_view, 16> entryPoints = {"DllEntryPoint",
                                                                     "DllGetVersion",
                                                                     "DllMain",
                                                                     "GetEngineFunctions",
                                                                     "GetEngineFunctions_Post",
                                                                     "GetEntityAPI",
                                                                     "GetEntityAPI2",
                                                                     "GetEntityAPI2_Post",
                                                                     "GetNewDLLFunctions",
                                                                     "GetNewDLLFunctions_Post",
                                                                     "GiveFnptrsToDll",
                                                                     "Meta_Attach",
                                                                     "Meta_Detach",
                                                                     "Meta_Init",
                                                                     "Meta_Query",
                                                                     "Server_GetBlendingInterface"};
    return std::binary_search(entryPoints.begin(), entryPoints.end(),
                              std::string_view(name.data(), size_t(name.size())));
}

// A C function's own name: an identifier that does not begin with _, which the compiler and
// the C library keep for themselves (_DllMainCRTStartup, _init).
bool isFunctionName(QByteArrayView name) {
    return fgd::isIdentifier(QLatin1StringView(name)) && name.front() != '_' &&
           !(name.front() >= '0' && name.front() <= '9');
}

LibraryNames failed(const QString& error) {
    return {false, {}, error};
}

// The names found, sorted and each once (as bytes: the names are ASCII, so the order is that
// of the texts).
LibraryNames named(QList<QByteArrayView> found) {
    // A PE's export names are sorted already: the loader looks them up by a binary search.
    if (!std::is_sorted(found.cbegin(), found.cend()))
        std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    QStringList names;
    names.reserve(found.size());
    for (const QByteArrayView name : std::as_const(found))
        names.append(QString::fromLatin1(name));
    return {true, names, {}};
}

const QString Damaged = QStringLiteral("the library is damaged: %1");

LibraryNames readPe(const Bytes& file) {
    const auto peOffset = file.number(0x3C, 4);
    if (!peOffset || file.number(*peOffset, 4) != 0x00004550) // "PE\0\0"
        return failed(Damaged.arg(QStringLiteral("its PE header is missing")));
    const quint64 coff = *peOffset + 4;
    const auto machine = file.number(coff, 2);
    const auto sections = file.number(coff + 2, 2);
    const auto optionalSize = file.number(coff + 16, 2);
    if (!machine || !sections || !optionalSize)
        return failed(Damaged.arg(QStringLiteral("it is cut short")));
    if (*machine != 0x14C && *machine != 0x8664)
        return failed(QStringLiteral("the library is built for another machine than the x86 "
                                     "and x86-64 that Half-Life runs on"));
    const quint64 optional = coff + 20;
    const auto magic = file.number(optional, 2);
    if (magic != 0x10B && magic != 0x20B)
        return failed(Damaged.arg(QStringLiteral("its optional header is not PE32 or PE32+")));
    const bool plus = magic == 0x20B;
    const auto directories = file.number(optional + (plus ? 108 : 92), 4);
    if (!directories)
        return failed(Damaged.arg(QStringLiteral("it is cut short")));
    if (*directories == 0)
        return named({}); // no data directories: nothing exported
    const auto exportRva = file.number(optional + (plus ? 112 : 96), 4);
    if (!exportRva)
        return failed(Damaged.arg(QStringLiteral("it is cut short")));
    if (*exportRva == 0)
        return named({});

    // Where a relative virtual address lies in the file, through the section holding it.
    const quint64 sectionTable = optional + *optionalSize;
    struct Section {
        quint64 address, extent, rawSize, rawOffset;
    };
    QList<Section> table;
    for (quint64 i = 0; i < *sections; ++i) {
        const quint64 header = sectionTable + i * 40;
        const auto virtualSize = file.number(header + 8, 4);
        const auto address = file.number(header + 12, 4);
        const auto rawSize = file.number(header + 16, 4);
        const auto rawOffset = file.number(header + 20, 4);
        if (!virtualSize || !address || !rawSize || !rawOffset)
            return failed(Damaged.arg(QStringLiteral("its section table is cut short")));
        table.append({*address, std::max(*virtualSize, *rawSize), *rawSize, *rawOffset});
    }
    const auto offsetOf = [&](quint64 rva) -> std::optional<quint64> {
        for (const Section& section : std::as_const(table)) {
            if (rva >= section.address && rva - section.address < section.extent) {
                if (rva - section.address >= section.rawSize)
                    return std::nullopt; // in memory only, not in the file
                return section.rawOffset + (rva - section.address);
            }
        }
        return std::nullopt;
    };
    const auto directory = offsetOf(*exportRva);
    if (!directory || !file.has(*directory, 40))
        return failed(Damaged.arg(QStringLiteral("its export table lies outside the file")));
    const auto count = file.number(*directory + 24, 4);
    const auto namesRva = file.number(*directory + 32, 4);
    QList<QByteArrayView> found;
    if (*count == 0)
        return named(found);
    const auto namesAt = offsetOf(*namesRva);
    if (!namesAt || !file.has(*namesAt, *count * 4))
        return failed(Damaged.arg(QStringLiteral("its export names lie outside the file")));
    for (quint64 i = 0; i < *count; ++i) {
        const auto nameAt = offsetOf(*file.number(*namesAt + i * 4, 4));
        const auto name = nameAt ? file.name(*nameAt) : std::nullopt;
        if (!name)
            return failed(Damaged.arg(QStringLiteral("an export name lies outside the file")));
        if (isFunctionName(*name) && !isEngineEntryPoint(*name))
            found.append(*name);
    }
    return named(found);
}

LibraryNames readElf(const Bytes& file) {
    const auto elfClass = file.number(4, 1);
    const auto order = file.number(5, 1);
    if (elfClass != 1 && elfClass != 2)
        return failed(Damaged.arg(QStringLiteral("its ELF class is neither 32- nor 64-bit")));
    if (order != 1)
        return failed(QStringLiteral("the library is built for another machine than the x86 "
                                     "and x86-64 that Half-Life runs on (it is big-endian)"));
    const bool wide = elfClass == 2;
    const auto machine = file.number(18, 2);
    if (!machine)
        return failed(Damaged.arg(QStringLiteral("it is cut short")));
    if (*machine != 3 && *machine != 62) // EM_386, EM_X86_64
        return failed(QStringLiteral("the library is built for another machine than the x86 "
                                     "and x86-64 that Half-Life runs on"));
    const auto sectionsAt = file.number(wide ? 0x28 : 0x20, wide ? 8 : 4);
    const auto entrySize = file.number(wide ? 0x3A : 0x2E, 2);
    const auto sections = file.number(wide ? 0x3C : 0x30, 2);
    if (!sectionsAt || !entrySize || !sections || *entrySize < (wide ? 64u : 40u) ||
        !file.has(*sectionsAt, *sections * *entrySize))
        return failed(Damaged.arg(QStringLiteral("its section headers lie outside the file")));
    const int word = wide ? 8 : 4;
    struct Section {
        quint64 type, offset, size, link, entrySize;
    };
    const auto section = [&](quint64 i) {
        const quint64 at = *sectionsAt + i * *entrySize;
        return Section{*file.number(at + 4, 4), *file.number(at + (wide ? 24 : 16), word),
                       *file.number(at + (wide ? 32 : 20), word),
                       *file.number(at + (wide ? 40 : 24), 4),
                       *file.number(at + (wide ? 56 : 36), word)};
    };
    QList<QByteArrayView> found;
    for (quint64 i = 0; i < *sections; ++i) {
        const Section symbols = section(i);
        if (symbols.type != 11) // SHT_DYNSYM
            continue;
        const quint64 symbolSize = wide ? 24 : 16;
        if (symbols.link >= *sections || !file.has(symbols.offset, symbols.size))
            return failed(Damaged.arg(QStringLiteral("its symbol table lies outside the file")));
        const Section strings = section(symbols.link);
        if (!file.has(strings.offset, strings.size))
            return failed(Damaged.arg(QStringLiteral("its symbol names lie outside the file")));
        for (quint64 at = symbols.offset; at + symbolSize <= symbols.offset + symbols.size;
             at += symbolSize) {
            const quint64 nameOffset = *file.number(at, 4);
            const quint64 info = *file.number(at + (wide ? 4 : 12), 1);
            const quint64 other = *file.number(at + (wide ? 5 : 13), 1);
            const quint64 index = *file.number(at + (wide ? 6 : 14), 2);
            const quint64 type = info & 0xF, binding = info >> 4, visibility = other & 3;
            // A function defined here (not SHN_UNDEF), global or weak, visible to the engine.
            if (type != 2 || index == 0 || (binding != 1 && binding != 2) ||
                (visibility != 0 && visibility != 3))
                continue;
            if (nameOffset >= strings.size)
                return failed(Damaged.arg(QStringLiteral("a symbol's name lies outside the file")));
            const auto name = file.name(strings.offset + nameOffset);
            if (!name)
                return failed(Damaged.arg(QStringLiteral("a symbol's name lies outside the file")));
            if (isFunctionName(*name) && name->front() >= 'a' && name->front() <= 'z' &&
                !isEngineEntryPoint(*name))
                found.append(*name);
        }
        return named(found);
    }
    return failed(QStringLiteral("the library has no dynamic symbol table: it exports nothing"));
}

} // namespace

bool looksLikeLibrary(QByteArrayView bytes) {
    return bytes.startsWith("MZ") || bytes.startsWith("\x7F"
                                                      "ELF");
}

LibraryNames libraryClassNames(QByteArrayView bytes) {
    const Bytes file(bytes);
    if (bytes.startsWith("MZ"))
        return readPe(file);
    if (bytes.startsWith("\x7F"
                         "ELF"))
        return readElf(file);
    return failed(QStringLiteral("it is neither a Windows DLL nor a Linux shared object"));
}

} // namespace game
