#include "script/Evaluator.h"

#include "platform/Error.h"
#include "platform/Win1250.h"
#include "script/NestingLimit.h"
#include "script/ScriptCommands.h"
#include "script/ScriptHost.h"
#include "script/ScriptObjects.h"
#include "script/TScript.h"

#include <deque>

namespace {

bool readsWordFirst(char c) {
    switch (c) {
    case '<':
    case '>':
    case '+':
    case '-':
    case '=':
    case '&':
    case '|':
    case '(':
        return true;
    default:
        return false;
    }
}

// Levels of every script on this thread: a nested Run for a function body or
// a script run from a nested message loop adds to the same stack.
thread_local int levelDepth = 0;

// A word buffer kept past its statement keeps at most this much memory.
constexpr qsizetype kKeptWordCapacity = 256;

// The word buffer of each depth on this thread. A word grows a character at a
// time; a buffer of its own for every level and statement would be allocated
// and grown again each time. A deque, since a deeper level may add a buffer
// while the outer ones use theirs.
QByteArray& wordBufferAt(int depth) {
    thread_local std::deque<QByteArray> buffers;
    while (qsizetype(buffers.size()) < depth)
        buffers.emplace_back();
    return buffers[std::size_t(depth - 1)];
}

} // namespace

Evaluator::Level::Level(QByteArray& buffer) : word(buffer) {
    word.truncate(0);
}

Evaluator::Level::~Level() {
    if (word.capacity() > kKeptWordCapacity)
        word = QByteArray();
}

void Evaluator::RunStatement(QByteArrayView token) {
    Cursor text(token);
    Evaluate(text, true, value_);
}

void Evaluator::Evaluate(Cursor& text, bool topLevel, Variant& value) {
    const NestingLimit nesting(levelDepth, MaxLevelDepth,
                               "Script - Statement nested too deeply (more than %1 levels)");
    Level level(wordBufferAt(levelDepth));
    while (!text.atEnd()) {
        const char c = text.take();
        if (readsWordFirst(c) && !level.word.isEmpty())
            value = ReadWord(level);
        switch (c) {
        case '<':
            Compare(text, value, text.skip('>') ? &Variant::isNotEqual : &Variant::isLess);
            break;
        case '>':
            Compare(text, value, &Variant::isGreater);
            break;
        case '=':
            Compare(text, value, &Variant::isEqual);
            break;
        case '+':
            value.add(Rest(text));
            break;
        case '-':
            value.subtract(Rest(text));
            break;
        case '&':
            value.andWith(Rest(text));
            break;
        case '|':
            value.orWith(Rest(text));
            break;
        case '(':
            if (text.skip(')')) {
                level.word += "()";
            } else {
                // The group works on this level's own value.
                level.word.truncate(0);
                ++brackets_;
                Evaluate(text, false, value);
            }
            break;
        case ')':
            if (--brackets_ == 0)
                return;
            break;
        case '.':
            Select(level);
            break;
        case ':':
            Assign(text, level);
            break;
        case ';':
            EndStatement(topLevel, level, value);
            break;
        default:
            level.word += c;
            break;
        }
    }
}

Variant Evaluator::Rest(Cursor& text) {
    Variant right;
    Evaluate(text, false, right);
    return right;
}

void Evaluator::Compare(Cursor& text, Variant& value, Comparison comparison) {
    const Variant right = Rest(text);
    value = Variant::fromBool((value.*comparison)(right));
}

void Evaluator::Select(Level& level) {
    QObject* found = script_.Host().FindSheetComponent(level.word);
    level.hasObject = found != nullptr;
    level.object = found;
    level.word.truncate(0);
}

Variant Evaluator::ReadWord(const Level& level) const {
    if (!level.hasObject)
        return Variant::fromText(level.word);
    return script_.Objects().readProperty(LiveObject(level), level.word);
}

void Evaluator::Assign(Cursor& text, Level& level) {
    if (!text.skip('=')) {
        script_.Host().ShowMessage(QStringLiteral("Script - ':=' expected but ':' found"));
        return;
    }
    if (brackets_ != 0)
        script_.Host().ShowMessage(QStringLiteral("Script - Unknown bracket found!"));
    // The value to assign is whatever the right-hand side last read at a ";" or
    // an operator; without either it stays Empty.
    const Variant right = Rest(text);
    if (!level.hasObject)
        throw Error(QStringLiteral("Script - No object to assign '%1' to")
                        .arg(Win1250::toWide(level.word)));
    script_.Objects().writeProperty(LiveObject(level), level.word, right);
}

void Evaluator::EndStatement(bool topLevel, Level& level, Variant& value) {
    if (!topLevel) {
        if (!level.word.isEmpty())
            value = ReadWord(level);
    } else if (!level.hasObject) {
        ScriptCommands::Run(script_, level.word);
    } else if (QObject* object = LiveObject(level); script_.Objects().isWindow(object)) {
        ScriptCommands::RunOnWindow(script_, object, level.word);
    }
    level.word.truncate(0);
    level.hasObject = false;
    level.object.clear();
}

QObject* Evaluator::LiveObject(const Level& level) const {
    if (level.object.isNull())
        throw Error(QStringLiteral("Script - The object for '%1' no longer exists")
                        .arg(Win1250::toWide(level.word)));
    return level.object.data();
}
