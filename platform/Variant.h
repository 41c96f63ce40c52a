#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cstdint>

// Kind codes of a Variant, numbered as in the OLE Automation model. The program
// creates only Empty, Null, Integer, Double, OleStr, Boolean and String; the
// others exist so that codes and names stay complete.
enum class VarKind : std::uint16_t {
    Empty = 0,
    Null = 1,
    Smallint = 2,
    Integer = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    OleStr = 8,
    Dispatch = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Unknown = 13,
    Decimal = 14,
    ShortInt = 16,
    Byte = 17,
    Word = 18,
    LongWord = 19,
    Int64 = 20,
    String = 256,
};

// The dynamic value that carries every value between XML attributes, widget
// properties and scripts. A default-constructed value is Empty.
//
// 8-bit text (kind String) is Windows-1250 in a QByteArray; wide text (kind
// OleStr) is a QString. Conversions and operations raise Error with the exact
// message texts of the value type; a failed operation leaves the left operand
// unchanged.
class Variant {
public:
    Variant() = default;

    static Variant null();
    static Variant fromText(const QByteArray& text);        // String
    static Variant fromWideText(const QString& text);       // OleStr
    static Variant fromTextForXml(const QByteArray& text);  // 8-bit text -> OleStr
    static Variant fromBool(bool value);                    // Boolean, true stored as -1
    static Variant fromInt(std::int32_t value);             // Integer
    static Variant fromDouble(double value);                // Double

    VarKind kind() const { return kind_; }
    std::uint16_t kindCode() const { return static_cast<std::uint16_t>(kind_); }
    bool isEmpty() const { return kind_ == VarKind::Empty; }
    bool isNull() const { return kind_ == VarKind::Null; }
    void clear() { *this = Variant(); }

    // Conversions; they raise Error on Null and on text that does not read.
    QByteArray toText() const;     // 8-bit text
    QString toWideText() const;    // wide text
    double toReal() const;
    std::int32_t toInteger() const;
    bool toBoolean() const;

    // Operations in place: this value becomes the result.
    void add(const Variant& right);
    void subtract(const Variant& right);
    void andWith(const Variant& right);
    void orWith(const Variant& right);

    // Comparisons through one three-way order (Null follows its loose rule).
    bool isEqual(const Variant& right) const;
    bool isNotEqual(const Variant& right) const;
    bool isLess(const Variant& right) const;
    bool isGreater(const Variant& right) const;

    // The kind's name as error messages print it ("Null", "String", "OleStr"...).
    static QString kindName(VarKind kind);

    // The user's decimal separator, used both ways between numbers and text.
    // Defaults to the system locale's; tests and the headless mode pin it.
    static QChar decimalSeparator();
    static void setDecimalSeparator(QChar separator);

    // Raw content, for code that inspects a value without converting it.
    std::int32_t integerValue() const { return integer_; }
    double doubleValue() const { return real_; }
    bool booleanValue() const { return integer_ != 0; }
    const QByteArray& textValue() const { return text_; }
    const QString& wideTextValue() const { return wideText_; }

private:
    VarKind kind_ = VarKind::Empty;
    std::int32_t integer_ = 0;  // Integer; Boolean as 0 or -1
    double real_ = 0.0;         // Double
    QByteArray text_;           // String
    QString wideText_;          // OleStr
};
