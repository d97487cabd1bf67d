#include "compare/core/TextDiff.h"

#include "platform/text/AnsiText.h"

#include <dtl/dtl.hpp>

#include <QRegularExpression>

#include <algorithm>

#include <vector>

namespace compare {

namespace {

// The bytes Windows-1252 does not assign.
bool unassigned(char byte)
{
    const auto code = uchar(byte);
    return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

// The edit script as a flat list of lines, each with its place in both files.
QList<DiffLine> editScript(const QStringList &copy, const QStringList &original)
{
    const std::vector<QString> before(copy.cbegin(), copy.cend());
    const std::vector<QString> after(original.cbegin(), original.cend());
    // Removed lines before the added ones that take their place, as diff -u shows them.
    constexpr bool DeletesFirst = true;
    dtl::Diff<QString, std::vector<QString>> diff(before, after, DeletesFirst);
    diff.compose();
    QList<DiffLine> lines;
    for (const auto &[text, info] : diff.getSes().getSequence()) {
        const auto copyLine = int(info.beforeIdx);
        const auto originalLine = int(info.afterIdx);
        if (info.type == dtl::SES_DELETE)
            lines.append({DiffLine::Kind::Removed, text, copyLine, 0});
        else if (info.type == dtl::SES_ADD)
            lines.append({DiffLine::Kind::Added, text, 0, originalLine});
        else
            lines.append({DiffLine::Kind::Context, text, copyLine, originalLine});
    }
    return lines;
}

QString hunkHeader(int copyStart, int copyCount, int originalStart, int originalCount)
{
    // As diff -u numbers an empty side: the line after which the change stands.
    return QStringLiteral("@@ -%1,%2 +%3,%4 @@")
        .arg(copyCount > 0 ? copyStart + 1 : copyStart)
        .arg(copyCount)
        .arg(originalCount > 0 ? originalStart + 1 : originalStart)
        .arg(originalCount);
}

}  // namespace

bool isText(const QByteArray &bytes)
{
    return std::none_of(bytes.cbegin(), bytes.cend(),
                        [](char byte) { return byte == '\0' || unassigned(byte); });
}

QStringList textLines(const QByteArray &bytes)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = platform::fromAnsi(bytes).split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QList<DiffLine> unifiedDiff(const QStringList &copy, const QStringList &original, int context)
{
    const QList<DiffLine> script = editScript(copy, original);
    QList<DiffLine> result;
    const auto size = script.size();
    qsizetype next = 0;
    int copySeen = 0;  // lines of each file before `next`
    int originalSeen = 0;
    const auto advance = [&](qsizetype to) {
        for (; next < to; ++next) {
            copySeen += script[next].kind != DiffLine::Kind::Added ? 1 : 0;
            originalSeen += script[next].kind != DiffLine::Kind::Removed ? 1 : 0;
        }
    };
    while (true) {
        qsizetype change = next;
        while (change < size && script[change].kind == DiffLine::Kind::Context)
            ++change;
        if (change == size)
            break;
        // The group runs on while the next change is close enough for their contexts to meet.
        qsizetype end = change;
        while (end < size) {
            qsizetype common = end;
            while (common < size && script[common].kind != DiffLine::Kind::Context)
                ++common;
            qsizetype following = common;
            while (following < size && script[following].kind == DiffLine::Kind::Context)
                ++following;
            if (following == size || following - common > 2 * qsizetype(context)) {
                end = std::min(size, common + context);
                break;
            }
            end = following;
        }
        advance(std::max(next, change - context));
        const qsizetype start = next;
        const int copyStart = copySeen;
        const int originalStart = originalSeen;
        advance(end);
        result.append(
            {DiffLine::Kind::Hunk,
             hunkHeader(copyStart, copySeen - copyStart, originalStart, originalSeen - originalStart), 0, 0});
        result.append(script.mid(start, end - start));
    }
    return result;
}

}  // namespace compare
