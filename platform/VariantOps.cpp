// The operations Add, Subtract, And and Or and the four comparisons of Variant.
//
// Each operand falls into a class by its kind; the pair of classes picks the family
// of rules that decides the result. Every result is computed before the left value
// is replaced, so a failing conversion leaves it as it was.
#include "platform/Variant.h"
#include "platform/VariantError.h"

#include <QtGlobal>
#include <cmath>
#include <compare>
#include <cstring>

namespace {

enum class Family { Empty, Null, Integer, Real, Text, Truth };

Family classOf(const Variant& v) {
    switch (v.kind()) {
    case VarKind::Empty:
        return Family::Empty;
    case VarKind::Null:
        return Family::Null;
    case VarKind::Integer:
        return Family::Integer;
    case VarKind::Double:
        return Family::Real;
    case VarKind::String:
    case VarKind::OleStr:
        return Family::Text;
    case VarKind::Boolean:
        return Family::Truth;
    default:
        VariantError::invalidOperation();
    }
}

Family familyOf(const Variant& left, const Variant& right) {
    using F = Family;
    // Rows: the left operand's class, columns: the right one's, in the order of Family.
    static constexpr Family table[6][6] = {
        {F::Empty, F::Null, F::Integer, F::Real, F::Text, F::Truth},
        {F::Null, F::Null, F::Null, F::Null, F::Null, F::Null},
        {F::Integer, F::Null, F::Integer, F::Real, F::Real, F::Integer},
        {F::Real, F::Null, F::Real, F::Real, F::Real, F::Real},
        {F::Text, F::Null, F::Real, F::Real, F::Text, F::Truth},
        {F::Truth, F::Null, F::Integer, F::Real, F::Truth, F::Truth},
    };
    return table[int(classOf(left))][int(classOf(right))];
}

// An exact integer result: Integer while it fits in 32 bits, otherwise the Double of
// the same value (exact, since it comes from two 32-bit operands).
Variant integerResult(std::int64_t exact) {
    if (exact >= INT32_MIN && exact <= INT32_MAX)
        return Variant::fromInt(static_cast<std::int32_t>(exact));
    return Variant::fromDouble(static_cast<double>(exact));
}

enum class Arithmetic { Add, Subtract };

Variant arithmetic(const Variant& left, const Variant& right, Arithmetic op) {
    const bool add = op == Arithmetic::Add;
    switch (familyOf(left, right)) {
    case Family::Empty:
        return Variant();
    case Family::Null:
        return Variant::null();
    case Family::Integer: {
        const std::int64_t l = left.toInteger();
        const std::int64_t r = right.toInteger();
        return integerResult(add ? l + r : l - r);
    }
    case Family::Text:
        if (add) {
            // Concatenation keeps 8-bit text only when the left side already is.
            if (left.kind() == VarKind::String)
                return Variant::fromText(left.toText() + right.toText());
            return Variant::fromWideText(left.toWideText() + right.toWideText());
        }
        break;
    case Family::Real:
    case Family::Truth:
        break;
    }
    const double l = left.toReal();
    const double r = right.toReal();
    return Variant::fromDouble(add ? l + r : l - r);
}

enum class Logic { And, Or };

// And/Or with Null on one side or both: a Null stays unknown unless the other side
// decides the answer alone (false for And, true for Or), and then that side is the
// result as it stands.
Variant nullLogic(const Variant& left, const Variant& right, Logic op) {
    if (left.isNull() && right.isNull())
        return Variant::null();
    const Variant& other = left.isNull() ? right : left;
    const bool decides = op == Logic::And ? !other.toBoolean() : other.toBoolean();
    return decides ? other : Variant::null();
}

Variant logic(const Variant& left, const Variant& right, Logic op) {
    const bool isAnd = op == Logic::And;
    switch (familyOf(left, right)) {
    case Family::Empty:
        return Variant();
    case Family::Null:
        return nullLogic(left, right, op);
    case Family::Truth: {
        const bool l = left.toBoolean();
        const bool r = right.toBoolean();
        return Variant::fromBool(isAnd ? l && r : l || r);
    }
    case Family::Integer:
    case Family::Real:
    case Family::Text:
        break;
    }
    const std::int32_t l = left.toInteger();
    const std::int32_t r = right.toInteger();
    return Variant::fromInt(isAnd ? l & r : l | r);
}

std::strong_ordering compareBytes(const QByteArray& l, const QByteArray& r) {
    const int c = std::memcmp(l.constData(), r.constData(), std::size_t(qMin(l.size(), r.size())));
    return c != 0 ? c <=> 0 : l.size() <=> r.size();
}

// Texts order as Windows-1250 bytes. Wide texts whose characters have no byte can
// meet as equal bytes ("?") while they differ; their UTF-16 order then decides, so
// that different texts never compare equal.
std::strong_ordering compareTexts(const Variant& left, const Variant& right) {
    const auto byBytes = compareBytes(left.toText(), right.toText());
    if (byBytes != 0 || (left.kind() != VarKind::OleStr && right.kind() != VarKind::OleStr))
        return byBytes;
    return left.toWideText().compare(right.toWideText()) <=> 0;
}

// NaN, which only arithmetic on infinities produces, sorts above every number and
// equal to itself, so that it never equals a number.
std::strong_ordering compareReals(double l, double r) {
    if (std::isnan(l) || std::isnan(r))
        return std::isnan(l) <=> std::isnan(r);
    return l < r ? std::strong_ordering::less
                 : (l > r ? std::strong_ordering::greater : std::strong_ordering::equal);
}

// The one three-way order behind all comparisons. Null sorts below every other
// value and equal to Null, which gives its loose rule.
std::strong_ordering order(const Variant& left, const Variant& right) {
    switch (familyOf(left, right)) {
    case Family::Empty:
        return std::strong_ordering::equal;
    case Family::Null:
        return right.isNull() <=> left.isNull();
    case Family::Integer:
        return left.toInteger() <=> right.toInteger();
    case Family::Real:
        return compareReals(left.toReal(), right.toReal());
    case Family::Text:
        return compareTexts(left, right);
    case Family::Truth:
        return left.toBoolean() <=> right.toBoolean();
    }
    VariantError::invalidOperation();
}

} // namespace

void Variant::add(const Variant& right) {
    *this = arithmetic(*this, right, Arithmetic::Add);
}

void Variant::subtract(const Variant& right) {
    *this = arithmetic(*this, right, Arithmetic::Subtract);
}

void Variant::andWith(const Variant& right) {
    *this = logic(*this, right, Logic::And);
}

void Variant::orWith(const Variant& right) {
    *this = logic(*this, right, Logic::Or);
}

bool Variant::isEqual(const Variant& right) const {
    return order(*this, right) == 0;
}

bool Variant::isNotEqual(const Variant& right) const {
    return order(*this, right) != 0;
}

bool Variant::isLess(const Variant& right) const {
    return order(*this, right) < 0;
}

bool Variant::isGreater(const Variant& right) const {
    return order(*this, right) > 0;
}
