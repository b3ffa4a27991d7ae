#include "FgdParser.h"

#include "FgdTokenizer.h"
#include "FgdVocabulary.h"

#include <algorithm>

// Reads FGD source as the level editors' FGD parsers do; TrenchBroom's is the open one it was
// compared with, along with srctools' (which reads FGDs as Valve's Hammer does). Where the
// editors differ, the construct is marked with a reason that says so. The grammar, one
// function a rule (tokens as FgdTokenizer.h reads them; [ ] optional, { } repeated):
//
//   item        = "@include" STRING | classDecl
//   classDecl   = "@PointClass" | "@SolidClass" | "@BaseClass"  { helper }  "=" className
//                 [ ":" description ]  body
//   helper      = WORD [ "(" arguments ")" ]       base(...) size(...) color(...) studio(...)
//   description = text                            text = STRING { "+" STRING }
//   body        = "[" { keyValue } "]"
//   keyValue    = NAME "(" TYPE ")" [ "readonly" ] [ ":" text [ ":" default [ ":" text ] ] ]
//                 [ choices | flags ]  |  ( "input" | "output" ) NAME "(" TYPE ")" [ ":" text ]
//   choices     = "=" "[" { ( NUMBER | STRING ) ":" text } "]"
//   flags       = "=" "[" { INTEGER ":" text [ ":" INTEGER ] } "]"

namespace model::fgd {

using namespace TokenKind;

namespace {

// A problem that ends the reading of the current item.
struct Refusal {
    int line;
    QString reason;
};

enum class ClassKind { Point, Solid, Base };

class Parser {
public:
    Parser(const QStringList& lines, int from)
        : m_lines(lines)
        , m_tokens(lines, from) {}

    // Reads the next top-level item; false when the lines are used up.
    bool nextItem(SyntaxItem& result) {
        const Token first = m_tokens.peek();
        if (first.kind == End)
            return false;
        result = SyntaxItem{first.line, first.line, -1, QString()};
        m_lastLine = first.line;
        m_tokens.resetFurthestLine(first.line);
        m_depth = 0;
        try {
            parseItem(first.line == m_previousEnd && !first.firstOnLine);
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

    void parseItem(bool afterDeclaration) {
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
                                         "@PointClass (choose a class kind), or be a // comment"));
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
            return parseClassDeclaration(ClassKind::Point);
        if (isListed(kind, u"SolidClass"))
            return parseClassDeclaration(ClassKind::Solid);
        if (isListed(kind, u"BaseClass"))
            return parseClassDeclaration(ClassKind::Base);
        const QString guess = nearest(kind, ClassKinds);
        refuse(token,
               guess.isEmpty()
                   ? QStringLiteral("\"@%1\" is not a class kind the Half-Life editors "
                                    "know: use @PointClass, @SolidClass or @BaseClass")
                         .arg(kind)
                   : QStringLiteral("\"@%1\" is not a class kind: type @%2").arg(kind, guess));
    }

    void parseClassDeclaration(ClassKind kind) {
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
            parseHelper();
        }
        parseClassName(kind);
        const Token afterName = m_tokens.peek();
        if (afterName.kind == Colon) {
            next();
            parseDescription();
        }
        parseBody();
    }

    // helper = WORD [ "(" arguments ")" ]: the arguments as each helper takes them.
    void parseHelper() {
        const Token name = next();
        m_helper = name.text;
        if (isListed(m_helper, u"base")) {
            openArguments();
            parseBaseArguments();
        } else if (isListed(m_helper, u"size")) {
            openArguments();
            parseSizeArguments();
        } else if (isListed(m_helper, u"color")) {
            openArguments();
            parseColorArguments();
        } else if (isListed(m_helper, FileHelpers)) {
            openArguments();
            parseFileArgument();
        } else if (isKnownHelper(m_helper)) {
            // Helpers of other editors or kinds: words, numbers and texts between commas.
            if (m_tokens.peek().kind == OParen) {
                next();
                const QString reason =
                    QStringLiteral("%1() holds only words, numbers and texts").arg(m_helper);
                while (inside(Word | Number | String | Comma | CParen, reason).kind != CParen) {
                }
            }
        } else {
            unknownHelper(name);
        }
    }

    void openArguments() {
        expect(OParen, QStringLiteral("%1 needs its values in parentheses").arg(m_helper));
    }

    // Inside the current helper's parentheses: the next token must be one of kinds, or the helper
    // is malformed in the way reason describes (or its parenthesis is never closed).
    Token inside(unsigned kinds, const QString& reason) {
        const Token token = m_tokens.peek();
        if (!(token.kind & kinds) && !closesLater())
            refuse(token, QStringLiteral("the parenthesis after %1 is not closed").arg(m_helper));
        return expect(kinds, reason);
    }

    // base(Name, Name, ...)
    void parseBaseArguments() {
        const QString reason = QStringLiteral(
            "base() lists class names separated by commas, like base(Targetname, Angles)");
        const auto baseName = [&](const Token& token) {
            if (hasStrayQuote(token.text))
                refuse(
                    token,
                    QStringLiteral("remove the quote from the class name \"%1\"").arg(token.text));
        };
        if (const Token first = inside(Word | CParen, reason); first.kind == Word) {
            baseName(first);
            while (inside(Comma | CParen, reason).kind == Comma)
                baseName(inside(Word, reason));
        }
    }

    // color(R G B)
    void parseColorArguments() {
        const QString reason =
            QStringLiteral("color() needs three numbers from 0 to 255, like color(255 128 0)");
        for (int i = 0; i < 3; ++i) {
            const Token value = inside(Number, reason);
            const double number = value.text.toDouble();
            if (!isNumber(value.text) || number < 0 || number > 255)
                refuse(value, reason);
        }
        inside(CParen, reason);
    }

    // studio("file"), sprite("file"), ...: one file name, or none.
    void parseFileArgument() {
        const QString reason = QStringLiteral("%1() takes one file name in double quotes, like "
                                              "%1(\"models/name.mdl\")")
                                   .arg(m_helper.toString().toLower());
        if (inside(String | CParen, reason).kind == String)
            inside(CParen, reason);
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

    // size(X Y Z) or size(X Y Z, X Y Z)
    void parseSizeArguments() {
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

    void parseClassName(ClassKind kind) {
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
    qsizetype parseText(const QString& reason) {
        qsizetype length = expect(String, reason).text.size();
        while (m_tokens.peek().kind == Plus) {
            next();
            length += expect(String, reason).text.size();
        }
        return length;
    }

    void parseDescription() {
        static constexpr qsizetype MaxLength = 999;
        const Token first = m_tokens.peek();
        if (first.kind == Bad)
            refuse(first, {});
        const qsizetype length =
            parseText(QStringLiteral("the description after : must be in double quotes"));
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

    void parseBody() {
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
            parseKeyValue();
        }
    }

    void parseKeyValue() {
        const QString shape =
            QStringLiteral("a key-value reads name(type) : \"Label\", like health(integer) : "
                           "\"Health\"");
        const Token key = expect(Word | Integer, shape);
        if (isListed(key.text, u"input output") && m_tokens.peek().kind == Word)
            return parseInputOutput();
        if (!isIdentifier(key.text)) {
            refuse(key, QStringLiteral("the key name \"%1\" has a character no game code "
                                       "reads: use only letters, digits and _")
                            .arg(key.text));
        }
        expect(OParen, shape);
        const Token type = expect(Word, shape);
        expect(CParen, shape);
        if (!isKnownType(type.text)) {
            const QString guess = nearest(type.text, HalfLifeTypes);
            refuse(type, guess.isEmpty()
                             ? QStringLiteral("\"%1\" is not a key-value type: use string, "
                                              "integer, choices, flags or another type")
                                   .arg(type.text)
                             : QStringLiteral("\"%1\" is not a key-value type: type %2")
                                   .arg(type.text, guess));
        }
        if (isListed(type.text, u"flags"))
            return parseFlags();

        if (m_tokens.peek().kind == Word && m_tokens.peek().text == u"readonly")
            next();
        const bool isInteger = isListed(type.text, u"integer");
        parseLabel();
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
        parseLabel();
        if (isListed(type.text, u"choices"))
            parseChoices();
    }

    // An optional : "text".
    void parseLabel() {
        if (m_tokens.peek().kind != Colon)
            return;
        next();
        const Token value = m_tokens.peek();
        if (value.kind == Colon)
            return;
        parseText(QStringLiteral("the label after : must be in double quotes"));
    }

    void parseInputOutput() {
        const QString shape =
            QStringLiteral("an input or output reads input Name(type) : \"Label\", like "
                           "input Toggle(void) : \"Toggle\"");
        expect(Word, shape);
        expect(OParen, shape);
        const Token type = expect(Word, shape);
        if (!isListed(type.text, InputOutputTypes))
            refuse(type, shape);
        expect(CParen, shape);
        parseLabel();
    }

    void parseChoices() {
        const QString list =
            QStringLiteral("choices need = and a list, like = [ 0 : \"No\" 1 : \"Yes\" ]");
        expect(Equals, list);
        expect(OBracket, list);
        const QString item =
            QStringLiteral("each choice is a value, : and a label in double quotes, like "
                           "0 : \"No\"");
        while (expect(Number | String | CBracket, item).kind != CBracket) {
            expect(Colon, item);
            parseText(item);
            if (const Token after = m_tokens.peek(); after.kind == Colon) {
                refuse(after, QStringLiteral("only J.A.C.K. reads a help text after a choice's "
                                             "label, other editors refuse the file: remove it "
                                             "with its :"));
            }
        }
    }

    void parseFlags() {
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
            parseText(item);
            if (m_tokens.peek().kind == Colon) {
                next();
                expect(Integer, item);
            }
            value = expect(Integer | CBracket | Colon, item);
            if (value.kind == Colon) {
                parseText(item);
                value = expect(Integer | CBracket, item);
            }
        }
    }

    const QStringList& m_lines;
    Tokenizer m_tokens;
    int m_lastLine = 0;
    int m_previousEnd = -1;
    int m_depth = 0;
    QStringView m_helper; // the helper whose arguments are being read
};

} // namespace

void checkFgdSyntax(const QStringList& lines, int from,
                    const std::function<void(const SyntaxItem&)>& report) {
    Parser parser(lines, from);
    SyntaxItem item;
    while (parser.nextItem(item))
        report(item);
}

} // namespace model::fgd
