#pragma once

#include "Rules.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <optional>

// Splits FGD source lines into tokens the way the level editors' FGD parsers do: words, numbers,
// quoted texts and the signs ( ) [ ] = : , +. Line breaks count as spaces, and // starts a
// comment that runs to the end of its line.

namespace fgd {

// Token kinds are bits, so that the parser can ask for any of several kinds at once:
// expect(Integer | CBracket, ...), and Number is Integer | Decimal.
namespace TokenKind {
enum : unsigned {
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
    Bad = 1u << 13, // a character no editor reads here; Token::problem says why
};
inline constexpr unsigned Number = Integer | Decimal;
} // namespace TokenKind

struct Token {
    unsigned kind = TokenKind::End;
    int line = 0;
    qsizetype column = 0;
    bool firstOnLine = false;
    QStringView text;           // for String: the text between the quotes
    QString problem;            // for Bad
    const Rule* rule = nullptr; // for Bad: the kind of its problem
};

// An @ word at the start of a line begins a declaration, wherever the one above stopped.
bool startsDeclaration(const Token& token);

// Reads tokens from lines, starting at line `from`. A quoted text never runs on to the next
// line: a missing closing quote is reported on its own line. Copies share furthestLine(), so a
// copy that looks ahead counts as looking.
class Tokenizer {
public:
    Tokenizer(const QStringList& lines, int from);

    // Takes the next token.
    Token next();
    // The next token, left in place.
    const Token& peek();

    // The furthest line any token was read from, peeks and looks ahead included: what a reading
    // found depends on the lines up to there.
    int furthestLine() const { return *m_furthest; }
    void resetFurthestLine(int line) { *m_furthest = line; }

private:
    Token read();
    Token readToken();
    bool continuesText() const;
    unsigned readNumberOrWord(QStringView text);

    const QStringList& m_lines;
    int m_line;
    qsizetype m_pos = 0;
    bool m_lineStart = true; // nothing but spaces read on this line so far
    std::optional<Token> m_peeked;
    std::shared_ptr<int> m_furthest = std::make_shared<int>(0);
};

} // namespace fgd
