#include "platform/VariantError.h"

#include "platform/Error.h"

namespace VariantError {

void cannotConvert(VarKind from, VarKind to) {
    throw Error(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                    .arg(Variant::kindName(from), Variant::kindName(to)));
}

void overflow(VarKind from, VarKind to) {
    throw Error(QStringLiteral("Overflow while converting variant of type (%1) into type (%2)")
                    .arg(Variant::kindName(from), Variant::kindName(to)));
}

void invalidOperation() {
    throw Error(QStringLiteral("Invalid variant operation"));
}

} // namespace VariantError
