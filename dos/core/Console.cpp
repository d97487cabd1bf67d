#include "dos/core/Console.h"

#include <algorithm>
#include <utility>

namespace dos {

namespace {

const QList<std::pair<QString, Key::Kind>> &namedKeys()
{
    static const QList<std::pair<QString, Key::Kind>> keys = {
        {QStringLiteral("{F3}"), Key::F3},
        {QStringLiteral("{F8}"), Key::F8},
        {QStringLiteral("{Up}"), Key::Up},
        {QStringLiteral("{Down}"), Key::Down},
        {QStringLiteral("{Esc}"), Key::Escape},
        {QStringLiteral("{Backspace}"), Key::Backspace},
        {QStringLiteral("{Enter}"), Key::Enter},
        {QStringLiteral("{Ctrl+C}"), Key::CtrlC},
        {QStringLiteral("{Ctrl+Alt+Del}"), Key::CtrlAltDel},
    };
    return keys;
}

}  // namespace

QList<Key> parseKeys(const QString &keys)
{
    QList<Key> parsed;
    for (qsizetype index = 0; index < keys.size(); ++index) {
        const QChar c = keys.at(index);
        const QChar next = index + 1 < keys.size() ? keys.at(index + 1) : QChar();
        if (c == u'{') {
            const auto named = std::find_if(namedKeys().begin(), namedKeys().end(), [&](const auto &key) {
                return QStringView(keys).mid(index).startsWith(key.first, Qt::CaseInsensitive);
            });
            if (named != namedKeys().end()) {
                parsed.append(Key{named->second, {}});
                index += named->first.size() - 1;
                continue;
            }
        }
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

bool HeadlessConsole::takeTypedAhead(Key::Kind kind)
{
    if (m_keys.isEmpty() || m_keys.first().kind != kind)
        return false;
    m_keys.removeFirst();
    return true;
}

// Keys given in advance were all typed before the moment came: only the next one counts.
bool HeadlessConsole::keyWithin(Key::Kind kind, int)
{
    return takeTypedAhead(kind);
}

}  // namespace dos
