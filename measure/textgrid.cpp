#include "measure/textgrid.h"

#include <QFile>
#include <QStringDecoder>

#include <cmath>
#include <optional>

namespace {

// The text format is a run of free-standing values: numbers, quoted strings ("" stands for
// a quote) and <flags>. The long format puts names before them (`xmin =`, `intervals [3]:`);
// the short one leaves them out. Reading only the values reads both.
struct Token
{
    enum class Kind { Number, String, Flag };
    Kind kind = Kind::Number;
    QString text;
    double number = 0;
    int line = 0;
};

struct Tokens
{
    std::vector<Token> tokens;
    QString error;
    int line = 0;
};

QString decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(body);
    // Older files are in Latin-1: their accented labels survive rather than turn into
    // replacement characters.
    if (utf8.hasError())
        text = QString::fromLatin1(body);
    return text;
}

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QLatin1Char('\f') || c == QLatin1Char('\v');
}

Tokens tokenize(const QString &text)
{
    Tokens result;
    int line = 1;
    const qsizetype size = text.size();
    qsizetype i = 0;
    const auto newline = [&](qsizetype at) {
        // CR LF is one line end; a lone CR or LF is one too.
        if (text[at] == QLatin1Char('\n'))
            ++line;
        else if (text[at] == QLatin1Char('\r') &&
                 (at + 1 >= size || text[at + 1] != QLatin1Char('\n')))
            ++line;
    };
    while (i < size) {
        const QChar c = text[i];
        if (isSpace(c)) {
            newline(i);
            ++i;
        } else if (c == QLatin1Char('"')) {
            Token token{Token::Kind::String, {}, 0, line};
            ++i;
            bool closed = false;
            while (i < size) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < size && text[i + 1] == QLatin1Char('"')) {
                        token.text += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                newline(i);
                token.text += text[i++];
            }
            if (!closed) {
                result.error = QStringLiteral("a quoted text is not closed");
                result.line = token.line;
                return result;
            }
            result.tokens.push_back(std::move(token));
        } else if (c == QLatin1Char('<')) {
            Token token{Token::Kind::Flag, {}, 0, line};
            ++i;
            while (i < size && text[i] != QLatin1Char('>') && !isSpace(text[i]))
                token.text += text[i++];
            if (i >= size || text[i] != QLatin1Char('>')) {
                result.error = QStringLiteral("a <flag> is not closed");
                result.line = token.line;
                return result;
            }
            ++i;
            result.tokens.push_back(std::move(token));
        } else if (c == QLatin1Char('!')) {
            while (i < size && text[i] != QLatin1Char('\n') && text[i] != QLatin1Char('\r'))
                ++i;
        } else if (c == QLatin1Char('[')) {
            // An index such as [3] in the long format names, not a value.
            while (i < size && text[i] != QLatin1Char(']')) {
                newline(i);
                ++i;
            }
            ++i;
        } else if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') ||
                   c == QLatin1Char('.')) {
            const qsizetype begin = i;
            while (i < size && !isSpace(text[i]) && text[i] != QLatin1Char('"') &&
                   text[i] != QLatin1Char('!'))
                ++i;
            const QString word = text.mid(begin, i - begin);
            bool ok = false;
            const double value = word.toDouble(&ok);
            if (!ok || !std::isfinite(value)) {
                result.error = QStringLiteral("\"%1\" is not a number").arg(word.left(40));
                result.line = line;
                return result;
            }
            result.tokens.push_back({Token::Kind::Number, word, value, line});
        } else {
            // A name of the long format: xmin, =, intervals:, tiers?, size ...
            while (i < size && !isSpace(text[i]) && text[i] != QLatin1Char('"') &&
                   text[i] != QLatin1Char('<') && text[i] != QLatin1Char('[') &&
                   text[i] != QLatin1Char('!'))
                ++i;
        }
    }
    return result;
}

// Walks the values in the order the format gives them; the first fault stops it.
class GridParser
{
public:
    explicit GridParser(const std::vector<Token> &tokens) : m_tokens(tokens) {}

    TextGridReadResult parse()
    {
        TextGridReadResult result;
        if (!parseInto(result.grid)) {
            result.grid = {};
            result.error = m_error;
            result.line = m_line;
        }
        return result;
    }

private:
    bool fail(const QString &error, int line)
    {
        m_error = error;
        m_line = line;
        return false;
    }

    int lastLine() const { return m_tokens.empty() ? 1 : m_tokens.back().line; }

    const Token *next(Token::Kind kind, const char *what)
    {
        if (m_at >= m_tokens.size()) {
            fail(QStringLiteral("the file ends where %1 should follow").arg(QLatin1String(what)),
                 lastLine());
            return nullptr;
        }
        const Token &token = m_tokens[m_at++];
        if (token.kind != kind) {
            fail(QStringLiteral("%1 expected").arg(QLatin1String(what)), token.line);
            return nullptr;
        }
        return &token;
    }

    std::optional<double> number(const char *what)
    {
        const Token *token = next(Token::Kind::Number, what);
        if (!token)
            return std::nullopt;
        return token->number;
    }

    // A count of what follows, each taking `tokensEach` values: more than the file holds is
    // a damaged file, and must not become a huge allocation.
    std::optional<std::size_t> count(const char *what, std::size_t tokensEach)
    {
        const Token *token = next(Token::Kind::Number, what);
        if (!token)
            return std::nullopt;
        const double value = token->number;
        if (value < 0 || value != std::floor(value)) {
            fail(QStringLiteral("%1 must be a whole number, not %2")
                     .arg(QLatin1String(what), token->text),
                 token->line);
            return std::nullopt;
        }
        if (value * double(tokensEach) > double(m_tokens.size() - m_at)) {
            fail(QStringLiteral("%1 is %2, but the file ends before that many follow")
                     .arg(QLatin1String(what), token->text),
                 token->line);
            return std::nullopt;
        }
        return std::size_t(value);
    }

    bool parseInto(TextGrid &grid)
    {
        const Token *type = next(Token::Kind::String, "the file type \"ooTextFile\"");
        if (!type)
            return false;
        if (type->text.startsWith(QStringLiteral("ooBinaryFile")))
            return fail(QStringLiteral("a binary TextGrid; save it as a text file"), type->line);
        if (!type->text.startsWith(QStringLiteral("ooTextFile")))
            return fail(QStringLiteral("not a TextGrid text file"), type->line);
        const Token *objectClass = next(Token::Kind::String, "the object class \"TextGrid\"");
        if (!objectClass)
            return false;
        if (objectClass->text != QStringLiteral("TextGrid"))
            return fail(QStringLiteral("holds a %1, not a TextGrid").arg(objectClass->text),
                        objectClass->line);
        const auto start = number("the start time");
        const auto end = number("the end time");
        if (!start || !end)
            return false;
        grid.start = *start;
        grid.end = *end;
        const Token *exists = next(Token::Kind::Flag, "<exists> or <absent>");
        if (!exists)
            return false;
        if (exists->text == QStringLiteral("absent"))
            return true;
        if (exists->text != QStringLiteral("exists"))
            return fail(QStringLiteral("<exists> or <absent> expected"), exists->line);
        const auto tiers = count("the number of tiers", 5);
        if (!tiers)
            return false;
        grid.tiers.reserve(*tiers);
        for (std::size_t t = 0; t < *tiers; ++t) {
            TextGridTier tier;
            if (!parseTier(tier))
                return false;
            grid.tiers.push_back(std::move(tier));
        }
        return true;
    }

    bool parseTier(TextGridTier &tier)
    {
        const Token *kind = next(Token::Kind::String, "a tier class");
        if (!kind)
            return false;
        tier.line = kind->line;
        if (kind->text == QStringLiteral("IntervalTier"))
            tier.intervals = true;
        else if (kind->text == QStringLiteral("TextTier"))
            tier.intervals = false;
        else
            return fail(QStringLiteral("unknown tier class \"%1\"").arg(kind->text), kind->line);
        const Token *name = next(Token::Kind::String, "the tier name");
        if (!name)
            return false;
        tier.name = name->text;
        if (!number("the tier start") || !number("the tier end"))
            return false;
        const auto items =
            count(tier.intervals ? "the number of intervals" : "the number of points",
                  tier.intervals ? 3 : 2);
        if (!items)
            return false;
        tier.items.reserve(*items);
        for (std::size_t k = 0; k < *items; ++k) {
            TextGridItem item;
            item.line = m_at < m_tokens.size() ? m_tokens[m_at].line : lastLine();
            const auto start = number(tier.intervals ? "an interval start" : "a point time");
            if (!start)
                return false;
            item.start = item.end = *start;
            if (tier.intervals) {
                const auto end = number("an interval end");
                if (!end)
                    return false;
                if (*end < *start)
                    return fail(QStringLiteral("an interval ends (%1 s) before it starts (%2 s)")
                                    .arg(*end)
                                    .arg(*start),
                                item.line);
                item.end = *end;
            }
            const Token *text =
                next(Token::Kind::String, tier.intervals ? "an interval's text" : "a point's text");
            if (!text)
                return false;
            item.text = text->text;
            tier.items.push_back(std::move(item));
        }
        return true;
    }

    const std::vector<Token> &m_tokens;
    std::size_t m_at = 0;
    QString m_error;
    int m_line = 0;
};

} // namespace

QString TextGridTier::labelAt(double t) const
{
    if (!intervals)
        return {};
    for (const TextGridItem &item : items) {
        if (item.start <= t && t < item.end)
            return item.text;
    }
    // The grid's very end belongs to its last interval.
    for (const TextGridItem &item : items) {
        if (item.end == t)
            return item.text;
    }
    return {};
}

const TextGridTier *TextGrid::findTier(const QString &name) const
{
    for (const TextGridTier &tier : tiers) {
        if (tier.name.compare(name, Qt::CaseInsensitive) == 0)
            return &tier;
    }
    return nullptr;
}

TextGridReadResult ParseTextGrid(const QByteArray &bytes)
{
    const Tokens tokens = tokenize(decode(bytes));
    if (!tokens.error.isEmpty()) {
        TextGridReadResult result;
        result.error = tokens.error;
        result.line = tokens.line;
        return result;
    }
    return GridParser(tokens.tokens).parse();
}

TextGridReadResult ReadTextGridFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        TextGridReadResult result;
        result.error = QStringLiteral("cannot be opened: %1").arg(file.errorString());
        return result;
    }
    // An annotation is text; anything past this is not one, and must not fill the memory.
    constexpr qint64 kLargest = qint64(1) << 30;
    if (file.size() > kLargest) {
        TextGridReadResult result;
        result.error = QStringLiteral("is larger than 1 GB; not a TextGrid");
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        TextGridReadResult result;
        result.error = QStringLiteral("cannot be read: %1").arg(file.errorString());
        return result;
    }
    return ParseTextGrid(bytes);
}
