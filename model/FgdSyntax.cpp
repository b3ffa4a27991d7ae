#include "FgdSyntax.h"

#include <QStringView>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

// The grammar follows how the level editors' FGD parsers read a file; TrenchBroom's is the open
// one it was compared with, along with srctools' (which reads FGDs as Valve's Hammer does).
// Tokens are words, numbers, quoted texts and the signs ( ) [ ] = : , +; line breaks are spaces
// (srctools alone wants one key-value a line, which no Half-Life editor asks for). A
// declaration is @Kind, helpers such as base(...) and size(...), = name, an optional
// : "description" and a [ ] body of key-values. Where the editors differ, the construct is
// marked with a reason that says so.

namespace model::detail {

namespace {

enum Kind : unsigned {
    Integer = 1u << 0,
    Decimal = 1u << 1,
    Word = 1u << 2,
    String = 1u << 3,
    OParen = 1u << 4,
    CParen = 1u << 5,
    OBracket = 1u << 6,
    CBracket = 1u << 7,
    Equals = 1u << 8,
    Colon = 1u << 9,
    Comma = 1u << 10,
    Plus = 1u << 11,
    End = 1u << 12,
    Bad = 1u << 13, // a character no editor reads here; problem says why
};
constexpr unsigned Number = Integer | Decimal;

struct Token {
    unsigned kind = End;
    int line = 0;
    qsizetype column = 0;
    bool firstOnLine = false;
    QStringView text; // for String: the text between the quotes
    QString problem;  // for Bad
};

// The one-character signs and their kinds.
constexpr QStringView Signs = u"()[]=:,";
constexpr unsigned SignKinds[] = {OParen, CParen, OBracket, CBracket, Equals, Colon, Comma};

// Where a word or number ends.
bool isDelimiter(QChar c) {
    switch (c.unicode()) {
    case ' ':
    case '\t':
    case '\n':
    case '\r':
    case '(':
    case ')':
    case '[':
    case ']':
    case '?':
    case ';':
    case ':':
    case ',':
    case '=':
        return true;
    default:
        return false;
    }
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

const QString BraceReason = QStringLiteral(
    "only TrenchBroom reads { } here and the other editors refuse the file: for a model, "
    "write studio(\"models/name.mdl\")");

// Splits lines into tokens as the editors do. A quoted text never runs on to the next line
// here: a missing closing quote is reported on its own line.
class Tokenizer {
public:
    Tokenizer(const QStringList& lines, int line)
        : m_lines(lines)
        , m_line(line) {}

    // The furthest line any token was read from, peeks and looks ahead included: what an item
    // read depends on the lines up to there.
    int furthestLine() const { return *m_furthest; }
    void resetFurthestLine(int line) { *m_furthest = line; }

    Token read() {
        Token token = readToken();
        // Finding no more tokens depends on there being no more lines.
        const int line = token.kind == End ? static_cast<int>(m_lines.size()) : token.line;
        *m_furthest = std::max(*m_furthest, line);
        return token;
    }

    Token readToken() {
        while (m_line < m_lines.size()) {
            const QStringView text = m_lines.at(m_line);
            if (m_pos >= text.size()) {
                ++m_line;
                m_pos = 0;
                m_lineStart = true;
                continue;
            }
            const QChar c = text[m_pos];
            if (isSpace(c)) {
                ++m_pos;
                continue;
            }
            Token token;
            token.line = m_line;
            token.column = m_pos;
            token.firstOnLine = m_lineStart;
            m_lineStart = false;
            const qsizetype start = m_pos;
            if (const qsizetype sign = Signs.indexOf(c); sign >= 0) {
                ++m_pos;
                token.kind = SignKinds[sign];
                token.text = text.sliced(start, 1);
                return token;
            }
            switch (c.unicode()) {
            case '/':
                if (m_pos + 1 < text.size() && text[m_pos + 1] == u'/') {
                    m_pos = text.size();
                    continue;
                }
                ++m_pos;
                return bad(token, QStringLiteral("a single / here: remove it (a comment starts "
                                                 "with //)"));
            case '{':
            case '}':
                ++m_pos;
                return bad(token, BraceReason);
            case '"': {
                const qsizetype close = text.indexOf(u'"', m_pos + 1);
                if (close < 0) {
                    m_pos = text.size();
                    return bad(token, QStringLiteral("the closing double quote is missing"));
                }
                token.kind = String;
                token.text = text.sliced(m_pos + 1, close - m_pos - 1);
                m_pos = close + 1;
                // Some editors read \" as a quote inside the text and go on past it.
                if (token.text.endsWith(u'\\')) {
                    return bad(token, QStringLiteral("a \\ right before a closing double quote "
                                                     "hides it from some editors: remove the \\"));
                }
                return token;
            }
            case '+':
                if (continuesText()) {
                    ++m_pos;
                    token.kind = Plus;
                    token.text = text.sliced(start, 1);
                    return token;
                }
                break;
            default:
                break;
            }
            token.kind = readNumberOrWord(text);
            token.text = text.sliced(start, m_pos - start);
            return token;
        }
        Token end;
        end.line = std::max(0, static_cast<int>(m_lines.size()) - 1);
        return end;
    }

    Token next() {
        if (m_peeked) {
            Token token = std::move(*m_peeked);
            m_peeked.reset();
            return token;
        }
        return read();
    }

    const Token& peek() {
        if (!m_peeked)
            m_peeked = read();
        return *m_peeked;
    }

private:
    Token bad(Token& token, const QString& problem) {
        token.kind = Bad;
        token.problem = problem;
        return token;
    }

    // A + joins two quoted texts only when the next thing after it is a quote.
    bool continuesText() const {
        int line = m_line;
        qsizetype pos = m_pos + 1;
        while (line < m_lines.size()) {
            const QStringView text = m_lines.at(line);
            while (pos < text.size() && isSpace(text[pos]))
                ++pos;
            if (pos < text.size()) {
                *m_furthest = std::max(*m_furthest, line);
                return text[pos] == u'"';
            }
            ++line;
            pos = 0;
        }
        return false;
    }

    // Integer: an optional sign and digits; decimal: also a point and an exponent; each must
    // end at a delimiter. Anything else runs on to the next delimiter as a word.
    unsigned readNumberOrWord(QStringView text) {
        const qsizetype start = m_pos;
        auto endsHere = [&](qsizetype at) {
            return at >= text.size() || isDelimiter(text[at]);
        };
        auto digits = [&](qsizetype at) {
            while (at < text.size() && isDigit(text[at]))
                ++at;
            return at;
        };
        const QChar first = text[start];
        if (first == u'+' || first == u'-' || isDigit(first)) {
            const qsizetype at = digits(start + 1);
            if (endsHere(at)) {
                m_pos = at;
                return Integer;
            }
        }
        if (first == u'+' || first == u'-' || first == u'.' || isDigit(first)) {
            qsizetype at = first == u'.' ? start : digits(start + 1);
            if (at < text.size() && text[at] == u'.')
                at = digits(at + 1);
            if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
                ++at;
                if (at < text.size() && (text[at] == u'+' || text[at] == u'-' || isDigit(text[at])))
                    at = digits(at + 1);
            }
            if (endsHere(at)) {
                m_pos = at;
                return Decimal;
            }
        }
        m_pos = start + 1;
        while (!endsHere(m_pos))
            ++m_pos;
        return Word;
    }

    const QStringList& m_lines;
    int m_line;
    qsizetype m_pos = 0;
    bool m_lineStart = true; // nothing but spaces read on this line so far
    std::optional<Token> m_peeked;
    // Shared with copies that look further ahead.
    std::shared_ptr<int> m_furthest = std::make_shared<int>(0);
};

// A problem that ends the reading of the current item.
struct Refusal {
    int line;
    QString reason;
};

// Edit distance with swaps of neighbours, for suggesting the word the user meant.
int typingDistance(QStringView a, QStringView b) {
    const qsizetype n = a.size(), m = b.size();
    std::vector<int> d((n + 1) * (m + 1));
    auto at = [&](qsizetype i, qsizetype j) -> int& {
        return d[i * (m + 1) + j];
    };
    for (qsizetype i = 0; i <= n; ++i)
        at(i, 0) = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        at(0, j) = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = a[i - 1].toLower() == b[j - 1].toLower() ? 0 : 1;
            at(i, j) = std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + cost});
            if (i > 1 && j > 1 && a[i - 1].toLower() == b[j - 2].toLower() &&
                a[i - 2].toLower() == b[j - 1].toLower())
                at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
        }
    }
    return at(n, m);
}

// Whether word is one of the space-separated names, in any case.
bool isListed(QStringView word, QStringView names) {
    for (qsizetype start = 0; start < names.size();) {
        qsizetype end = names.indexOf(u' ', start);
        if (end < 0)
            end = names.size();
        if (end - start == word.size() &&
            word.compare(names.sliced(start, end - start), Qt::CaseInsensitive) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// The name closest to word when word is a likely slip of it, or nothing.
QString nearest(QStringView word, QStringView names) {
    const int allowed = word.size() <= 3 ? 1 : 2;
    QString best;
    int bestDistance = allowed + 1;
    for (QStringView name : names.tokenize(u' ')) {
        if (const int distance = typingDistance(word, name); distance < bestDistance) {
            bestDistance = distance;
            best = name.toString();
        }
    }
    return best;
}

// Helpers the Half-Life editors act on, and those other editors of the format know: both load
// everywhere, since an editor skips what it does not know.
constexpr QStringView HalfLifeHelpers =
    u"base size color studio model iconsprite sprite decal flags offset sequence body";
constexpr QStringView OtherHelpers =
    u"skin studioprop lightprop halfgridsnap sphere line frustum cylinder origin vecline axis "
    u"sidelist wirebox sweptplayerhull obb instance overlay overlay_transition light lightcone "
    u"keyframe animator quadbounds worldtext catapult appliesto orderby noinherit autovis bbox "
    u"lightconenew clusteredlight orientedboundingbox orientedwidthheight";

// Key-value types of the Half-Life editors (sky is J.A.C.K.'s), then those later editors added.
constexpr QStringView HalfLifeTypes =
    u"string integer float choices flags target_source target_destination color255 color1 "
    u"studio sprite sound decal sky";
constexpr QStringView OtherTypes =
    u"origin void boolean bool int vector angle target_name_or_class npcclass pointentityclass "
    u"filterclass node_dest node_id scene particlesystem material scriptlist script "
    u"angle_negative_pitch vecline axis sidelist instance_file instance_parm instance_variable "
    u"texture vec_dir vec_local angle_pitch angle_local soundscape ehandle";

constexpr QStringView ClassKinds = u"PointClass SolidClass BaseClass";

bool isKnownHelper(QStringView name) {
    return isListed(name, HalfLifeHelpers) || isListed(name, OtherHelpers);
}

// A quote or brace inside a word starts a text or an expression for some editors.
bool hasStrayQuote(QStringView word) {
    return std::any_of(word.begin(), word.end(),
                       [](QChar c) { return c == u'"' || c == u'\'' || c == u'{' || c == u'}'; });
}

// An @ word at the start of a line begins a declaration, wherever the one above stopped.
bool startsDeclaration(const Token& token) {
    return token.kind == Word && token.firstOnLine && token.text.startsWith(u'@');
}

bool isIdentifier(QStringView name) {
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || isDigit(c) || c == u'_';
    });
}

bool isWholeNumber(QStringView text) {
    bool ok = false;
    (void)text.toLongLong(&ok);
    return ok;
}

// A number as the editors convert it: a sign, digits with an optional point, an exponent.
bool isNumber(QStringView text) {
    qsizetype at = 0, digits = 0;
    const auto skipDigits = [&] {
        const qsizetype from = at;
        while (at < text.size() && isDigit(text[at]))
            ++at;
        return at - from;
    };
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ++at;
    digits = skipDigits();
    if (at < text.size() && text[at] == u'.') {
        ++at;
        digits += skipDigits();
    }
    if (digits > 0 && at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        ++at;
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
            ++at;
        if (skipDigits() == 0)
            return false;
    }
    return digits > 0 && at == text.size();
}

enum class ClassKind { Point, Solid, Base };

class Parser {
public:
    Parser(const QStringList& lines, int from)
        : m_lines(lines)
        , m_tokens(lines, from) {}

    // Reads the next top-level item; false when the lines are used up.
    bool item(SyntaxItem& result) {
        const Token first = m_tokens.peek();
        if (first.kind == End)
            return false;
        result = SyntaxItem{first.line, first.line, -1, QString()};
        m_lastLine = first.line;
        m_tokens.resetFurthestLine(first.line);
        m_depth = 0;
        try {
            topLevel(first.line == m_previousEnd && !first.firstOnLine);
        } catch (const Refusal& refusal) {
            result.problemLine = refusal.line;
            result.problem = refusal.reason;
            skipRestOfItem();
        }
        // What the item read may reach past its last token: a problem on the declaration that
        // starts after it, a look at the next line. A change there must read the item again.
        result.lastLine = std::max({m_lastLine, result.problemLine, m_tokens.furthestLine()});
        m_previousEnd = m_lastLine;
        return true;
    }

private:
    Token next() {
        Token token = m_tokens.next();
        if (token.kind != End)
            m_lastLine = token.line;
        if (token.kind == OBracket)
            ++m_depth;
        else if (token.kind == CBracket)
            --m_depth;
        return token;
    }

    [[noreturn]] void refuse(const Token& at, const QString& reason) {
        if (at.kind == Bad)
            throw Refusal{at.line, at.problem};
        throw Refusal{at.line, reason};
    }

    // Takes the next token, which must be of one of the kinds; otherwise refuses with reason.
    Token expect(unsigned kinds, const QString& reason) {
        const Token token = m_tokens.peek();
        if (!(token.kind & kinds))
            refuse(token, reason);
        return next();
    }

    // After a problem: skips to the end of the item, that is past the ] that closes its body,
    // or up to a line that starts a new declaration, or to the end of the lines.
    void skipRestOfItem() {
        bool bodySeen = m_depth > 0;
        for (;;) {
            const Token token = m_tokens.peek();
            if (token.kind == End || startsDeclaration(token))
                return;
            next();
            bodySeen |= token.kind == OBracket;
            if (bodySeen && m_depth <= 0)
                return;
        }
    }

    // Whether a ) follows before the = or the body that would come after the parentheses.
    bool closesLater() {
        Tokenizer ahead = m_tokens;
        for (Token token = ahead.next(); !(token.kind & (End | Equals | OBracket | CBracket));
             token = ahead.next()) {
            if (token.kind == CParen)
                return true;
        }
        return false;
    }

    void topLevel(bool afterDeclaration) {
        const Token token = next();
        if (token.kind == Bad)
            refuse(token, {});
        if (token.kind != Word || !token.text.startsWith(u'@')) {
            if (afterDeclaration)
                refuse(token, QStringLiteral("there is text after the closing ]"));
            if (token.kind == CBracket)
                refuse(token, QStringLiteral("this ] closes no [ ] body: the body above it is "
                                             "already closed"));
            refuse(token, QStringLiteral("not a declaration: the line must start with "
                                         "@PointClass (choose a Pointsize), or be a // comment"));
        }
        const QStringView kind = token.text.sliced(1);
        if (isListed(kind, u"include")) {
            // The editors that read @include (Hammer, J.A.C.K., TrenchBroom) take the file
            // from the folder of this one.
            expect(String, QStringLiteral("@include needs a file name in double quotes"));
            return;
        }
        if (isListed(kind, u"mapsize")) {
            refuse(token, QStringLiteral("only some editors read @mapsize and TrenchBroom "
                                         "refuses the file: remove this line"));
        }
        if (isListed(kind, u"PointClass"))
            return declaration(ClassKind::Point);
        if (isListed(kind, u"SolidClass"))
            return declaration(ClassKind::Solid);
        if (isListed(kind, u"BaseClass"))
            return declaration(ClassKind::Base);
        const QString guess = nearest(kind, ClassKinds);
        refuse(token,
               guess.isEmpty()
                   ? QStringLiteral("\"@%1\" is not a class kind the Half-Life editors "
                                    "know: use @PointClass, @SolidClass or @BaseClass")
                         .arg(kind)
                   : QStringLiteral("\"@%1\" is not a class kind: type @%2").arg(kind, guess));
    }

    void declaration(ClassKind kind) {
        const QString beforeEquals =
            QStringLiteral("the class name is missing: put = and a name after @PointClass");
        for (;;) {
            const Token token = m_tokens.peek();
            if (token.kind == Equals) {
                next();
                break;
            }
            if (startsDeclaration(token))
                throw Refusal{m_lastLine, beforeEquals};
            if (token.kind != Word) {
                refuse(token,
                       token.kind == End
                           ? beforeEquals
                           : QStringLiteral("unexpected \"%1\" before the =").arg(token.text));
            }
            helper();
        }
        className(kind);
        const Token afterName = m_tokens.peek();
        if (afterName.kind == Colon) {
            next();
            description();
        }
        body();
    }

    void helper() {
        const Token name = next();
        const QStringView helper = name.text;
        const auto open = [&] {
            expect(OParen, QStringLiteral("%1 needs its values in parentheses").arg(helper));
        };
        const QString unclosed =
            QStringLiteral("the parenthesis after %1 is not closed").arg(helper);
        // Inside the parentheses: the next token must be one of kinds, or the helper is
        // malformed in the way reason describes.
        const auto inside = [&](unsigned kinds, const QString& reason) {
            const Token token = m_tokens.peek();
            if (!(token.kind & kinds) && !closesLater())
                refuse(token, unclosed);
            return expect(kinds, reason);
        };

        if (isListed(helper, u"base")) {
            open();
            const QString reason = QStringLiteral(
                "base() lists class names separated by commas, like base(Targetname, Angles)");
            const auto baseName = [&](const Token& token) {
                if (hasStrayQuote(token.text))
                    refuse(token, QStringLiteral("remove the quote from the class name \"%1\"")
                                      .arg(token.text));
            };
            if (const Token first = inside(Word | CParen, reason); first.kind == Word) {
                baseName(first);
                while (inside(Comma | CParen, reason).kind == Comma)
                    baseName(inside(Word, reason));
            }
        } else if (isListed(helper, u"size")) {
            open();
            size(inside);
        } else if (isListed(helper, u"color")) {
            open();
            const QString reason =
                QStringLiteral("color() needs three numbers from 0 to 255, like color(255 128 0)");
            for (int i = 0; i < 3; ++i) {
                const Token value = inside(Number, reason);
                const double number = value.text.toDouble();
                if (!isNumber(value.text) || number < 0 || number > 255)
                    refuse(value, reason);
            }
            inside(CParen, reason);
        } else if (isListed(helper, u"studio model studioprop sprite iconsprite decal")) {
            open();
            const QString reason = QStringLiteral("%1() takes one file name in double quotes, like "
                                                  "%1(\"models/name.mdl\")")
                                       .arg(helper.toString().toLower());
            if (inside(String | CParen, reason).kind == String)
                inside(CParen, reason);
        } else if (isKnownHelper(helper)) {
            // Helpers of other editors or kinds: words, numbers and texts between commas.
            if (m_tokens.peek().kind == OParen) {
                next();
                const QString reason =
                    QStringLiteral("%1() holds only words, numbers and texts").arg(helper);
                while (inside(Word | Number | String | Comma | CParen, reason).kind != CParen) {
                }
            }
        } else {
            unknownHelper(name);
        }
    }

    [[noreturn]] void unknownHelper(const Token& name) {
        QString guess = nearest(name.text, HalfLifeHelpers);
        // A space typed inside a helper's name splits it in two: "ba e(...)" for "base(...)".
        const Token following = m_tokens.peek();
        if (guess.isEmpty() && following.kind == Word && following.line == name.line &&
            !isKnownHelper(following.text)) {
            const QString joined = name.text.toString().append(following.text);
            guess = nearest(joined, HalfLifeHelpers);
        }
        refuse(name,
               guess.isEmpty()
                   ? QStringLiteral("the editors skip \"%1\", it is no helper they know: "
                                    "remove it")
                         .arg(name.text)
                   : QStringLiteral("the editors skip \"%1\": type %2(...)").arg(name.text, guess));
    }

    template <typename Inside> void size(const Inside& inside) {
        const QString example = QStringLiteral("like size(-16 -16 0, 16 16 36)");
        const QString perPoint = QStringLiteral("size() needs three numbers per point, ") + example;
        int points = 0;
        for (;;) {
            for (int i = 0; i < 3; ++i) {
                const Token value = m_tokens.peek();
                if (value.kind == End)
                    inside(Number, perPoint);
                if (value.kind & (CParen | Comma))
                    refuse(value, perPoint);
                if (!(value.kind & Number) || !isNumber(value.text))
                    refuse(value, QStringLiteral("size() needs numbers, ") + example);
                next();
            }
            ++points;
            const Token after = m_tokens.peek();
            if (after.kind == CParen) {
                next();
                return;
            }
            if (after.kind & Number) {
                refuse(after, points == 1 ? QStringLiteral("size() needs a comma between its two "
                                                           "points, ") +
                                                example
                                          : perPoint);
            }
            if (after.kind != Comma || points == 2) {
                inside(CParen, points == 2 ? QStringLiteral("size() holds one or two groups "
                                                            "of three numbers, ") +
                                                 example
                                           : perPoint);
            }
            next();
        }
    }

    void className(ClassKind kind) {
        const Token name = m_tokens.peek();
        if (name.kind == End || name.kind == Colon || name.kind == OBracket)
            refuse(name, QStringLiteral("the class name after = is empty"));
        if (name.kind == String)
            refuse(name, QStringLiteral("write the class name without double quotes"));
        next();
        if (name.kind != Word && !(name.kind & Number) && name.kind != Bad) {
            refuse(name, QStringLiteral("the class name may use only letters, digits and _"));
        }
        if (name.kind == Bad)
            refuse(name, {});
        // Game code links each entity to its class by this name, which it can only spell as
        // an identifier; base classes are only named in base(...).
        const bool linked = kind != ClassKind::Base;
        if ((name.kind & Number) || (linked && isDigit(name.text.front()))) {
            refuse(name, QStringLiteral("game code can never link a class name that starts "
                                        "with a digit: put a prefix such as weapon_ before it"));
        }
        if (!linked && hasStrayQuote(name.text)) {
            refuse(name,
                   QStringLiteral("remove the quote from the class name \"%1\"").arg(name.text));
        }
        if (linked && !isIdentifier(name.text)) {
            refuse(name, QStringLiteral("game code can never link the class name \"%1\": use "
                                        "only letters, digits and _")
                             .arg(name.text));
        }
        const Token after = m_tokens.peek();
        if (!(after.kind & (Colon | OBracket | End)) && !startsDeclaration(after))
            refuse(after, QStringLiteral("the class name may use only letters, digits and _"));
    }

    // Reads "text" with any + "more text" after it, and returns its length.
    qsizetype text(const QString& reason) {
        qsizetype length = expect(String, reason).text.size();
        while (m_tokens.peek().kind == Plus) {
            next();
            length += expect(String, reason).text.size();
        }
        return length;
    }

    void description() {
        static constexpr qsizetype MaxLength = 999;
        const Token first = m_tokens.peek();
        if (first.kind == Bad)
            refuse(first, {});
        const qsizetype length =
            text(QStringLiteral("the description after : must be in double quotes"));
        if (length > MaxLength) {
            refuse(first,
                   QStringLiteral("the description is longer than %1 characters").arg(MaxLength));
        }
        const Token after = m_tokens.peek();
        if ((after.kind & (OBracket | End)) || startsDeclaration(after))
            return;
        if (after.kind == Colon) {
            // J.A.C.K. reads a help address here; Hammer and TrenchBroom refuse the file.
            refuse(after, QStringLiteral("only J.A.C.K. reads a second text after the "
                                         "description, other editors refuse the file: remove "
                                         "it with its :"));
        }
        const bool quoteFollows =
            after.line == first.line && m_lines.at(after.line).indexOf(u'"', after.column) >= 0;
        refuse(after, quoteFollows
                          ? QStringLiteral("the description may not contain a double quote (\")")
                          : QStringLiteral("unexpected text after the description"));
    }

    void body() {
        const Token open = m_tokens.peek();
        if (startsDeclaration(open)) {
            throw Refusal{m_lastLine, QStringLiteral("the declaration must end with a [ ] body, "
                                                     "even an empty one: []")};
        }
        if (open.kind != OBracket) {
            refuse(open, QStringLiteral("the declaration must end with a [ ] body, even an "
                                        "empty one: []"));
        }
        next();
        for (;;) {
            const Token token = m_tokens.peek();
            if (token.kind == CBracket) {
                next();
                return;
            }
            if (token.kind == End) {
                throw Refusal{open.line,
                              open.line == token.line
                                  ? QStringLiteral("the [ ] body is not closed on this line")
                                  : QStringLiteral("the [ ] body is never closed: end it with ]")};
            }
            if (startsDeclaration(token)) {
                refuse(token, QStringLiteral("a new declaration starts before the [ ] body "
                                             "above is closed: end that body with ]"));
            }
            keyValue();
        }
    }

    void keyValue() {
        const QString shape =
            QStringLiteral("a key-value reads name(type) : \"Label\", like health(integer) : "
                           "\"Health\"");
        const Token key = expect(Word | Integer, shape);
        if (isListed(key.text, u"input output") && m_tokens.peek().kind == Word)
            return inputOutput();
        if (!isIdentifier(key.text)) {
            refuse(key, QStringLiteral("the key name \"%1\" has a character no game code "
                                       "reads: use only letters, digits and _")
                            .arg(key.text));
        }
        expect(OParen, shape);
        const Token type = expect(Word, shape);
        expect(CParen, shape);
        if (!isListed(type.text, HalfLifeTypes) && !isListed(type.text, OtherTypes)) {
            const QString guess = nearest(type.text, HalfLifeTypes);
            refuse(type, guess.isEmpty()
                             ? QStringLiteral("\"%1\" is not a key-value type: use string, "
                                              "integer, choices, flags or another type")
                                   .arg(type.text)
                             : QStringLiteral("\"%1\" is not a key-value type: type %2")
                                   .arg(type.text, guess));
        }
        if (isListed(type.text, u"flags"))
            return flags();

        if (m_tokens.peek().kind == Word && m_tokens.peek().text == u"readonly")
            next();
        const bool isInteger = isListed(type.text, u"integer");
        label();
        if (m_tokens.peek().kind == Colon) {
            next();
            const unsigned defaults = isInteger ? Number | Colon : String | Number | Colon;
            const Token value = m_tokens.peek();
            if (!(value.kind & defaults)) {
                refuse(value, isInteger
                                  ? QStringLiteral("the default of an integer must be a number")
                                  : QStringLiteral("the default after the label must be a "
                                                   "number or a text in double quotes"));
            }
            if (value.kind != Colon)
                next();
        }
        label();
        if (isListed(type.text, u"choices"))
            choices();
    }

    // An optional : "text".
    void label() {
        if (m_tokens.peek().kind != Colon)
            return;
        next();
        const Token value = m_tokens.peek();
        if (value.kind == Colon)
            return;
        text(QStringLiteral("the label after : must be in double quotes"));
    }

    void inputOutput() {
        const QString shape =
            QStringLiteral("an input or output reads input Name(type) : \"Label\", like "
                           "input Toggle(void) : \"Toggle\"");
        expect(Word, shape);
        expect(OParen, shape);
        const Token type = expect(Word, shape);
        if (!isListed(type.text, u"void string integer float bool boolean ehandle"))
            refuse(type, shape);
        expect(CParen, shape);
        label();
    }

    void choices() {
        const QString list =
            QStringLiteral("choices need = and a list, like = [ 0 : \"No\" 1 : \"Yes\" ]");
        expect(Equals, list);
        expect(OBracket, list);
        const QString item =
            QStringLiteral("each choice is a value, : and a label in double quotes, like "
                           "0 : \"No\"");
        while (expect(Number | String | CBracket, item).kind != CBracket) {
            expect(Colon, item);
            text(item);
            if (const Token after = m_tokens.peek(); after.kind == Colon) {
                refuse(after, QStringLiteral("only J.A.C.K. reads a help text after a choice's "
                                             "label, other editors refuse the file: remove it "
                                             "with its :"));
            }
        }
    }

    void flags() {
        const QString list = QStringLiteral(
            "flags need = and a list, like spawnflags(flags) = [ 1 : \"Start On\" : 0 ]");
        expect(Equals, list);
        expect(OBracket, list);
        const QString item = QStringLiteral(
            "each flag is a number, : and a label in double quotes, like 1 : \"Start On\" : 0");
        Token value = expect(Integer | CBracket, item);
        while (value.kind != CBracket) {
            const qint64 bit = value.text.toLongLong();
            if (!isWholeNumber(value.text) || bit <= 0 || (bit & (bit - 1)) != 0) {
                refuse(value, QStringLiteral("a flag's number must be 1, 2, 4, 8 and so on"));
            }
            expect(Colon, item);
            text(item);
            if (m_tokens.peek().kind == Colon) {
                next();
                expect(Integer, item);
            }
            value = expect(Integer | CBracket | Colon, item);
            if (value.kind == Colon) {
                text(item);
                value = expect(Integer | CBracket, item);
            }
        }
    }

    const QStringList& m_lines;
    Tokenizer m_tokens;
    int m_lastLine = 0;
    int m_previousEnd = -1;
    int m_depth = 0;
};

} // namespace

void CheckFgdSyntax(const QStringList& lines, int from,
                    const std::function<void(const SyntaxItem&)>& report) {
    Parser parser(lines, from);
    SyntaxItem item;
    while (parser.item(item))
        report(item);
}

} // namespace model::detail
