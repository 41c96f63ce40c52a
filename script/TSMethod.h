#pragma once

#include <QByteArray>

class ScriptHost;

// One script function as defined: the text from right after the keyword
// "function" through the brace that balances its first "{". Name and body are
// worked out from that text, with the odd results its rules give for
// definitions written unusually (two blanks before the name, a line break
// after the keyword, an inner block).
class TSMethod {
public:
    // Logs the head of the definition, through its first "{", in blue.
    TSMethod(const QByteArray& definition, ScriptHost& host);

    const QByteArray& Definition() const { return definition_; }

    // The text between the first blank and the next "(".
    QByteArray GetName() const;

    // From the first "{" up to, not including, the first "}".
    QByteArray GetBody() const;

    // The statement word that calls this function: its name followed by "()".
    const QByteArray& CallWord() const { return callWord_; }

private:
    QByteArray definition_;
    QByteArray callWord_;
};
