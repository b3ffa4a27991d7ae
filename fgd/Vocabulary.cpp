#include "Vocabulary.h"

#include <algorithm>
#include <vector>

namespace fgd {

namespace {

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

} // namespace

bool isListed(QStringView word, QStringView names) {
    // The editors compare these words as ASCII, whatever the case (and the check runs this for
    // nearly every token): each name is compared in place, letter by letter.
    const auto fold = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    };
    const qsizetype size = word.size();
    for (qsizetype start = 0; start < names.size();) {
        qsizetype end = start;
        while (end < names.size() && names[end] != u' ')
            ++end;
        if (end - start == size) {
            qsizetype i = 0;
            while (i < size && fold(word[i].unicode()) == fold(names[start + i].unicode()))
                ++i;
            if (i == size)
                return true;
        }
        start = end + 1;
    }
    return false;
}

QString nearest(QStringView word, QStringView names, int mostEdits) {
    const int allowed = word.size() <= 3 ? 1 : mostEdits;
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

bool isKnownHelper(QStringView name) {
    return isListed(name, HalfLifeHelpers) || isListed(name, OtherHelpers);
}

bool isKnownType(QStringView name) {
    return isListed(name, HalfLifeTypes) || isListed(name, OtherTypes);
}

bool hasStrayQuote(QStringView word) {
    return std::any_of(word.begin(), word.end(),
                       [](QChar c) { return c == u'"' || c == u'\'' || c == u'{' || c == u'}'; });
}

namespace {
char16_t unit(QChar c) {
    return c.unicode();
}
char16_t unit(char c) {
    return uchar(c);
}
template <typename View> bool spellsIdentifier(View name) {
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), [](auto c) {
        const char16_t u = unit(c);
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
               u == u'_';
    });
}
} // namespace

bool isIdentifier(QStringView name) {
    return spellsIdentifier(name);
}

bool isIdentifier(QLatin1StringView name) {
    return spellsIdentifier(name);
}

bool isKeyName(QStringView name) {
    if (name.startsWith(u'$'))
        name = name.sliced(1);
    if (const qsizetype hash = name.lastIndexOf(u'#'); hash > 0) {
        const QStringView index = name.sliced(hash + 1);
        if (index.isEmpty() || !std::all_of(index.begin(), index.end(), isDigit))
            return false;
        name = name.first(hash);
    }
    return isIdentifier(name);
}

bool isWholeNumber(QStringView text) {
    bool ok = false;
    (void)text.toLongLong(&ok);
    return ok;
}

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

} // namespace fgd
