#include "controls/Look.h"

#include <QApplication>
#include <QFont>
#include <QStyle>
#include <QStyleFactory>

void applyClassicLook(QApplication &application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    application.setPalette(application.style()->standardPalette());
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    application.setFont(font);
}
