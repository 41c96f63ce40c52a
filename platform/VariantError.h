#pragma once

#include "platform/Variant.h"

// The three failures of the value type, raised as Error with their exact texts.
namespace VariantError {

// "Could not convert variant of type (from) into type (to)"
[[noreturn]] void cannotConvert(VarKind from, VarKind to);

// "Overflow while converting variant of type (from) into type (to)"
[[noreturn]] void overflow(VarKind from, VarKind to);

// "Invalid variant operation"
[[noreturn]] void invalidOperation();

} // namespace VariantError
