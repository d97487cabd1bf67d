#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace dos {

// How quotes read. MS-DOS mode knows no long names, so there a quote is an ordinary character and
// "Long Name.txt" two words; grouped, a quoted text is one word and may hold blanks.
enum class Quotes { Plain, Grouped };

// One argument of a command: a word, or a switch that starts with '/'.
struct Token {
    enum Kind { Word, Switch };
    Kind kind = Word;
    QString text;  // a switch with its '/'; a grouped word without its quotes
    bool quoted = false;
    bool operator==(const Token &other) const = default;
};

// A command line taken apart.
struct CommandLine {
    QString name;  // as typed; empty for a line without a command
    QString rest;  // everything after the name, its separator included, without the redirection
    QList<Token> arguments;  // rest split into words and switches
    QString inputFile;  // named by "< FILE"; empty without
    bool valid = true;  // false: "<" without a file name

    QStringList argumentTexts() const;
};

// Arguments are split at blanks, commas, semicolons and equals signs; a '/' starts a switch of its
// own ("C:\X/V" gives "C:\X" and "/V").
QList<Token> tokenise(const QString &text, Quotes quotes = Quotes::Plain);

// Every "< FILE" is taken out of the line, the last one names the input, as in COMMAND.COM. The
// name ends at a blank or '/', or for one of gluedNames (lower case) also at ".\:+[" ("echo.",
// "cd..").
CommandLine parseCommandLine(const QString &text, const QStringList &gluedNames,
                             Quotes quotes = Quotes::Plain);

}  // namespace dos
