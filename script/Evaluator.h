#pragma once

#include "platform/Variant.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QPointer>

class TScript;

// Evaluates statement tokens for one call of Run. All tokens of that call share
// one bracket counter and one value slot, which are never reset between them.
//
// A token is read one character at a time, left to right, in one recursive
// pass with no precedence: ordinary characters build a word, "." makes the
// word's widget the current object, each operator character reads the pending
// word into the level's value and combines it with everything that follows,
// ":=" assigns, and ";" ends a statement (at the top level by running a
// command or a script function).
class Evaluator {
public:
    // Levels nested deeper than this, counted over all scripts running on the
    // thread, end the run with an error instead of exhausting the stack.
    static constexpr int MaxLevelDepth = 2000;

    explicit Evaluator(TScript& script) : script_(script) {}

    void RunStatement(QByteArrayView token);

private:
    // The unread rest of the token, shared by every level below the top.
    class Cursor {
    public:
        explicit Cursor(QByteArrayView text) : at_(text.data()), end_(at_ + text.size()) {}
        bool atEnd() const { return at_ == end_; }
        char take() { return *at_++; }
        // Takes the next character when it is `c`.
        bool skip(char c) {
            if (at_ == end_ || *at_ != c)
                return false;
            ++at_;
            return true;
        }

    private:
        const char* at_;
        const char* end_;
    };

    // What one level builds up: the word and the current object. The word is
    // emptied with truncate(0), which keeps its buffer for the next name; the
    // buffer belongs to the level's depth and serves the next statement too. An
    // object found by "." is held weakly, so that a widget freed meanwhile is
    // never touched.
    struct Level {
        explicit Level(QByteArray& buffer);
        ~Level();
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;

        QByteArray& word;
        bool hasObject = false;
        QPointer<QObject> object;
    };

    void Evaluate(Cursor& text, bool topLevel, Variant& value);
    using Comparison = bool (Variant::*)(const Variant&) const;

    // The right operand of an operator: a new level on a fresh Empty value.
    Variant Rest(Cursor& text);
    // value becomes the truth of `value comparison Rest`.
    void Compare(Cursor& text, Variant& value, Comparison comparison);
    void Select(Level& level);
    Variant ReadWord(const Level& level) const;
    void Assign(Cursor& text, Level& level);
    void EndStatement(bool topLevel, Level& level, Variant& value);
    QObject* LiveObject(const Level& level) const;

    TScript& script_;
    int brackets_ = 0;
    Variant value_;
};
