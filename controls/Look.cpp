#include "controls/Look.h"

#include "controls/ClassicIcons.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QProxyStyle>
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

}  // namespace

void applyClassicLook(QApplication &application)
{
    application.setStyle(new ClassicStyle);
    application.setPalette(application.style()->standardPalette());
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Fixedsys"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    application.setFont(font);
}

}  // namespace controls
