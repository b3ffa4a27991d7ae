#include "Parser.h"

#include "Tokenizer.h"
#include "Vocabulary.h"
#include "Windows1252.h"

#include <QVarLengthArray>

#include <algorithm>
#include <optional>
#include <utility>

// Reads FGD source as the level editors' FGD parsers do; TrenchBroom's is the open one it was
// compared with, along with srctools' (which reads FGDs as Valve's Hammer does). Where the
// editors differ, the construct is marked with a reason that says so. The grammar, one
// function a rule (tokens as Tokenizer.h reads them; [ ] optional, { } repeated):
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
//
// After an error, reading goes on where the declaration can be read again: at the next helper,
// at the body, or at the next key-value (a name that starts a line or comes before a "("). So a
// declaration shows every problem it has, each on its line. A declaration that the next line
// starting with @ cuts short ends there, with its problem on its own last line.

namespace fgd {

using namespace TokenKind;

namespace {

// Thrown with an error that stops the reading of a part of a declaration. Reading goes on at
// the next part that can be read on its own, unless the stop ends the item: the lines ran out,
// or a new declaration starts before this one is complete.
struct Stop {
    Problem problem;
    bool endsItem = false;
};

Stop stopAt(int line, qsizetype column, const Rule& rule, const QString& reason,
            bool endsItem = false) {
    return {{line, column, Severity::Error, &rule, reason}, endsItem};
}

// Whether text, read from Windows-1252 bytes, is UTF-8 written by a text editor: its bytes beyond
// ASCII all form UTF-8 sequences, and there is one at least. Windows-1252 text seldom does: an
// accented letter followed by a sign from A0 to BF (\u00E9\u00A9) is rare in a label.
bool isUtf8Text(QStringView text) {
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return false; // most texts
    const QByteArray bytes = toWindows1252(text);
    const auto byte = [&](qsizetype at) {
        return at < bytes.size() ? quint8(bytes[at]) : 0;
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 lead = byte(i);
        if (lead < 0x80)
            continue;
        const int follow = lead >= 0xC2 && lead <= 0xDF   ? 1
                           : lead >= 0xE0 && lead <= 0xEF ? 2
                           : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                          : -1;
        if (follow < 0)
            return false;
        for (int k = 1; k <= follow; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80)
                return false;
        }
        i += follow;
    }
    return true;
}

class Parser {
public:
    Parser(const QStringList& lines, int from, bool details)
        : m_lines(lines)
        , m_tokens(lines, from)
        , m_details(details) {}

    // Reads the next top-level item; false when the lines are used up.
    bool nextItem(ParsedItem& result) {
        const Token first = m_tokens.peek();
        if (first.kind == End)
            return false;
        result = ParsedItem{};
        result.firstLine = result.lastLine = first.line;
        m_item = &result;
        m_lastLine = first.line;
        m_tokens.resetFurthestLine(first.line);
        m_depth = 0;
        // An item that starts on the line where the previous one ended, after something on that
        // line, is text after a closing ]: the editors refuse it as that, not as a new item.
        const bool afterDeclaration = first.line == m_previousEnd && !first.firstOnLine;
        try {
            parseItem(afterDeclaration);
        } catch (const Stop& stop) {
            record(stop);
            skipRestOfItem();
        }
        // What the item read may reach past its last token: a look at the next line, at the
        // end of the lines. A change there must read the item again.
        result.lastLine = std::max(m_lastLine, m_tokens.furthestLine());
        for (const Problem& problem : std::as_const(result.problems))
            result.lastLine = std::max(result.lastLine, problem.line);
        result.endLine = m_lastLine;
        m_previousEnd = m_lastLine;
        return true;
    }

private:
    // Inlined by hand: it runs for every token, and GCC stopped inlining it as the parser grew
    // (a whole-file check then took 2% more instructions).
    Q_ALWAYS_INLINE Token next() {
        Token token = m_tokens.next();
        if (token.kind != End) {
            m_lastLine = token.line;
            m_lastColumn = token.column;
        }
        if (token.kind == String && isUtf8Text(token.text)) {
            // Hammer reads the file byte for byte as Windows-1252; TrenchBroom as UTF-8.
            warn(token, Rules::Utf8Text,
                 QStringLiteral(
                     "this text is written in UTF-8: Hammer and J.A.C.K. read FGD "
                     "files as Windows-1252 and show each letter beyond ASCII as two "
                     "or three odd characters, as the source list shows them (\u00C3\u00A9 for "
                     "\u00E9); only TrenchBroom shows it as meant. Type it in "
                     "Windows-1252 or leave the accents out"),
                 Editor::Hammer | Editor::Jack);
        }
        m_lastKind = token.kind;
        if (token.kind == OBracket)
            ++m_depth;
        else if (token.kind == CBracket)
            --m_depth;
        return token;
    }

    void record(const Stop& stop) { m_item->problems.append(stop.problem); }

    void warn(const Token& at, const Rule& rule, const QString& reason,
              Editors editors = AllEditors) {
        m_item->problems.append({at.line, at.column, Severity::Warning, &rule, reason, editors});
    }

    // The arguments of the helper whose name was just taken, read ahead without taking them:
    // split at the commas of its own parentheses, the tokens of each joined with one space.
    QStringList helperArguments() const {
        Tokenizer ahead = m_tokens;
        QStringList arguments;
        if (ahead.peek().kind != OParen)
            return arguments;
        ahead.next();
        arguments << QString();
        for (int depth = 1;;) {
            const Token token = ahead.next();
            if (token.kind == End || startsDeclaration(token) ||
                (token.kind == CParen && --depth == 0))
                return arguments;
            depth += token.kind == OParen;
            if (token.kind == Comma && depth == 1) {
                arguments << QString();
                continue;
            }
            QString& argument = arguments.last();
            if (!argument.isEmpty())
                argument += u' ';
            argument += token.text;
        }
    }

    // An error for the editors that refuse what is at token at; the others load it as meant.
    void refusedBy(const Token& at, Editors editors, const Rule& rule, const QString& reason) {
        m_item->problems.append({at.line, at.column, Severity::Error, &rule, reason, editors});
    }

    // A construct that only reader reads: the other editors refuse the file, and a file that
    // uses it was written for reader. Reading goes on as reader reads it.
    void onlyIn(const Token& at, Editors reader, const Rule& rule, const QString& reason) {
        m_item->problems.append(
            {at.line, at.column, Severity::Error, &rule, reason, AllEditors & ~reader, reader});
    }

    // Refuses the declaration at token at. Where the lines end or a new declaration starts, this
    // one ended too early: the problem belongs on its own last token, and the reading of the
    // item ends there.
    [[noreturn]] void refuse(const Token& at, const Rule& rule, const QString& reason) {
        const QString& why = at.kind == Bad ? at.problem : reason;
        const Rule& kind = at.kind == Bad ? *at.rule : rule;
        if (at.kind == End || startsDeclaration(at))
            throw stopAt(m_lastLine, m_lastColumn, kind, why, true);
        throw stopAt(at.line, at.column, kind, why);
    }

    // Records a stop that leaves the item readable; one that ends the item goes on up.
    void recover(const Stop& stop) {
        if (stop.endsItem)
            throw stop;
        record(stop);
    }

    // After a problem: skips tokens up to one of the kinds (left in place), a new declaration or
    // the end of the lines, at the bracket depth where the skipping started or above it.
    void skipTo(unsigned kinds) {
        const int depth = m_depth;
        for (;;) {
            const Token& token = m_tokens.peek();
            if (token.kind == End || startsDeclaration(token))
                return;
            if ((token.kind & kinds) && m_depth <= depth)
                return;
            next();
            if (m_depth < depth) // the bracket the skipping started in closed
                return;
        }
    }

    // Takes the next token, which must be of one of the kinds; otherwise refuses with reason.
    Token expect(unsigned kinds, const Rule& rule, const QString& reason) {
        const Token token = m_tokens.peek();
        if (!(token.kind & kinds))
            refuse(token, rule, reason);
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

    // Whether a ) follows before the = or the body that would come after the parentheses, and
    // before the next declaration: a ) below that belongs to another item.
    bool closesLater() {
        Tokenizer ahead = m_tokens;
        for (Token token = ahead.next();
             !(token.kind & (End | Equals | OBracket | CBracket)) && !startsDeclaration(token);
             token = ahead.next()) {
            if (token.kind == CParen)
                return true;
        }
        return false;
    }

    void parseItem(bool afterDeclaration) {
        const Token token = next();
        if (token.kind == Bad)
            refuse(token, *token.rule, token.problem);
        if (token.kind != Word || !token.text.startsWith(u'@')) {
            // EF BB BF, read as Windows-1252. Valve's tokenizer stops a word at the first of
            // them and then expects @; TrenchBroom's takes them into the first word and finds
            // no class kind. Neither skips the mark.
            if (token.text.startsWith(u"\u00EF\u00BB\u00BF"))
                refuse(token, Rules::ByteOrderMark,
                       QStringLiteral("the line starts with a UTF-8 byte order mark, the three "
                                      "characters \u00EF\u00BB\u00BF: Hammer and TrenchBroom do "
                                      "not skip it and refuse the file; save the file without it "
                                      "(UTF-8 without BOM, or Windows-1252)"));
            if (afterDeclaration)
                refuse(token, Rules::TextAfterBody,
                       QStringLiteral("there is text after the closing ]"));
            if (token.kind == CBracket)
                refuse(token, Rules::UnopenedBracket,
                       QStringLiteral("this ] closes no [ ] body: the body above it is "
                                      "already closed"));
            refuse(token, Rules::NotADeclaration,
                   QStringLiteral("not a declaration: the line must start with "
                                  "@PointClass (choose a class kind), or be a // comment"));
        }
        const QStringView kind = token.text.sliced(1);
        m_item->declaration = !isListed(kind, u"include");
        if (!m_item->declaration) {
            // The editors that read @include (Hammer, J.A.C.K., TrenchBroom) take the file
            // from the folder of this one.
            m_item->include = expect(String, Rules::IncludeName,
                                     QStringLiteral("@include needs a file name in double quotes"))
                                  .text.toString();
            return;
        }
        if (isListed(kind, u"mapsize")) {
            refuse(token, Rules::Mapsize,
                   QStringLiteral("only some editors read @mapsize and TrenchBroom "
                                  "refuses the file: remove this line"));
        }
        if (isListed(kind, u"PointClass"))
            return parseClassDeclaration(ClassKind::Point);
        if (isListed(kind, u"SolidClass"))
            return parseClassDeclaration(ClassKind::Solid);
        if (isListed(kind, u"BaseClass"))
            return parseClassDeclaration(ClassKind::Base);
        const QString guess = nearest(kind, ClassKinds);
        refuse(token, Rules::UnknownClassKind,
               guess.isEmpty()
                   ? QStringLiteral("\"@%1\" is not a class kind the Half-Life editors "
                                    "know: use @PointClass, @SolidClass or @BaseClass")
                         .arg(kind)
                   : QStringLiteral("\"@%1\" is not a class kind: type @%2").arg(kind, guess));
    }

    void parseClassDeclaration(ClassKind kind) {
        m_item->details.kind = kind;
        QStringList helpers; // the helpers given so far, in lower case
        for (;;) {
            const Token token = m_tokens.peek();
            if (token.kind == Equals) {
                next();
                break;
            }
            if (token.kind & (End | OBracket) || startsDeclaration(token)) {
                refuse(token, Rules::ClassNameMissing,
                       QStringLiteral("the class name is missing: put = and a name "
                                      "after @PointClass"));
            }
            try {
                if (token.kind != Word)
                    refuse(token, Rules::UnexpectedBeforeEquals,
                           QStringLiteral("unexpected \"%1\" before the =").arg(token.text));
                checkHelperUse(token, kind, helpers);
                parseHelper();
            } catch (const Stop& stop) {
                recover(stop);
                // Reading goes on with the next helper.
                skipTo(Equals | OBracket | CParen);
                if (m_tokens.peek().kind == CParen)
                    next();
            }
        }
        try {
            parseClassName(kind);
            if (m_tokens.peek().kind == Colon) {
                next();
                parseDescription();
            }
        } catch (const Stop& stop) {
            recover(stop);
            skipTo(OBracket);
        }
        parseBody();
    }

    // What the editors do with a helper in the place it is given: a solid's size and model come
    // from its brushes, and of a helper given twice only one is kept.
    void checkHelperUse(const Token& name, ClassKind kind, QStringList& helpers) {
        QString helper = name.text.toString().toLower();
        const bool model = isListed(helper, ModelHelpers);
        if (kind == ClassKind::Solid && helper == u"size") {
            warn(name, Rules::SolidSize,
                 QStringLiteral("a @SolidClass takes its size from its brushes: the editors "
                                "ignore size() here, remove it"));
        } else if (kind == ClassKind::Solid && model) {
            warn(name, Rules::SolidModel,
                 QStringLiteral("a @SolidClass is drawn with its brushes: the editors show no "
                                "%1() model for it, remove it")
                     .arg(helper));
        }
        if (model)
            helper = QStringLiteral("model");
        if (!isListed(helper, SingleHelpers))
            return;
        // Hammer sets the size and colour again, and keeps every base and model helper;
        // TrenchBroom keeps only the last of each.
        if (helpers.contains(helper) && (helper == u"base" || model)) {
            warn(name, Rules::HelperTwice,
                 QStringLiteral("%1() is given twice: TrenchBroom uses only the last one: put "
                                "what both say in one")
                     .arg(name.text.toString().toLower()),
                 Editor::TrenchBroom);
        } else if (helpers.contains(helper)) {
            warn(name, Rules::HelperTwice,
                 QStringLiteral("%1() is given twice: the editors use only the last one, "
                                "remove the other")
                     .arg(helper));
        }
        helpers << helper;
    }

    // helper = WORD [ "(" arguments ")" ]: the arguments as each helper takes them.
    void parseHelper() {
        const Token name = next();
        m_helper = name.text;
        if (m_details)
            m_item->details.helpers.append(
                {name.text.toString(), helperArguments(), {name.line, name.column}});
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
                while (
                    inside(Word | Number | String | Comma | CParen, Rules::HelperArguments, reason)
                        .kind != CParen) {
                }
            }
        } else {
            unknownHelper(name);
            if (m_tokens.peek().kind == OParen)
                skipArguments();
        }
    }

    // The current helper's ( is still open where token stands, and no ) closes it before it.
    [[noreturn]] void refuseUnclosed(const Token& token) {
        refuse(token, Rules::UnclosedParenthesis,
               QStringLiteral("the parenthesis after %1 is not closed").arg(m_helper));
    }

    // The arguments of a helper the editors skip: they pass over everything up to the
    // parenthesis that closes the one after the helper's name.
    void skipArguments() {
        int depth = 0;
        for (;;) {
            const Token& token = m_tokens.peek();
            if (token.kind == End || startsDeclaration(token))
                refuseUnclosed(token);
            const Token taken = next();
            depth += taken.kind == OParen ? 1 : taken.kind == CParen ? -1 : 0;
            if (depth == 0)
                return;
        }
    }

    void openArguments() {
        expect(OParen, Rules::HelperParentheses,
               QStringLiteral("%1 needs its values in parentheses").arg(m_helper));
    }

    // Inside the current helper's parentheses: the next token must be one of kinds, or the helper
    // is malformed in the way reason describes (or its parenthesis is never closed).
    Token inside(unsigned kinds, const Rule& rule, const QString& reason) {
        const Token token = m_tokens.peek();
        if (!(token.kind & kinds) && !closesLater())
            refuseUnclosed(token);
        return expect(kinds, rule, reason);
    }

    // base(Name, Name, ...)
    void parseBaseArguments() {
        const QString reason = QStringLiteral(
            "base() lists class names separated by commas, like base(Targetname, Angles)");
        const auto baseName = [&](const Token& token) {
            if (hasStrayQuote(token.text))
                refuse(
                    token, Rules::QuoteInClassName,
                    QStringLiteral("remove the quote from the class name \"%1\"").arg(token.text));
            m_item->bases.append({token.line, token.column, token.text.toString()});
            if (m_details)
                m_item->details.bases.append(token.text.toString());
        };
        if (const Token first = inside(Word | CParen, Rules::BaseArguments, reason);
            first.kind == Word) {
            baseName(first);
            while (inside(Comma | CParen, Rules::BaseArguments, reason).kind == Comma)
                baseName(inside(Word, Rules::BaseArguments, reason));
        }
    }

    // color(R G B)
    void parseColorArguments() {
        const QString reason =
            QStringLiteral("color() needs three numbers from 0 to 255, like color(255 128 0)");
        for (int i = 0; i < 3; ++i) {
            const Token value = inside(Number, Rules::ColorArguments, reason);
            const double number = value.text.toDouble();
            if (!isNumber(value.text) || number < 0 || number > 255)
                refuse(value, Rules::ColorArguments, reason);
        }
        inside(CParen, Rules::ColorArguments, reason);
    }

    // studio("file"), sprite("file"), ...: one file name, or none.
    void parseFileArgument() {
        const QString reason = QStringLiteral("%1() takes one file name in double quotes, like "
                                              "%1(\"models/name.mdl\")")
                                   .arg(m_helper.toString().toLower());
        if (const Token& first = m_tokens.peek();
            first.kind == Bad && first.rule == &Rules::Braces) {
            // TrenchBroom reads a model expression here, as far as the ) that closes it.
            onlyIn(first, Editor::TrenchBroom, *first.rule, first.problem);
            for (int depth = 1; depth > 0;) {
                const Token& token = m_tokens.peek();
                if (token.kind == End || startsDeclaration(token))
                    refuseUnclosed(token);
                depth += token.kind == OParen ? 1 : token.kind == CParen ? -1 : 0;
                next();
            }
            return;
        }
        if (inside(String | CParen, Rules::FileArgument, reason).kind == String)
            inside(CParen, Rules::FileArgument, reason);
    }

    // The editors skip a helper they do not know, so it loads but does nothing.
    void unknownHelper(const Token& name) {
        QString guess = nearest(name.text, HalfLifeHelpers);
        // A space typed inside a helper's name splits it in two: "ba e(...)" for "base(...)".
        const Token following = m_tokens.peek();
        if (guess.isEmpty() && following.kind == Word && following.line == name.line &&
            !isKnownHelper(following.text)) {
            const QString joined = name.text.toString().append(following.text);
            guess = nearest(joined, HalfLifeHelpers);
            if (!guess.isEmpty())
                next(); // the second half of the split name
        }
        warn(name, Rules::UnknownHelper,
             guess.isEmpty()
                 ? QStringLiteral("the editors skip \"%1\", it is no helper they know: remove it")
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
                    inside(Number, Rules::SizeArguments, perPoint);
                if (value.kind & (CParen | Comma))
                    refuse(value, Rules::SizeArguments, perPoint);
                if (!(value.kind & Number) || !isNumber(value.text))
                    refuse(value, Rules::SizeArguments,
                           QStringLiteral("size() needs numbers, ") + example);
                next();
            }
            ++points;
            const Token after = m_tokens.peek();
            if (after.kind == CParen) {
                next();
                return;
            }
            if (after.kind & Number) {
                refuse(after, Rules::SizeArguments,
                       points == 1 ? QStringLiteral("size() needs a comma between its two "
                                                    "points, ") +
                                         example
                                   : perPoint);
            }
            if (after.kind != Comma || points == 2) {
                inside(CParen, Rules::SizeArguments,
                       points == 2 ? QStringLiteral("size() holds one or two groups "
                                                    "of three numbers, ") +
                                         example
                                   : perPoint);
            }
            next();
        }
    }

    void parseClassName(ClassKind kind) {
        const Token name = m_tokens.peek();
        if (name.kind & (End | Colon | OBracket) || startsDeclaration(name))
            refuse(name, Rules::ClassNameEmpty, QStringLiteral("the class name after = is empty"));
        next();
        m_item->declared = name.text.toString();
        m_item->declaredLine = name.line;
        m_item->placeable = kind != ClassKind::Base;
        m_item->declaredColumn = name.column;
        if (m_details) {
            m_item->details.name = m_item->declared;
            m_item->details.place = {name.line, name.column};
        }
        if (name.kind == String)
            refuse(name, Rules::QuotedClassName,
                   QStringLiteral("write the class name without double quotes"));
        if (name.kind & Number) {
            refuse(name, Rules::NumericClassName,
                   QStringLiteral("the editors refuse a class name that is a number: put "
                                  "a prefix such as weapon_ before it"));
        }
        if (name.kind != Word)
            refuse(name, Rules::ClassNameCharacters,
                   QStringLiteral("the class name may use only letters, digits and _"));
        // Game code links each entity to its class by this name, which it can only spell as
        // an identifier; base classes are only named in base(...).
        if (kind == ClassKind::Base && hasStrayQuote(name.text)) {
            refuse(name, Rules::QuoteInClassName,
                   QStringLiteral("remove the quote from the class name \"%1\"").arg(name.text));
        }
        if (kind != ClassKind::Base && isDigit(name.text.front())) {
            warn(name, Rules::UnlinkableClassName,
                 QStringLiteral("game code can never link a class name that starts "
                                "with a digit: put a prefix such as weapon_ before it"));
        } else if (kind != ClassKind::Base && !isIdentifier(name.text)) {
            warn(name, Rules::UnlinkableClassName,
                 QStringLiteral("game code can never link the class name \"%1\": use "
                                "only letters, digits and _")
                     .arg(name.text));
        }
        const Token after = m_tokens.peek();
        if (!(after.kind & (Colon | OBracket | End)) && !startsDeclaration(after))
            refuse(after, Rules::ClassNameCharacters,
                   QStringLiteral("the class name may use only letters, digits and _"));
    }

    // Reads "text" with any + "more text" after it, and returns its length; the text joined
    // goes to text when it is given and details are read.
    qsizetype parseText(const Rule& rule, const QString& reason, QString* text = nullptr) {
        if (!m_details)
            text = nullptr;
        QStringView part = expect(String, rule, reason).text;
        qsizetype length = part.size();
        if (text)
            *text = part.toString();
        while (m_tokens.peek().kind == Plus) {
            next();
            part = expect(String, rule, reason).text;
            length += part.size();
            if (text)
                *text += part;
        }
        return length;
    }

    void parseDescription() {
        static constexpr qsizetype MaxLength = 999;
        const Token first = m_tokens.peek();
        if (first.kind == Bad)
            refuse(first, *first.rule, first.problem);
        const qsizetype length =
            parseText(Rules::DescriptionQuotes,
                      QStringLiteral("the description after : must be in double quotes"),
                      &m_item->details.description);
        if (length > MaxLength) {
            refuse(first, Rules::DescriptionLength,
                   QStringLiteral("the description is longer than %1 characters").arg(MaxLength));
        }
        Token after = m_tokens.peek();
        if (after.kind == Colon) {
            // J.A.C.K. reads a help address here; Hammer and TrenchBroom refuse the file.
            onlyIn(after, Editor::Jack, Rules::DescriptionHelpText,
                   QStringLiteral("only J.A.C.K. reads a second text after the "
                                  "description, other editors refuse the file: remove "
                                  "it with its :"));
            next();
            parseText(Rules::DescriptionHelpText,
                      QStringLiteral("the help text after the description's : must be in "
                                     "double quotes"));
            after = m_tokens.peek();
        }
        if ((after.kind & (OBracket | End)) || startsDeclaration(after))
            return;
        const bool quoteFollows =
            after.line == first.line && m_lines.at(after.line).indexOf(u'"', after.column) >= 0;
        refuse(after, Rules::TextAfterDescription,
               quoteFollows ? QStringLiteral("the description may not contain a double quote (\")")
                            : QStringLiteral("unexpected text after the description"));
    }

    void parseBody() {
        const Token open = m_tokens.peek();
        if (open.kind != OBracket) {
            refuse(open, Rules::BodyMissing,
                   QStringLiteral("the declaration must end with a [ ] body, even an "
                                  "empty one: []"));
        }
        next();
        m_keys.clear();
        for (;;) {
            const Token token = m_tokens.peek();
            if (token.kind == CBracket) {
                next();
                return;
            }
            if (token.kind == End) {
                throw stopAt(open.line, open.column, Rules::BodyUnclosed,
                             open.line == token.line
                                 ? QStringLiteral("the [ ] body is not closed on this line")
                                 : QStringLiteral("the [ ] body is never closed: end it with ]"));
            }
            if (startsDeclaration(token)) {
                throw stopAt(m_lastLine, m_lastColumn, Rules::BodyUnclosed,
                             QStringLiteral("the [ ] body is not closed before the "
                                            "next @ declaration: end it with ]"));
            }
            try {
                parseKeyValue();
            } catch (const Stop& stop) {
                recover(stop);
                skipKeyValue(token);
            }
        }
    }

    // After a problem in a key-value: skips to the next one, the name that starts a line or
    // comes before a (, or to the ] that closes the body.
    void skipKeyValue(const Token& first) {
        const Token& at = m_tokens.peek();
        if (at.line == first.line && at.column == first.column)
            next(); // nothing was read: a token the key-value cannot start with
        for (;;) {
            const Token& token = m_tokens.peek();
            if (token.kind == End || startsDeclaration(token))
                return;
            if (m_depth == 1 && token.kind == CBracket)
                return;
            if (m_depth == 1 && token.kind == Word) {
                Tokenizer ahead = m_tokens;
                ahead.next();
                if (token.firstOnLine || ahead.peek().kind == OParen)
                    return;
            }
            next();
        }
    }

    void parseKeyValue() {
        const QString shape =
            QStringLiteral("a key-value reads name(type) : \"Label\", like health(integer) : "
                           "\"Health\"");
        if (const Token& value = m_tokens.peek();
            (value.kind & (Number | String)) && m_lastKind == String) {
            refuse(value, Rules::DefaultColon,
                   QStringLiteral("a default value after the label needs its : before it, "
                                  "like : \"Label\" : %1")
                       .arg(value.kind == String ? QStringLiteral("\"%1\"").arg(value.text)
                                                 : value.text.toString()));
        }
        const Token key = expect(Word | Integer, Rules::KeyValueShape, shape);
        if (isListed(key.text, InputOutputWords) && m_tokens.peek().kind == Word)
            return parseInputOutput();
        if (!isKeyName(key.text)) {
            warn(key, Rules::KeyNameCharacters,
                 QStringLiteral("the key name \"%1\" has a character no game code "
                                "reads: use only letters, digits and _")
                     .arg(key.text));
        }
        expect(OParen, Rules::KeyValueShape, shape);
        const Token type = expect(Word, Rules::KeyValueShape, shape);
        expect(CParen, Rules::KeyValueShape, shape);
        KeyValue* details = nullptr;
        if (m_details) {
            m_item->details.keys.append(
                {key.text.toString(), type.text.toString(), {}, {}, {}, {key.line, key.column}});
            details = &m_item->details.keys.last();
        }
        checkKeyTwice(key, type);
        if (!isKnownType(type.text)) {
            const QString guess = nearest(type.text, HalfLifeTypes);
            refuse(type, Rules::UnknownType,
                   guess.isEmpty()
                       ? QStringLiteral("\"%1\" is not a key-value type: use string, "
                                        "integer, choices, flags or another type (Hammer "
                                        "refuses the file, TrenchBroom reads a text)")
                             .arg(type.text)
                       : QStringLiteral("\"%1\" is not a key-value type: type %2 (Hammer "
                                        "refuses the file, TrenchBroom reads a text)")
                             .arg(type.text, guess));
        }
        if (isListed(type.text, u"flags"))
            return parseFlags();

        if (m_tokens.peek().kind == Word && m_tokens.peek().text == u"readonly")
            next();
        const bool isInteger = isListed(type.text, u"integer");
        parseLabel(details ? &details->label : nullptr);
        std::optional<Token> given; // the default value
        if (m_tokens.peek().kind == Colon) {
            next();
            const unsigned defaults = isInteger ? Number | Colon : String | Number | Colon;
            const Token value = m_tokens.peek();
            if (!(value.kind & defaults)) {
                refuse(value, Rules::DefaultValue,
                       isInteger ? QStringLiteral("the default of an integer must be a number")
                                 : QStringLiteral("the default after the label must be a "
                                                  "number or a text in double quotes"));
            }
            if (value.kind != Colon) {
                given = next();
                checkDefault(*given, type.text);
                if (details)
                    details->defaultValue = given->text.toString();
            }
        }
        parseLabel();
        if (isListed(type.text, u"choices")) {
            const QList<Token> choices = parseChoices(details ? &details->choices : nullptr);
            // An empty text is no default at all.
            if (given && !given->text.isEmpty() && !choices.isEmpty() &&
                std::none_of(choices.begin(), choices.end(),
                             [&](const Token& choice) { return sameValue(choice, *given); })) {
                warn(*given, Rules::DefaultChoice,
                     QStringLiteral("the default %1 is none of the choices: a new entity "
                                    "starts with a value no choice names")
                         .arg(given->kind == String ? QStringLiteral("\"%1\"").arg(given->text)
                                                    : given->text.toString()));
            }
        }
    }

    // Whether a choice's value is the default: the same text, or the same number.
    static bool sameValue(const Token& choice, const Token& given) {
        if (choice.text == given.text)
            return true;
        return isNumber(choice.text) && isNumber(given.text) &&
               choice.text.toDouble() == given.text.toDouble();
    }

    // A default the editors read otherwise than it is written.
    void checkDefault(const Token& value, QStringView type) {
        if ((value.kind & Number) && isListed(type, TextTypes)) {
            warn(value, Rules::DefaultType,
                 QStringLiteral("write the default of a %1 in double quotes, \"%2\": "
                                "TrenchBroom reads a bare number but logs a warning")
                     .arg(type.toString().toLower(), value.text));
        } else if (value.kind == Decimal && isListed(type, u"integer")) {
            warn(value, Rules::DefaultType,
                 QStringLiteral("the default of an integer is a whole number: the editors cut "
                                "%1 to %2")
                     .arg(value.text)
                     .arg(qint64(value.text.toDouble())));
        } else if (value.kind == Decimal && isListed(type, u"float")) {
            warn(value, Rules::DefaultType,
                 QStringLiteral("write the default of a float in double quotes, \"%1\": "
                                "TrenchBroom reads a bare decimal but logs a warning")
                     .arg(value.text));
        }
    }

    // A key-value declared twice in one class. Hammer (GDclass::ParseVariables, AddVariable)
    // keeps the later one when the types agree, joining the choices or flags of the two; when
    // they differ it reports "multiply defined with different types" in its messages, keeps the
    // first and goes on loading. TrenchBroom (addPropertyDefinition) keeps the first and logs
    // "Skipping duplicate property definition". No editor refuses the file: a warning.
    void checkKeyTwice(const Token& key, const Token& type) {
        // A class has a few dozen key-values at most: a scan is cheaper than a hash.
        const auto earlier = std::find_if(m_keys.cbegin(), m_keys.cend(),
                                          [&](const auto& seen) { return seen.first == key.text; });
        if (earlier == m_keys.cend()) {
            m_keys.push_back({key.text, type.text});
            return;
        }
        const QString name = key.text.toString();
        if (earlier->second.compare(type.text, Qt::CaseInsensitive) == 0) {
            warn(key, Rules::KeyTwice,
                 QStringLiteral("the key-value %1 is declared twice in this class: Hammer uses "
                                "this one, TrenchBroom the first: remove one")
                     .arg(name));
            return;
        }
        const QString reason =
            QStringLiteral("the key-value %1 is declared twice in this class, as %2 and as %3: "
                           "every editor uses the first and skips this one (Hammer reports it "
                           "in its messages, TrenchBroom logs a warning): remove one")
                .arg(name, earlier->second.toString().toLower(), type.text.toString().toLower());
        warn(key, Rules::KeyTwice, reason);
    }

    // An optional : "text".
    void parseLabel(QString* label = nullptr) {
        if (m_tokens.peek().kind != Colon)
            return;
        next();
        const Token value = m_tokens.peek();
        if (value.kind == Colon)
            return;
        parseText(Rules::LabelQuotes, QStringLiteral("the label after : must be in double quotes"),
                  label);
    }

    void parseInputOutput() {
        const QString shape =
            QStringLiteral("an input or output reads input Name(type) : \"Label\", like "
                           "input Toggle(void) : \"Toggle\"");
        expect(Word, Rules::InputOutputShape, shape);
        expect(OParen, Rules::InputOutputShape, shape);
        const Token type = expect(Word, Rules::InputOutputShape, shape);
        if (!isListed(type.text, InputOutputTypes))
            refuse(type, Rules::InputOutputShape, shape);
        expect(CParen, Rules::InputOutputShape, shape);
        parseLabel();
    }

    // Reads the choices and returns their values; with details, each value and label.
    QList<Token> parseChoices(QList<Choice>* details) {
        QList<Token> values;
        const QString list =
            QStringLiteral("choices need = and a list, like = [ 0 : \"No\" 1 : \"Yes\" ]");
        expect(Equals, Rules::ChoicesShape, list);
        expect(OBracket, Rules::ChoicesShape, list);
        const QString item =
            QStringLiteral("each choice is a value, : and a label in double quotes, like "
                           "0 : \"No\"");
        for (Token value = expect(Number | String | CBracket, Rules::ChoicesShape, item);
             value.kind != CBracket;
             value = expect(Number | String | CBracket, Rules::ChoicesShape, item)) {
            values << value;
            expect(Colon, Rules::ChoicesShape, item);
            QString label;
            parseText(Rules::ChoicesShape, item, &label);
            if (details)
                details->append({value.text.toString(), label});
            if (const Token after = m_tokens.peek(); after.kind == Colon) {
                onlyIn(after, Editor::Jack, Rules::ChoiceHelpText,
                       QStringLiteral("only J.A.C.K. reads a help text after a choice's "
                                      "label, other editors refuse the file: remove it "
                                      "with its :"));
                next();
                parseText(Rules::ChoiceHelpText,
                          QStringLiteral("the help text after a choice's : must be in double "
                                         "quotes"));
            }
        }
        return values;
    }

    // The highest of the 24 flags the editors' spawnflags boxes show.
    static constexpr qint64 MaxFlag = qint64(1) << 23;

    void parseFlags() {
        const QString list = QStringLiteral(
            "flags need = and a list, like spawnflags(flags) = [ 1 : \"Start On\" : 0 ]");
        expect(Equals, Rules::FlagsShape, list);
        expect(OBracket, Rules::FlagsShape, list);
        const QString item = QStringLiteral(
            "each flag is a number, : and a label in double quotes, like 1 : \"Start On\" : 0");
        Token value = expect(Integer | CBracket, Rules::FlagsShape, item);
        while (value.kind != CBracket) {
            const qint64 bit = value.text.toLongLong();
            // The editors take any number, but a flag is one bit of spawnflags.
            if (!isWholeNumber(value.text) || bit <= 0 || (bit & (bit - 1)) != 0) {
                warn(value, Rules::FlagBit,
                     QStringLiteral("a flag's number must be 1, 2, 4, 8 and so on: "
                                    "any other sets no one flag of its own"));
            } else if (bit > MaxFlag) {
                warn(value, Rules::FlagRange,
                     QStringLiteral("the editors show 24 flags, 1 to %1: this one cannot be "
                                    "set in them")
                         .arg(MaxFlag));
            }
            expect(Colon, Rules::FlagsShape, item);
            Flag flag{bit, {}, false, value.line};
            parseText(Rules::FlagsShape, item, &flag.label);
            if (m_tokens.peek().kind == Colon) {
                next();
                flag.setByDefault = expect(Integer, Rules::FlagsShape, item).text.toLongLong() != 0;
            }
            if (m_details)
                m_item->details.flags.append(flag);
            value = expect(Integer | CBracket | Colon, Rules::FlagsShape, item);
            if (value.kind == Colon) {
                parseText(Rules::FlagsShape, item);
                value = expect(Integer | CBracket, Rules::FlagsShape, item);
            }
        }
    }

    const QStringList& m_lines;
    Tokenizer m_tokens;
    int m_lastLine = 0; // where the token taken last is
    qsizetype m_lastColumn = 0;
    int m_previousEnd = -1;
    int m_depth = 0;
    unsigned m_lastKind = End; // the kind of the token taken last
    QStringView m_helper;      // the helper whose arguments are being read
    // The key-values of the body being read, with their types (views into m_lines).
    QVarLengthArray<std::pair<QStringView, QStringView>, 64> m_keys;
    ParsedItem* m_item = nullptr; // the item being read
    const bool m_details;         // whether each declaration's details are filled in
};

} // namespace

void parseItems(const QStringList& lines, int from,
                const std::function<void(const ParsedItem&)>& report, bool details) {
    Parser parser(lines, from, details);
    ParsedItem item;
    while (parser.nextItem(item))
        report(item);
}

} // namespace fgd
