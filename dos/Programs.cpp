#include "dos/Commands.h"

#include <QHash>

namespace dos {

QStringList splitArguments(const QString &text)
{
    QStringList arguments;
    QString current;
    const auto flush = [&] {
        if (!current.isEmpty())
            arguments.append(current);
        current.clear();
    };
    for (const QChar c : text) {
        if (c.isSpace() || c == u',' || c == u';' || c == u'=') {
            flush();
        } else if (c == u'/') {
            flush();
            current = c;
        } else {
            current += c;
        }
    }
    flush();
    return arguments;
}

bool isSwitch(const QString &argument)
{
    return argument.startsWith(u'/');
}

Program programFor(const QString &standInName)
{
    static const QHash<QString, Program> programs = {
        {QStringLiteral("ATTRIB.EXE"), attribProgram},
        {QStringLiteral("SCANDISK.EXE"), scanDiskProgram},
    };
    return programs.value(standInName, nullptr);
}

}  // namespace dos
