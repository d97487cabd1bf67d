#include "platform/shell/Pif.h"

#include <QtEndian>

namespace platform {

namespace {

// After the 0x171-byte basic section, named section headings chain the extensions: 16 bytes of
// name, then the offsets of the next heading (0xFFFF: none) and of the data, and its length.
constexpr qsizetype FirstHeading = 0x171;
constexpr qsizetype HeadingNameLength = 16;
constexpr qsizetype HeadingLength = HeadingNameLength + 6;
constexpr quint16 LastHeading = 0xFFFF;
constexpr qsizetype OptionsOffset = 0x10;
constexpr quint32 MsDosModeFlag = 0x00800000;

}  // namespace

bool pifAsksForMsDosMode(const QByteArray &pif)
{
    qsizetype heading = FirstHeading;
    // Each heading must lie further on than the one before, so a damaged chain cannot loop.
    while (heading + HeadingLength <= pif.size()) {
        const QByteArray name = pif.mid(heading, HeadingNameLength);
        const auto word = [&](qsizetype at) {
            return qFromLittleEndian<quint16>(pif.constData() + heading + HeadingNameLength + at);
        };
        const quint16 next = word(0);
        const quint16 data = word(2);
        const quint16 length = word(4);
        if (name.startsWith("WINDOWS 386 3.0")) {
            if (length < OptionsOffset + 4 || data + OptionsOffset + 4 > pif.size())
                return false;
            return qFromLittleEndian<quint32>(pif.constData() + data + OptionsOffset) & MsDosModeFlag;
        }
        if (next == LastHeading || next <= heading)
            return false;
        heading = next;
    }
    return false;
}

}  // namespace platform
