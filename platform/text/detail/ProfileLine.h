#pragma once

#include <QString>
#include <QStringView>

// Inside the platform layer only: a line of ProfileDocument.
namespace platform::detail {

enum class ProfileLineEnd : quint8 { None, CrLf, Cr, Lf };  // None: a last line without one

// An entry's key and value are read from its text, so that a line costs one string.
struct ProfileLine {
    QString raw;  // the line without its end, as read or last written
    ProfileLineEnd end = ProfileLineEnd::CrLf;
    qsizetype number = 0;  // from 1 as parsed; 0 for a line written since
    qsizetype equals = -1;  // an entry's '=' in raw; -1: not an entry (blank, comment, header)
    bool repeated = false;  // an entry whose key an earlier entry of its section has
    bool isEntry() const { return equals >= 0; }
    QStringView keyText() const { return QStringView(raw).first(equals); }  // blanks included
    QString key() const { return keyText().trimmed().toString(); }
    QStringView valueText() const { return QStringView(raw).sliced(equals + 1).trimmed(); }
    QString value() const { return valueText().toString(); }
};

}  // namespace platform::detail

// A long section's lines grow by moving their bytes.
Q_DECLARE_TYPEINFO(platform::detail::ProfileLine, Q_RELOCATABLE_TYPE);
