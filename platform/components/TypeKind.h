#pragma once

// The kind of a published property; it decides how values convert on read and
// write. Event properties are of the Method kind.
enum class TypeKind {
    Unknown,
    Integer,
    Char,
    Enumeration,
    Float,
    String,
    Set,
    Class,
    Method,
    WChar,
    LString,
    WString,
    Variant,
    Array,
    Record,
    Interface,
    Int64,
    DynArray,
};
