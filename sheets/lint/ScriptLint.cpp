#include "sheets/lint/ScriptLint.h"

#include "platform/Error.h"
#include "platform/Win1250.h"
#include "platform/components/AsciiName.h"
#include "platform/components/Reflection.h"
#include "platform/widgets/Form.h"
#include "script/QuietScriptHost.h"
#include "script/ScriptObjects.h"
#include "script/TSMethod.h"
#include "script/TScript.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace {

using Severity = LintFinding::Severity;

// The word an engine message quotes ('...'), if any.
QByteArray quotedWord(const QString& text) {
    static const QRegularExpression quoted(QStringLiteral("'([^']+)'"));
    const QRegularExpressionMatch match = quoted.match(text);
    return match.hasMatch() ? Win1250::fromWide(match.captured(1)) : QByteArray();
}

} // namespace

// The host and the objects the engine works with: stand-in objects, one per
// widget name, that carry only the widget's class.
class ScriptLint::Stand : public QuietScriptHost, public QuietScriptObjects {
public:
    std::vector<Problem> problems;
    std::vector<const TSMethod*> functions;

    void addWidget(const QByteArray& name, const QMetaObject& widgetClass) {
        if (widgets_.contains(name))
            return;
        auto stand = std::make_unique<QObject>();
        classes_.insert(stand.get(), &widgetClass);
        widgets_.insert(name, stand.get());
        stands_.push_back(std::move(stand));
    }

    // ScriptHost
    QObject* FindSheetComponent(const QByteArray& name) override {
        QObject* found = widgets_.value(name);
        if (!found && AsciiName::isIdentifier(name))
            problems.push_back({name, 0, Severity::Error,
                                QStringLiteral("no widget of the sheet is named '%1' (names "
                                               "match with their letter case)")
                                    .arg(Win1250::toWide(name))});
        return found;
    }
    void AddScriptFunction(const QByteArray& name, TSMethod* method) override {
        const auto earlier = std::count_if(functions.begin(), functions.end(),
                                           [&](const TSMethod* f) { return f->GetName() == name; });
        if (earlier > 0)
            problems.push_back({"function " + name, int(earlier) + 1, Severity::Warning,
                                QStringLiteral("function '%1' is defined again: calls run the "
                                               "first definition")
                                    .arg(Win1250::toWide(name))});
        functions.push_back(method);
    }
    void ShowMessage(const QString& text) override {
        problems.push_back({quotedWord(text), 0, Severity::Error, text});
    }

    // ScriptObjects
    Variant readProperty(const QObject* object, const QByteArray& name) override {
        requirePublished(object, name);
        return Variant();
    }
    void writeProperty(QObject* object, const QByteArray& name, const Variant& value) override {
        if (!requirePublished(object, name))
            return;
        try {
            CheckPropValue(*classes_.value(object), name, value);
        } catch (const Error&) {
            const QByteArray text = value.isNull() ? QByteArray("Null") : value.toText();
            problems.push_back(
                {name, 0, Severity::Error, InvalidValueText(*classes_.value(object), name, text)});
        }
    }
    bool isWindow(const QObject* object) override {
        return classes_.value(object)->inherits(&TCustomForm::staticMetaObject);
    }

private:
    bool requirePublished(const QObject* object, const QByteArray& name) {
        const QMetaObject* widgetClass = classes_.value(object);
        if (IsPublishedClassProp(*widgetClass, name))
            return true;
        problems.push_back(
            {name, 0, Severity::Error,
             QStringLiteral("%1 has no property '%2'")
                 .arg(QString::fromLatin1(widgetClass->className()), Win1250::toWide(name))});
        return false;
    }

    std::vector<std::unique_ptr<QObject>> stands_;
    QHash<QByteArray, QObject*> widgets_;
    QHash<const QObject*, const QMetaObject*> classes_;
};

ScriptLint::ScriptLint()
    : stand_(std::make_unique<Stand>()),
      script_(std::make_unique<TScript>(*stand_, *stand_, nullptr)) {}

ScriptLint::~ScriptLint() = default;

void ScriptLint::addWidget(const QByteArray& name, const QMetaObject& widgetClass) {
    stand_->addWidget(name, widgetClass);
}

std::vector<ScriptLint::Problem> ScriptLint::run(const QByteArray& text) {
    stand_->problems.clear();
    try {
        script_->Run(text);
    } catch (const Error& e) {
        stand_->problems.push_back({quotedWord(e.message()), 0, Severity::Error,
                                    e.message() + QStringLiteral(" (the script ends here)")});
    }
    return std::move(stand_->problems);
}

const std::vector<const TSMethod*>& ScriptLint::functions() const {
    return stand_->functions;
}
