#include "controls/Look.h"

#include "controls/ClassicIcons.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QProxyStyle>
#include <QStringList>
#include <QStyleFactory>

namespace controls {

namespace {

// The Windows style, with each standard icon made once: the program's own pictures where it has
// them, else the style's. Asked for an icon, the style searches the desktop's icon theme folders
// and reads its pictures anew on every request, and the windows made at start ask for the drive,
// folder and button icons dozens of times; a desktop theme's pictures do not belong in the
// classic look anyway.
class ClassicStyle final : public QProxyStyle {
public:
    ClassicStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option, const QWidget *widget) const override
    {
        if (option != nullptr)
            return QProxyStyle::standardIcon(which, option, widget);
        auto icon = m_icons.constFind(which);
        if (icon == m_icons.cend()) {
            const QIcon own = classicIcon(which);
            icon = m_icons.insert(which, own.isNull() ? QProxyStyle::standardIcon(which, nullptr, widget) : own);
        }
        return *icon;
    }

private:
    mutable QHash<StandardPixmap, QIcon> m_icons;
};

struct WindowsFamily {
    QString name;
    QFont::StyleHint hint;
    QStringList closest;
};

const WindowsFamily WindowsFamilies[] = {
    {QStringLiteral("MS Sans Serif"), QFont::SansSerif,
     {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
    {QStringLiteral("Times New Roman"), QFont::Serif,
     {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")}},
    {QStringLiteral("Fixedsys"), QFont::Monospace,
     {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")}},
};

}  // namespace

void applyClassicLook(QApplication &application)
{
    application.setStyle(new ClassicStyle);
    application.setPalette(application.style()->standardPalette());
    for (const WindowsFamily &windows : WindowsFamilies)
        QFont::insertSubstitutions(windows.name, windows.closest);
    application.setFont(classicFont(QStringLiteral("MS Sans Serif"), 12));
}

QFont classicFont(const QString &windowsFamily, int pixelSize)
{
    QFont font;
    font.setFamilies({windowsFamily});
    for (const WindowsFamily &windows : WindowsFamilies) {
        if (windows.name == windowsFamily) {
            font.setFamilies(QStringList(windows.closest) << windowsFamily);
            font.setStyleHint(windows.hint);
            font.setFixedPitch(windows.hint == QFont::Monospace);
        }
    }
    font.setPixelSize(pixelSize);
    // The closest faces hold every character of the Windows code pages; merging in other fonts
    // for missing ones would only cost a fontconfig sort per family when the first text is laid out.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

}  // namespace controls
