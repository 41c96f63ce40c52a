#include "platform/AppearanceSetup.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

void applyApplicationAppearance(QApplication& app) {
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QString face = QStringLiteral("MS Sans Serif");
    QFont::insertSubstitutions(face,
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont font(face);
    font.setPixelSize(11);
    app.setFont(font);
}
