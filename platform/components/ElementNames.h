#pragma once

#include <QByteArray>
#include <QMetaEnum>

// Element names of enumerations and sets as sheets write them. Sets are Q_FLAG
// enumerations whose element values are single bits: the ordinal of an element
// is the number of its bit.
namespace ElementNames {

// Value of the element of that name (its ordinal; its bit for a set) (ASCII case ignored); raises
// "Invalid property element: %s" for an unknown or empty name.
int valueOf(const QMetaEnum& enumeration, QByteArrayView name);

// "False" / "True" for the Boolean type, with the same error rule.
bool truthOf(QByteArrayView name);

// Set text: leading blanks and "[" are skipped, the rest splits into element
// names at runs of blanks, "," and "]". An empty text is the empty set.
int setFromText(const QMetaEnum& set, QByteArrayView text);

// The contained elements' names in ordinal order joined by ",".
QByteArray setToText(const QMetaEnum& set, int mask);

} // namespace ElementNames
