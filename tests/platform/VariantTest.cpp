#include "platform/Variant.h"

#include "platform/Error.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace {

// The message of the Error that f raises, or a marker when it raises none.
template <class F> std::string errorOf(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.message().toStdString();
    }
    return "(no error)";
}

std::string convertError(const char* from, const char* to) {
    return std::string("Could not convert variant of type (") + from + ") into type (" + to + ")";
}

std::string overflowError(const char* from, const char* to) {
    return std::string("Overflow while converting variant of type (") + from + ") into type (" +
           to + ")";
}

Variant text(const char* s) {
    return Variant::fromText(QByteArray(s));
}
Variant wide(const char* utf8) {
    return Variant::fromWideText(QString::fromUtf8(utf8));
}
std::string textOf(const Variant& v) {
    return v.toText().toStdString();
}

// The result of an in-place operation on a copy of left.
Variant applied(Variant left, void (Variant::*operation)(const Variant&), const Variant& right) {
    (left.*operation)(right);
    return left;
}

Variant sum(const Variant& l, const Variant& r) {
    return applied(l, &Variant::add, r);
}
Variant difference(const Variant& l, const Variant& r) {
    return applied(l, &Variant::subtract, r);
}
Variant conjunction(const Variant& l, const Variant& r) {
    return applied(l, &Variant::andWith, r);
}
Variant disjunction(const Variant& l, const Variant& r) {
    return applied(l, &Variant::orWith, r);
}

// Pins the decimal separator for one test and restores the previous one.
class SeparatorScope {
public:
    explicit SeparatorScope(QChar separator) : saved_(Variant::decimalSeparator()) {
        Variant::setDecimalSeparator(separator);
    }
    ~SeparatorScope() { Variant::setDecimalSeparator(saved_); }

private:
    QChar saved_;
};

// Runs each test once with "." and once with "," as the user's decimal separator.
class VariantNumbers : public ::testing::TestWithParam<char> {
protected:
    // "1.5" written with the separator under test.
    QByteArray local(const char* number) const {
        return QByteArray(number).replace('.', GetParam());
    }
    Variant localText(const char* number) const { return Variant::fromText(local(number)); }
    std::string localString(const char* number) const { return local(number).toStdString(); }

private:
    SeparatorScope scope_{QChar(GetParam())};
};

INSTANTIATE_TEST_SUITE_P(Separators, VariantNumbers, ::testing::Values('.', ','),
                         [](const auto& info) {
                             return std::string(info.param == '.' ? "Point" : "Comma");
                         });

} // namespace

TEST(Variant, KindsCarryTheirCodesAndNames) {
    EXPECT_EQ(Variant().kindCode(), 0);
    EXPECT_EQ(Variant::null().kindCode(), 1);
    EXPECT_EQ(Variant::fromInt(7).kindCode(), 3);
    EXPECT_EQ(Variant::fromDouble(1.5).kindCode(), 5);
    EXPECT_EQ(wide("a").kindCode(), 8);
    EXPECT_EQ(Variant::fromBool(true).kindCode(), 11);
    EXPECT_EQ(text("a").kindCode(), 256);
    EXPECT_EQ(Variant::fromTextForXml("\x8A").kind(), VarKind::OleStr);
    EXPECT_EQ(Variant::fromTextForXml("\x8A").wideTextValue(), QString::fromUtf8("Š"));
    EXPECT_EQ(Variant::fromBool(true).integerValue(), -1);

    EXPECT_EQ(Variant::kindName(VarKind::Null), "Null");
    EXPECT_EQ(Variant::kindName(VarKind::OleStr), "OleStr");
    EXPECT_EQ(Variant::kindName(VarKind::String), "String");
    EXPECT_EQ(Variant::kindName(VarKind::ShortInt), "ShortInt");
    EXPECT_EQ(Variant::kindName(VarKind::Int64), "Int64");

    Variant v = text("abc");
    Variant copy = v;
    v.clear();
    EXPECT_TRUE(v.isEmpty());
    EXPECT_EQ(textOf(copy), "abc");
}

TEST(Variant, ConvertsEveryKindToText) {
    EXPECT_EQ(textOf(Variant()), "");
    EXPECT_EQ(textOf(Variant::fromInt(-42)), "-42");
    EXPECT_EQ(textOf(Variant::fromInt(INT_MIN)), "-2147483648");
    EXPECT_EQ(textOf(Variant::fromBool(true)), "True");
    EXPECT_EQ(textOf(Variant::fromBool(false)), "False");
    EXPECT_EQ(Variant::fromBool(true).toWideText(), "True");
    // Wide text goes to the code page and back; characters it lacks become '?'.
    EXPECT_EQ(wide("Připojit").toText(), QByteArray("P\xF8ipojit"));
    EXPECT_EQ(wide("aЖ").toText(), QByteArray("a?"));
    EXPECT_EQ(text("\x8Apatn\xE9").toWideText(), QString::fromUtf8("Špatné"));

    EXPECT_EQ(errorOf([] { Variant::null().toText(); }), convertError("Null", "String"));
    EXPECT_EQ(errorOf([] { Variant::null().toWideText(); }), convertError("Null", "OleStr"));
}

TEST_P(VariantNumbers, WritesRealsInTheShortestForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {13.0, "13"},
        {-0.5, "-0.5"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {0.00001, "0.00001"},
        {0.000012, "0.000012"},
        {1.5e-7, "1.5E-7"},
        {-0.0, "0"},
        {1e300 * 1e300, "INF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(textOf(Variant::fromDouble(c.value)), localString(c.text));
    }
}

TEST_P(VariantNumbers, ReadsTextAsReal) {
    EXPECT_DOUBLE_EQ(localText("1.5").toReal(), 1.5);
    EXPECT_DOUBLE_EQ(localText(" -2.25e2 ").toReal(), -225.0);
    EXPECT_DOUBLE_EQ(localText(".5").toReal(), 0.5);
    EXPECT_DOUBLE_EQ(localText("+7.").toReal(), 7.0);
    EXPECT_DOUBLE_EQ(localText("1E-3").toReal(), 0.001);
    EXPECT_EQ(localText("1e-400").toReal(), 0.0);
    EXPECT_DOUBLE_EQ(Variant::fromWideText(QString::fromLatin1(local("3.75"))).toReal(), 3.75);
    // Reading is exact to the last bit, like the compiler's own literals.
    EXPECT_EQ(localText("0.1").toReal(), 0.1);
    EXPECT_EQ(localText("2.2250738585072014e-308").toReal(), 2.2250738585072014e-308);

    // Written and read back, a real keeps its 15 digits.
    const double third = 1.0 / 3.0;
    EXPECT_EQ(Variant::fromText(Variant::fromDouble(third).toText()).toReal(), 0.333333333333333);

    const char other = GetParam() == '.' ? ',' : '.';
    const QByteArray foreign = QByteArray("1") + other + "5";
    EXPECT_EQ(errorOf([&] { Variant::fromText(foreign).toReal(); }),
              convertError("String", "Double"));
    for (const char* bad : {"", "abc", "1.5.2", "1e", "- 1", "True", "$10", "1 000"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(errorOf([&] { localText(bad).toReal(); }), convertError("String", "Double"));
    }
    EXPECT_EQ(errorOf([] { wide("x").toReal(); }), convertError("OleStr", "Double"));
    EXPECT_EQ(errorOf([&] { localText("1e400").toReal(); }), overflowError("String", "Double"));
}

TEST_P(VariantNumbers, ReadsTextAsInteger) {
    // Numbers in the user's format round to the nearest integer, ties to even.
    EXPECT_EQ(localText("2.5").toInteger(), 2);
    EXPECT_EQ(localText("3.5").toInteger(), 4);
    EXPECT_EQ(localText("-2.5").toInteger(), -2);
    EXPECT_EQ(localText("2.6").toInteger(), 3);
    EXPECT_EQ(localText("1.2e3").toInteger(), 1200);
    EXPECT_EQ(localText("-2147483648.4").toInteger(), INT_MIN);
    EXPECT_EQ(text(" 2147483647 ").toInteger(), INT_MAX);
    // The program's own integer syntax: hexadecimal as a 32-bit pattern.
    EXPECT_EQ(text("$1F").toInteger(), 31);
    EXPECT_EQ(text("0xff").toInteger(), 255);
    EXPECT_EQ(text("-$10").toInteger(), -16);
    EXPECT_EQ(text("$FFFFFFFF").toInteger(), -1);
    // Truth words count 1 and 0 here.
    EXPECT_EQ(text("True").toInteger(), 1);
    EXPECT_EQ(wide("fALSE").toInteger(), 0);

    EXPECT_EQ(errorOf([] { text("2147483648").toInteger(); }), overflowError("String", "Integer"));
    EXPECT_EQ(errorOf([&] { localText("2147483647.5").toInteger(); }),
              overflowError("String", "Integer"));
    EXPECT_EQ(errorOf([] { wide("-1e10").toInteger(); }), overflowError("OleStr", "Integer"));
    for (const char* bad : {"abc", "$", "0x", "$1G", "$100000000", "Truth", ""}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(errorOf([&] { text(bad).toInteger(); }), convertError("String", "Boolean"));
    }
    EXPECT_EQ(errorOf([] { wide("abc").toInteger(); }), convertError("OleStr", "Boolean"));
}

TEST(Variant, ConvertsNumbersAndTruthToInteger) {
    EXPECT_EQ(Variant().toInteger(), 0);
    EXPECT_EQ(Variant::fromBool(true).toInteger(), -1);
    EXPECT_EQ(Variant::fromDouble(0.5).toInteger(), 0);
    EXPECT_EQ(Variant::fromDouble(1.5).toInteger(), 2);
    EXPECT_EQ(Variant::fromDouble(-1.5).toInteger(), -2);
    EXPECT_EQ(Variant::fromDouble(-2147483648.5).toInteger(), INT_MIN);
    EXPECT_EQ(errorOf([] { Variant::fromDouble(2147483647.5).toInteger(); }),
              overflowError("Double", "Integer"));
    EXPECT_EQ(errorOf([] { Variant::fromDouble(0.0 / 0.0).toInteger(); }),
              overflowError("Double", "Integer"));
    EXPECT_EQ(errorOf([] { Variant::null().toInteger(); }), convertError("Null", "Integer"));
    EXPECT_EQ(errorOf([] { Variant::null().toReal(); }), convertError("Null", "Double"));
    EXPECT_EQ(Variant::fromBool(true).toReal(), -1.0);
}

TEST_P(VariantNumbers, ReadsTruthValues) {
    EXPECT_TRUE(text("TRUE").toBoolean());
    EXPECT_FALSE(wide(" false ").toBoolean());
    EXPECT_TRUE(localText("0.5").toBoolean());
    EXPECT_FALSE(localText("-0.0").toBoolean());
    EXPECT_FALSE(Variant().toBoolean());
    EXPECT_TRUE(Variant::fromDouble(0.1).toBoolean());
    EXPECT_FALSE(Variant::fromInt(0).toBoolean());
    EXPECT_EQ(errorOf([] { text("yes").toBoolean(); }), convertError("String", "Boolean"));
    EXPECT_EQ(errorOf([] { wide("").toBoolean(); }), convertError("OleStr", "Boolean"));
    EXPECT_EQ(errorOf([] { Variant::null().toBoolean(); }), convertError("Null", "Boolean"));
}

TEST(Variant, AddsByTheFamilyOfItsOperands) {
    // Texts concatenate; the kind of the left side decides 8-bit or wide.
    const Variant joined = sum(text("1"), text("1"));
    EXPECT_EQ(joined.kind(), VarKind::String);
    EXPECT_EQ(textOf(joined), "11");
    EXPECT_EQ(sum(wide("a"), text("b")).kind(), VarKind::OleStr);
    EXPECT_EQ(sum(text("a"), wide("b")).kind(), VarKind::String);
    const Variant fromEmpty = sum(Variant(), text("abc"));
    EXPECT_EQ(fromEmpty.kind(), VarKind::OleStr);
    EXPECT_EQ(fromEmpty.wideTextValue(), "abc");
    EXPECT_EQ(sum(text("abc"), Variant()).kind(), VarKind::String);

    // A number and a text add as reals.
    const Variant mixed = sum(Variant::fromInt(12), text("1"));
    EXPECT_EQ(mixed.kind(), VarKind::Double);
    EXPECT_EQ(textOf(mixed), "13");

    const Variant five = sum(Variant::fromInt(2), Variant::fromInt(3));
    EXPECT_EQ(five.kind(), VarKind::Integer);
    EXPECT_EQ(five.integerValue(), 5);
    const Variant big = sum(Variant::fromInt(INT_MAX), Variant::fromInt(1));
    EXPECT_EQ(big.kind(), VarKind::Double);
    EXPECT_EQ(big.doubleValue(), 2147483648.0);

    // Integer with truth stays integer; truth with truth adds as reals (true is -1).
    EXPECT_EQ(sum(Variant::fromInt(5), Variant::fromBool(true)).integerValue(), 4);
    const Variant truths = sum(Variant::fromBool(true), Variant::fromBool(true));
    EXPECT_EQ(truths.kind(), VarKind::Double);
    EXPECT_EQ(truths.doubleValue(), -2.0);
    EXPECT_EQ(sum(text("-1"), Variant::fromBool(true)).doubleValue(), -2.0);
    // ...so a truth word does not add: it is no number.
    EXPECT_EQ(errorOf([] { sum(text("True"), Variant::fromBool(true)); }),
              convertError("String", "Double"));

    EXPECT_TRUE(sum(Variant(), Variant()).isEmpty());
    EXPECT_TRUE(sum(Variant::null(), text("x")).isNull());
    EXPECT_TRUE(sum(Variant::fromInt(1), Variant::null()).isNull());
}

TEST(Variant, SubtractsAsNumbers) {
    const Variant three = difference(text("5"), text("2"));
    EXPECT_EQ(three.kind(), VarKind::Double);
    EXPECT_EQ(three.doubleValue(), 3.0);
    EXPECT_EQ(difference(Variant::fromInt(2), Variant::fromInt(3)).integerValue(), -1);
    const Variant below = difference(Variant::fromInt(INT_MIN), Variant::fromInt(1));
    EXPECT_EQ(below.kind(), VarKind::Double);
    EXPECT_EQ(below.doubleValue(), -2147483649.0);
    EXPECT_TRUE(difference(Variant(), Variant()).isEmpty());
    EXPECT_TRUE(difference(Variant::null(), Variant::fromInt(1)).isNull());
}

TEST(Variant, FailedOperationLeavesTheLeftValueAlone) {
    Variant left = text("abc");
    EXPECT_EQ(errorOf([&] { left.subtract(Variant::fromInt(1)); }),
              convertError("String", "Double"));
    EXPECT_EQ(textOf(left), "abc");
    EXPECT_EQ(errorOf([&] { left.andWith(Variant::fromInt(1)); }),
              convertError("String", "Boolean"));
    EXPECT_EQ(left.kind(), VarKind::String);

    Variant number = Variant::fromInt(7);
    EXPECT_EQ(errorOf([&] { number.add(wide("x")); }), convertError("OleStr", "Double"));
    EXPECT_EQ(errorOf([&] { number.orWith(text("x")); }), convertError("String", "Boolean"));
    EXPECT_EQ(number.integerValue(), 7);
    EXPECT_EQ(number.kind(), VarKind::Integer);
}

TEST(Variant, CombinesWithAndOr) {
    EXPECT_EQ(conjunction(Variant::fromInt(12), Variant::fromInt(10)).integerValue(), 8);
    EXPECT_EQ(disjunction(Variant::fromInt(12), Variant::fromInt(3)).integerValue(), 15);
    // Texts become integers, truth words 1 and 0.
    const Variant zero = conjunction(text("True"), text("False"));
    EXPECT_EQ(zero.kind(), VarKind::Integer);
    EXPECT_EQ(zero.integerValue(), 0);
    EXPECT_EQ(disjunction(text("True"), text("2")).integerValue(), 3);
    // Reals round first.
    EXPECT_EQ(disjunction(Variant::fromDouble(2.5), Variant::fromInt(1)).integerValue(), 3);
    // Integer with truth is bitwise on -1/0.
    EXPECT_EQ(conjunction(Variant::fromInt(6), Variant::fromBool(true)).integerValue(), 6);
    const Variant truth = conjunction(Variant::fromBool(true), text("false"));
    EXPECT_EQ(truth.kind(), VarKind::Boolean);
    EXPECT_FALSE(truth.booleanValue());
    EXPECT_TRUE(disjunction(Variant::fromBool(false), Variant::fromBool(true)).booleanValue());
    EXPECT_TRUE(conjunction(Variant(), Variant()).isEmpty());
}

TEST(Variant, AndOrWithNullAreThreeValued) {
    const Variant null = Variant::null();
    const Variant yes = Variant::fromBool(true);
    EXPECT_TRUE(conjunction(null, null).isNull());
    EXPECT_TRUE(disjunction(null, null).isNull());
    EXPECT_TRUE(conjunction(null, yes).isNull());
    EXPECT_TRUE(conjunction(text("True"), null).isNull());
    EXPECT_TRUE(disjunction(Variant::fromInt(0), null).isNull());

    // The deciding operand is the result, kind and content unchanged.
    const Variant falseInt = conjunction(null, Variant::fromInt(0));
    EXPECT_EQ(falseInt.kind(), VarKind::Integer);
    EXPECT_EQ(falseInt.integerValue(), 0);
    EXPECT_TRUE(conjunction(Variant(), null).isEmpty());
    const Variant trueText = disjunction(text("TRUE"), null);
    EXPECT_EQ(trueText.kind(), VarKind::String);
    EXPECT_EQ(textOf(trueText), "TRUE");
    EXPECT_EQ(disjunction(null, Variant::fromInt(5)).integerValue(), 5);

    EXPECT_EQ(errorOf([&] { conjunction(null, text("abc")); }), convertError("String", "Boolean"));
}

TEST(Variant, ComparesByTheFamilyOfItsOperands) {
    // Texts compare as texts, a number with a text as numbers.
    EXPECT_TRUE(text("10").isLess(text("9")));
    EXPECT_FALSE(Variant::fromInt(10).isLess(text("9")));
    EXPECT_TRUE(Variant::fromInt(10).isGreater(text("9")));
    EXPECT_TRUE(text("abc").isNotEqual(text("ABC")));
    EXPECT_TRUE(Variant().isEqual(text("")));
    EXPECT_TRUE(wide("").isEqual(Variant()));
    EXPECT_TRUE(Variant().isEqual(Variant()));
    EXPECT_TRUE(Variant().isLess(Variant::fromInt(1)));
    EXPECT_TRUE(Variant::fromDouble(1.5).isGreater(Variant::fromInt(1)));
    // Truth: true equals "True"; an integer meets true as -1.
    EXPECT_TRUE(Variant::fromBool(true).isEqual(text("True")));
    EXPECT_TRUE(text("false").isLess(Variant::fromBool(true)));
    EXPECT_TRUE(Variant::fromInt(1).isNotEqual(Variant::fromBool(true)));
    EXPECT_TRUE(Variant::fromInt(-1).isEqual(Variant::fromBool(true)));
    EXPECT_TRUE(Variant::fromInt(1).isGreater(Variant::fromBool(true)));

    EXPECT_EQ(errorOf([] { text("abc").isEqual(Variant::fromInt(1)); }),
              convertError("String", "Double"));
    EXPECT_EQ(errorOf([] { Variant::fromBool(true).isLess(wide("maybe")); }),
              convertError("OleStr", "Boolean"));
}

TEST(Variant, OrdersTextsAsCodePageBytes) {
    EXPECT_TRUE(text("ab").isLess(text("abc")));
    EXPECT_TRUE(text("B").isLess(text("a")));
    // Bytes are unsigned: "Ž" (0x8E) and "á" (0xE1) sort after all ASCII.
    EXPECT_TRUE(wide("Ž").isGreater(text("z")));
    EXPECT_TRUE(wide("á").isGreater(wide("Ž")));
    EXPECT_TRUE(text("\x8A").isEqual(wide("Š")));
    // Wide texts without bytes still differ from each other and from "?".
    EXPECT_TRUE(wide("Ж").isNotEqual(wide("Ф")));
    EXPECT_TRUE(wide("Ж").isNotEqual(text("?")));
    EXPECT_TRUE(wide("Ж").isEqual(wide("Ж")));
}

TEST(Variant, NullFollowsTheLooseRule) {
    const Variant null = Variant::null();
    EXPECT_TRUE(null.isEqual(Variant::null()));
    EXPECT_FALSE(null.isLess(Variant::null()));
    EXPECT_FALSE(null.isGreater(Variant::null()));
    for (const Variant& other :
         {Variant(), Variant::fromInt(0), text(""), Variant::fromBool(false)}) {
        EXPECT_TRUE(null.isNotEqual(other));
        EXPECT_TRUE(null.isLess(other));
        EXPECT_FALSE(null.isGreater(other));
        EXPECT_TRUE(other.isGreater(null));
        EXPECT_FALSE(other.isEqual(null));
    }
}

TEST(Variant, NaNNeverEqualsANumber) {
    const Variant nan = Variant::fromDouble(0.0 / 0.0);
    EXPECT_TRUE(nan.isNotEqual(Variant::fromInt(0)));
    EXPECT_TRUE(nan.isGreater(Variant::fromDouble(1e308)));
    EXPECT_TRUE(nan.isEqual(Variant::fromDouble(0.0 / 0.0)));
}
