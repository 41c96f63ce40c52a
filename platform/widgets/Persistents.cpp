#include "platform/widgets/Persistents.h"

void TFont::SetName(const QByteArray& name) {
    name_ = name;
    emit changed();
}

void TFont::SetSize(int size) {
    size_ = size;
    emit changed();
}

void TFont::SetStyle(Vcl::TFontStyles style) {
    style_ = style;
    emit changed();
}
