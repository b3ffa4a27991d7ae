#include "SourceScan.h"

#include "CodeText.h"
#include "Functions.h"
#include "fgd/Vocabulary.h"

#include <optional>

namespace game {

namespace {

// A word of C++ that can stand before ( ... ) { without naming a function.
bool isKeyword(QStringView word) {
    return word == u"if" || word == u"while" || word == u"for" || word == u"switch" ||
           word == u"catch" || word == u"sizeof" || word == u"return";
}

// A path such as models/w_crowbar.mdl or sprites/glow01.spr, as Spawn() sets a model.
bool isModelPath(QStringView text) {
    return (text.endsWith(u".mdl", Qt::CaseInsensitive) ||
            text.endsWith(u".spr", Qt::CaseInsensitive)) &&
           std::all_of(text.begin(), text.end(), [](QChar c) {
               return isWordChar(c) || c == u'/' || c == u'.' || c == u'-';
           });
}

// The text with its comments and quoted texts blanked out (but a key name in quotes) and its
// continued lines joined. The line ends a comment or a continued line swallows are put back after
// the line they join, so every later line keeps its number and a #define still ends where it did.
QString codeOnly(const QString& text) {
    QString code;
    code.reserve(text.size());
    int held = 0;
    const auto lineEnd = [&] {
        code += u'\n';
        for (; held > 0; --held)
            code += u'\n';
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (c == u'/' && next == u'/') {
            while (i < text.size() && text[i] != u'\n')
                ++i;
            lineEnd();
        } else if (c == u'/' && next == u'*') {
            i += 2;
            for (; i + 1 < text.size() && !(text[i] == u'*' && text[i + 1] == u'/'); ++i)
                held += text[i] == u'\n';
            ++i;
            code += u' ';
        } else if (c == u'"' || c == u'\'') {
            const qsizetype start = i + 1;
            bool word = c == u'"';
            for (++i; i < text.size() && text[i] != c && text[i] != u'\n'; ++i) {
                word &= isWordChar(text[i]);
                if (text[i] == u'\\')
                    ++i;
            }
            // A text of letters, digits and _ (a key name), or a model's or sprite's path,
            // stays, in its quotes: nothing that looks for code finds a call or a class in it.
            if ((word || isModelPath(QStringView(text).sliced(start, i - start))) && i > start &&
                i < text.size() && text[i] == u'"')
                code += QStringView(text).sliced(start - 1, i - start + 2);
            else
                code += u' ';
        } else if (c == u'\\' && next == u'\n') {
            ++i; // a continued line: the #define goes on
            ++held;
        } else if (c == u'\\' && next == u'\r' && i + 2 < text.size() && text[i + 2] == u'\n') {
            i += 2; // the same, in a file saved with Windows line ends
            ++held;
        } else if (c == u'\n') {
            lineEnd();
        } else if (c != u'\r') {
            code += c;
        }
    }
    return code;
}

// How a linking macro builds a name from the arguments of a call: pieces pasted together (##),
// each a text of the macro's own or one of the call's arguments.
struct Piece {
    QString text;
    int argument = -1; // the argument at this place, or -1 for text
};
using Pattern = QList<Piece>;

// The name pattern builds from a call's arguments; the empty text when an argument is missing.
QString expand(const Pattern& pattern, const QStringList& arguments) {
    QString name;
    for (const Piece& piece : pattern) {
        if (piece.argument >= arguments.size())
            return {};
        name += piece.argument < 0 ? piece.text : arguments[piece.argument];
    }
    return name;
}

// An argument as a macro's body writes it, in terms of the macro's parameters: "monster_ ## x"
// is the text monster_ pasted to the parameter x.
Pattern patternOf(const QString& argument, const QStringList& parameters) {
    Pattern pattern;
    for (QStringView part : QStringView(argument).split(QStringLiteral("##"))) {
        part = part.trimmed();
        const int parameter = int(parameters.indexOf(part));
        pattern.append(parameter >= 0 ? Piece{{}, parameter} : Piece{part.toString(), -1});
    }
    return pattern;
}

// A macro that links: the class name and the C++ class a call of it gives, from its arguments.
struct Linker {
    Pattern entity;
    Pattern cppClass;
};
using Linkers = QHash<QString, Linker>;

// Each call in code of a macro in linkers: the linker, its arguments and where its name begins.
template <typename Found>
void forEachLink(const QString& code, const Linkers& linkers, Found found) {
    forEachWord(code, 0, code.size(), [&](qsizetype start, qsizetype end) {
        const qsizetype open = spaceEnd(code, end);
        if (code[start].isDigit() || open == code.size() || code[open] != u'(')
            return;
        const auto linker = linkers.constFind(code.mid(start, end - start));
        if (linker == linkers.cend())
            return;
        const Linker copy = *linker; // found may add to linkers
        if (const std::optional<QStringList> arguments = callArguments(code, open))
            found(copy, *arguments, start);
    });
}

// A linker's pattern seen through a macro that calls it with arguments: the same pattern in
// terms of that macro's own parameters.
Pattern through(const Pattern& inner, const QStringList& arguments, const QStringList& parameters) {
    Pattern outer;
    for (const Piece& piece : inner) {
        if (piece.argument < 0)
            outer.append(piece);
        else if (piece.argument < arguments.size())
            outer += patternOf(arguments[piece.argument], parameters);
        else
            return {};
    }
    return outer;
}

bool usesArgument(const Pattern& pattern) {
    return std::any_of(pattern.cbegin(), pattern.cend(),
                       [](const Piece& piece) { return piece.argument >= 0; });
}

// Each class or struct defined in code with a body: its name, its bases and where the word
// class or struct begins. An enum class, a declaration ahead (class CBaseEntity;) and a type
// named in passing (struct entvars_s *pev) are not definitions.
template <typename Found> void forEachClass(const QString& code, Found found) {
    QStringView previous;
    forEachWord(code, 0, code.size(), [&](qsizetype start, qsizetype end) {
        const QStringView word = QStringView(code).sliced(start, end - start);
        const bool head = (word == u"class" || word == u"struct") && previous != u"enum";
        previous = word;
        if (!head)
            return;
        const ClassHead classHead = classHeadAfter(code, end);
        const QStringView name = classHead.name;
        qsizetype at = classHead.next;
        if (name.isEmpty() || at == code.size())
            return;
        QStringList bases;
        if (code[at] == u':' && at + 1 < code.size() && code[at + 1] != u':') {
            int depth = 0;
            qsizetype from = at + 1;
            for (++at; at < code.size(); ++at) {
                const QChar c = code[at];
                if (c == u'<') {
                    ++depth;
                } else if (c == u'>') {
                    --depth;
                } else if ((c == u',' || c == u'{') && depth == 0) {
                    QStringList words = code.mid(from, at - from).simplified().split(u' ');
                    static const QStringList access = {"public", "protected", "private", "virtual"};
                    while (!words.isEmpty() && access.contains(words.front()))
                        words.removeFirst();
                    bases << words.join(QString());
                    from = at + 1;
                    if (c == u'{')
                        break;
                } else if (c == u';' || c == u'(' || c == u')') {
                    break;
                }
            }
        }
        if (at < code.size() && code[at] == u'{')
            found(name.toString(), bases, start);
    });
}

// The #if lines of a text, as far as the compiler's choice can be known without the build's
// settings: the lines of an #if 0 up to its #else, #elif or #endif are left out, and so are
// those after the #else or #elif of an #if 1 (code kept for later, or switched off). Every other
// condition is taken as true and as false alike: both its branches are read.
class Conditionals {
public:
    // Whether the line is compiled, read in order; a directive line itself is not.
    bool read(QStringView line) {
        const QStringView directive = directiveOf(line);
        if (directive.isNull())
            return !skipping();
        if (directive.startsWith(u"if")) {
            // #if 0 or #if 1 alone; #ifdef, #ifndef and other conditions are not known.
            const bool plain = directive.size() > 2 && directive[2].isSpace();
            const QStringView condition = plain ? directive.sliced(2).trimmed() : QStringView();
            m_open.append(condition == u"0" ? LeftOut : condition == u"1" ? Compiled : Other);
        } else if ((directive.startsWith(u"else") || directive.startsWith(u"elif")) &&
                   !m_open.isEmpty()) {
            State& state = m_open.last();
            if (state == Compiled)
                state = Done; // a branch was compiled: none after it is
            else if (state == LeftOut)
                state = directive.startsWith(u"else") ? Compiled : Other;
        } else if (directive.startsWith(u"endif") && !m_open.isEmpty()) {
            m_open.removeLast();
        }
        return false;
    }

private:
    // Other: not known, both branches read. LeftOut: the branch of an #if 0. Compiled: the
    // branch of an #if 1, or the #else of an #if 0. Done: after the compiled branch.
    enum State : quint8 { Other, LeftOut, Compiled, Done };
    bool skipping() const { return m_open.contains(LeftOut) || m_open.contains(Done); }
    // The directive after the #, such as "if 0" or "endif"; a null view for any other line.
    static QStringView directiveOf(QStringView line) {
        line = line.trimmed();
        if (!line.startsWith(u'#'))
            return {};
        line = line.sliced(1).trimmed();
        return line.startsWith(u"if") || line.startsWith(u"el") || line.startsWith(u"endif")
                   ? line
                   : QStringView();
    }
    QList<State> m_open;
};

// The line at position at of code, counting on from an earlier position whose line is known.
class LineCounter {
public:
    explicit LineCounter(const QString& code)
        : m_code(code) {}
    int lineAt(qsizetype at) {
        for (; m_at < at; ++m_at)
            m_line += m_code[m_at] == u'\n';
        return m_line;
    }

private:
    const QString& m_code;
    qsizetype m_at = 0;
    int m_line = 1;
};

} // namespace

bool GameCode::compiles(const QString& file) const {
    const qsizetype slash = std::max(file.lastIndexOf(u'/'), file.lastIndexOf(u'\\'));
    const QString name = file.sliced(slash + 1).toLower();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString suffix = dot < 0 ? QString() : name.sliced(dot + 1);
    return builtSources.isEmpty() || suffix == u"h" || suffix == u"hpp" ||
           builtSources.contains(dot < 0 ? name : name.first(dot));
}

QStringList GameCode::chainOf(const QString& cppClass) const {
    QStringList chain{cppClass};
    for (int step = 0; step < 64; ++step) {
        const CppClass* defined = classNamed(chain.constLast());
        if (!defined || defined->bases.size() != 1 || chain.contains(defined->bases.front()))
            break;
        chain << defined->bases.front();
    }
    return chain;
}

const CppClass* GameCode::classNamed(const QString& name) const {
    const CppClass* first = nullptr;
    for (const CppClass& cppClass : classes) {
        if (cppClass.name != name)
            continue;
        if (first && first->bases != cppClass.bases)
            return nullptr;
        if (!first)
            first = &cppClass;
    }
    return first;
}

void SourceScan::add(const QString& text, const QString& file) {
    const QString code = codeOnly(text);
    QString uses;
    uses.reserve(code.size());
    Conditionals conditionals;
    for (QStringView line : QStringView(code).split(u'\n')) {
        if (!conditionals.read(line)) {
            // Left out by the preprocessor: kept as an empty line, so the lines below keep
            // their numbers.
        } else if (std::optional<Macro> macro = macroDefinition(line)) {
            m_kept += 2 * line.size();
            m_macros.append(std::move(*macro)); // a definition is not a use
        } else {
            uses += line;
        }
        uses += u'\n';
    }
    m_kept += uses.size() + file.size();
    m_texts.append({file, uses.toLatin1()});
}

std::optional<SourceScan::Macro> SourceScan::macroDefinition(QStringView line) {
    const auto skipBlanks = [&](qsizetype i) {
        while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
        return i;
    };
    qsizetype i = skipBlanks(0);
    if (i == line.size() || line[i] != u'#')
        return std::nullopt;
    i = skipBlanks(i + 1);
    if (!line.sliced(i).startsWith(u"define"))
        return std::nullopt;
    const qsizetype name = skipBlanks(i + 6);
    if (name == i + 6)
        return std::nullopt; // #defined, #define_x: no definition
    const qsizetype open = wordEnd(line, name);
    const qsizetype close = line.indexOf(u')', open);
    if (open == name || open == line.size() || line[open] != u'(' || close < 0)
        return std::nullopt;
    QStringList parameters;
    for (QStringView parameter : line.sliced(open + 1, close - open - 1).split(u','))
        parameters << parameter.trimmed().toString();
    return Macro{line.sliced(name, open - name).toString(), parameters,
                 line.sliced(close + 1).toString()};
}

GameCode SourceScan::code() const {
    // The macros that build the class name from their arguments: LINK_ENTITY_TO_CLASS itself,
    // and each macro whose body calls one with a name made of its own parameters.
    Linkers linkers{{QStringLiteral("LINK_ENTITY_TO_CLASS"), {{{{}, 0}}, {{{}, 1}}}}};
    for (bool more = true; more;) {
        more = false;
        for (const Macro& macro : m_macros) {
            if (linkers.contains(macro.name))
                continue;
            forEachLink(macro.body, linkers,
                        [&](const Linker& inner, const QStringList& arguments, qsizetype) {
                            Linker outer{through(inner.entity, arguments, macro.parameters),
                                         through(inner.cppClass, arguments, macro.parameters)};
                            if (!usesArgument(outer.entity) || linkers.contains(macro.name))
                                return;
                            linkers.insert(macro.name, outer);
                            more = true;
                        });
        }
    }
    GameCode code;
    for (const Text& text : m_texts) {
        const QString uses = QString::fromLatin1(text.code);
        LineCounter links(uses);
        forEachLink(uses, linkers,
                    [&](const Linker& linker, const QStringList& arguments, qsizetype at) {
                        const QString entity = expand(linker.entity, arguments);
                        QString cppClass = expand(linker.cppClass, arguments);
                        if (!fgd::isIdentifier(cppClass))
                            cppClass.clear();
                        if (fgd::isIdentifier(entity))
                            code.links.append({entity, cppClass, {text.file, links.lineAt(at)}});
                    });
        // The KeyValue()s, the functions they hand keys to and the Spawn()s, in one walk over
        // the functions the text defines. In a text that names no KeyValueData, most words are
        // no such name, which their length tells at once (Spawn, KeyValue, OnCreate,
        // DispatchKeyValue).
        const bool helpers = uses.contains(QStringLiteral("KeyValueData"));
        const auto wanted = [this, helpers](QStringView name) {
            const qsizetype length = name.size();
            if (m_readUse || helpers)
                return !isKeyword(name); // every function, for what it does or takes
            return (length == 5 || length == 8 || length == 16) &&
                   (definesKeyValue(name) || definesSpawn(name));
        };
        forEachFunction(uses, wanted, [&](const FunctionDefinition& definition) {
            if (definesKeyValue(definition.name) || helpers)
                readKeyValueFunction(uses, definition, text.file, code.keyValues);
            if (definesSpawn(definition.name))
                readSpawnFunction(uses, definition, text.file, code.spawns);
            if (m_readUse)
                readFunctionUse(uses, definition, code.use);
        });
        if (m_readUse)
            readNumberConstants(uses, code.use.numbers);
        readVectorConstants(uses, code.vectors);
        if (code.engineFields.isEmpty())
            code.engineFields = engineFieldsIn(uses);
        LineCounter classes(uses);
        forEachClass(uses, [&](const QString& name, const QStringList& bases, qsizetype at) {
            code.classes.append({name, bases, {text.file, classes.lineAt(at)}});
        });
    }
    for (const Link& link : std::as_const(code.links))
        code.entityNames << link.entity;
    code.entityNames.sort();
    code.entityNames.removeDuplicates();
    return code;
}

GameCode scanSources(const QStringList& texts) {
    SourceScan scan;
    for (const QString& text : texts)
        scan.add(text);
    return scan.code();
}

} // namespace game
