#include "platform/widgets/ApplicationStyle.h"

#include "platform/widgets/SharedPaletteStyle.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

void SetUpApplicationStyle(QApplication& application) {
    QApplication::setStyle(new SharedPaletteStyle(QStyleFactory::create(QStringLiteral("Fusion"))));
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    QApplication::setFont(font);
    application.setQuitOnLastWindowClosed(false);
}
