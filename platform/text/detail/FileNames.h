#pragma once

#include <QString>
#include <QStringView>

#include <array>

// Inside the platform layer only: which names Windows allows, and their 8.3 forms.
namespace platform::detail {

// Host entries whose names start with this belong to the layer (attribute records, temporary
// files); they never show as Windows names.
inline const QString ReservedPrefix = QStringLiteral(".dosattr");

// Upper case as FAT makes it, letter by letter: a letter whose capital is more than one letter
// (ß, ﬁ) stays as it is, so that Maße.ini and Masse.ini stay two names.
QString upperCaseName(const QString &name);

// A name Windows can hold: none of \ / : * ? " < > | or control characters, not ending in a dot
// or blank, not "." or "..", and not reserved by the layer.
bool isValidLongName(const QString &name);

// A valid 8.3 name, which stands for itself upper-cased: base 1-8 and extension 0-3 characters,
// at most one dot, no blanks, only letters, digits, characters above 127 that code page 850 holds (upper-cased) and !#$%&'()-@^_`{}~.
bool isShortName(const QString &name);

// What a long name's alias is built from: upper case, blanks and extra dots dropped,
// + , ; = [ ] replaced by _; the base at most 6 and the extension at most 3 characters. Kept in
// place, as every new long name of a folder asks for one.
struct AliasStem {
    std::array<char16_t, 10> text{};  // the base, a dot and the extension
    qsizetype baseSize = 0;
    qsizetype extensionSize = 0;
    QStringView base() const { return {text.data(), baseSize}; }
    QStringView extension() const { return {text.data() + baseSize + 1, extensionSize}; }
    // "BASE.EXT", the dot also without an extension: one text per stem.
    QStringView key() const { return {text.data(), baseSize + 1 + extensionSize}; }
};
AliasStem aliasStem(const QString &longName);

// BASE~N.EXT; the base gives way to the digits so that it stays within 8 characters.
QString aliasOf(const AliasStem &stem, int number);

}  // namespace platform::detail
