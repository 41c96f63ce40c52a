#pragma once

#include "sheets/lint/SheetLint.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class TScript;
class TSMethod;

// Runs a sheet's scripts through the program's own script engine, against
// stand-ins for the sheet's widgets: nothing is shown, sent or changed, and a
// property read gives an empty value. What the engine or the reflection rules
// refuse on the way (an unknown command, widget or property, a value a property
// does not take, an error that ends the script) is a problem, with the word it
// is about where the engine names one. The language has no branches, so one run
// meets every statement up to the first error.
class ScriptLint {
public:
    struct Problem {
        QByteArray word;    // empty when the engine names none
        int occurrence = 0; // which occurrence of the word in the text; 0: the next one
        LintFinding::Severity severity;
        QString text;
    };

    ScriptLint();
    ~ScriptLint();

    // A widget the sheet builds; scripts find it by its name from then on.
    void addWidget(const QByteArray& name, const QMetaObject& widgetClass);
    // Runs a script text; the functions it defines stay defined.
    std::vector<Problem> run(const QByteArray& text);
    // The functions defined so far, in definition order.
    const std::vector<const TSMethod*>& functions() const;

private:
    class Stand;
    std::unique_ptr<Stand> stand_;
    std::unique_ptr<TScript> script_;
};
