#include "dos/core/Console.h"

namespace dos {

QList<Key> parseKeys(const QString &keys)
{
    QList<Key> parsed;
    for (qsizetype index = 0; index < keys.size(); ++index) {
        const QChar c = keys.at(index);
        const QChar next = index + 1 < keys.size() ? keys.at(index + 1) : QChar();
        if (c == u'\n' || c == u'\r') {
            parsed.append(Key{Key::Enter, {}});
        } else if (c == u'\\' && next == u'n') {
            parsed.append(Key{Key::Enter, {}});
            ++index;
        } else if (c == u'^' && next.toUpper() == u'C') {
            parsed.append(Key{Key::CtrlC, {}});
            ++index;
        } else {
            parsed.append(Key{Key::Character, c});
        }
    }
    return parsed;
}

QList<Key> keysOfText(const QString &text)
{
    QList<Key> keys;
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar c = text.at(index);
        if (c == u'\r' || c == u'\n') {
            keys.append(Key{Key::Enter, {}});
            if (c == u'\r' && index + 1 < text.size() && text.at(index + 1) == u'\n')
                ++index;
        } else {
            keys.append(Key{Key::Character, c});
        }
    }
    return keys;
}

HeadlessConsole::HeadlessConsole(const QString &keys)
    : m_keys(parseKeys(keys))
{}

std::optional<Key> HeadlessConsole::readKey()
{
    if (m_keys.isEmpty())
        return std::nullopt;
    return m_keys.takeFirst();
}

}  // namespace dos
