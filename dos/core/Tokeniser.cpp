#include "dos/core/Tokeniser.h"

namespace dos {

namespace {

// Characters that end an internal command's name without a blank.
const QString NameEnds = QStringLiteral(".\\:+[");
const QString ArgumentEnds = QStringLiteral(",;=/");
const QString RedirectionEnds = QStringLiteral("<>|");

// Where the word that starts at index ends: at a blank or one of ends outside quotes.
qsizetype wordEnd(const QString &text, qsizetype index, const QString &ends, Quotes quotes)
{
    bool inQuotes = false;
    for (; index < text.size(); ++index) {
        const QChar c = text.at(index);
        if (quotes == Quotes::Grouped && c == u'"')
            inQuotes = !inQuotes;
        else if (!inQuotes && (c.isSpace() || ends.contains(c)))
            break;
    }
    return index;
}

Token token(QString text, Token::Kind kind, Quotes quotes)
{
    const bool quoted = quotes == Quotes::Grouped && text.contains(u'"');
    if (quoted)
        text.remove(u'"');
    return Token{kind, text, quoted};
}

bool takeRedirection(QString &command, QString &inputFile, Quotes quotes)
{
    bool inQuotes = false;
    qsizetype index = 0;
    while (index < command.size()) {
        const QChar c = command.at(index);
        if (quotes == Quotes::Grouped && c == u'"')
            inQuotes = !inQuotes;
        if (c != u'<' || inQuotes) {
            ++index;
            continue;
        }
        qsizetype start = index + 1;
        while (start < command.size() && command.at(start).isSpace())
            ++start;
        const qsizetype end = wordEnd(command, start, RedirectionEnds, quotes);
        if (end == start)
            return false;
        inputFile = token(command.mid(start, end - start), Token::Word, quotes).text;
        command.remove(index, end - index);
    }
    return true;
}

}  // namespace

QStringList CommandLine::argumentTexts() const
{
    QStringList texts;
    for (const Token &argument : arguments)
        texts.append(argument.text);
    return texts;
}

QList<Token> tokenise(const QString &text, Quotes quotes)
{
    QList<Token> tokens;
    qsizetype index = 0;
    while (index < text.size()) {
        const QChar c = text.at(index);
        if (c.isSpace() || (ArgumentEnds.contains(c) && c != u'/')) {
            ++index;
            continue;
        }
        const Token::Kind kind = c == u'/' ? Token::Switch : Token::Word;
        const qsizetype end = wordEnd(text, kind == Token::Switch ? index + 1 : index, ArgumentEnds, quotes);
        tokens.append(token(text.mid(index, end - index), kind, quotes));
        index = end;
    }
    return tokens;
}

CommandLine parseCommandLine(const QString &text, const QStringList &gluedNames, Quotes quotes)
{
    CommandLine line;
    QString command = text;
    line.valid = takeRedirection(command, line.inputFile, quotes);
    if (!line.valid)
        return line;
    command = command.trimmed();
    const qsizetype end = wordEnd(command, 0, QStringLiteral("/"), quotes);
    line.name = token(command.left(end), Token::Word, quotes).text;
    line.rest = command.mid(end);
    const QString lower = line.name.toLower();
    for (const QString &glued : gluedNames) {
        if (lower.size() > glued.size() && lower.startsWith(glued)
            && NameEnds.contains(lower.at(glued.size()))) {
            line.rest = line.name.mid(glued.size()) + line.rest;
            line.name = line.name.left(glued.size());
            break;
        }
    }
    line.arguments = tokenise(line.rest, quotes);
    return line;
}

}  // namespace dos
