#include "controls/Look.h"

#include <QApplication>
#include <QFont>
#include <QStyle>
#include <QStyleFactory>

namespace controls {

void applyClassicLook(QApplication &application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Windows")));
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
