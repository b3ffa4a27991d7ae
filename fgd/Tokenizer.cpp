#include "Tokenizer.h"

#include "Vocabulary.h"

#include <algorithm>

namespace fgd {

using namespace TokenKind;

namespace {

// The kind of a one-character sign, or 0.
unsigned signKind(QChar c) {
    switch (c.unicode()) {
    case '(':
        return OParen;
    case ')':
        return CParen;
    case '[':
        return OBracket;
    case ']':
        return CBracket;
    case '=':
        return Equals;
    case ':':
        return Colon;
    case ',':
        return Comma;
    default:
        return 0;
    }
}

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

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

const QString BraceReason = QStringLiteral(
    "only TrenchBroom reads { } here and the other editors refuse the file: for a model, "
    "write studio(\"models/name.mdl\")");

// Makes token a Bad one that says why.
Token bad(Token& token, const Rule& rule, const QString& problem) {
    token.kind = Bad;
    token.rule = &rule;
    token.problem = problem;
    return token;
}

} // namespace

bool startsDeclaration(const Token& token) {
    return token.kind == Word && token.firstOnLine && token.text.startsWith(u'@');
}

Tokenizer::Tokenizer(const QStringList& lines, int from)
    : m_lines(lines)
    , m_line(from) {}

Token Tokenizer::next() {
    if (m_peeked) {
        Token token = std::move(*m_peeked);
        m_peeked.reset();
        return token;
    }
    return read();
}

const Token& Tokenizer::peek() {
    if (!m_peeked)
        m_peeked = read();
    return *m_peeked;
}

Token Tokenizer::read() {
    Token token = readToken();
    // Finding no more tokens depends on there being no more lines.
    const int line = token.kind == End ? static_cast<int>(m_lines.size()) : token.line;
    *m_furthest = std::max(*m_furthest, line);
    return token;
}

Token Tokenizer::readToken() {
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
        if (const unsigned sign = signKind(c)) {
            ++m_pos;
            token.kind = sign;
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
            return bad(token, Rules::StraySlash,
                       QStringLiteral("a single / here: remove it (a comment starts "
                                      "with //)"));
        case '{':
        case '}':
            ++m_pos;
            return bad(token, Rules::Braces, BraceReason);
        case '"': {
            const qsizetype close = text.indexOf(u'"', m_pos + 1);
            if (close < 0) {
                m_pos = text.size();
                return bad(token, Rules::UnclosedQuote,
                           QStringLiteral("the closing double quote is missing"));
            }
            token.kind = String;
            token.text = text.sliced(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            // Some editors read \" as a quote inside the text and go on past it.
            if (token.text.endsWith(u'\\')) {
                return bad(token, Rules::BackslashBeforeQuote,
                           QStringLiteral("a \\ right before a closing double quote "
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

// A + joins two quoted texts only when the next thing after it is a quote.
bool Tokenizer::continuesText() const {
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
// This decides only the kind of token the editors' tokenizers see, and so where it ends: they
// take a lone "-" or ".", or "1e", as a number token too. Whether its text is a number they can
// use is isNumber()'s question (Vocabulary.h), asked where a value must be one.
unsigned Tokenizer::readNumberOrWord(QStringView text) {
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

} // namespace fgd
