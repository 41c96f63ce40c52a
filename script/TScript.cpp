#include "script/TScript.h"

#include "script/Evaluator.h"
#include "script/NestingLimit.h"
#include "script/ScriptHost.h"

namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The 1-based position of the "}" that balances the first "{" of rest, with the
// fallbacks of an unbalanced or brace-less definition; 0 for an empty rest.
qsizetype definitionLength(QByteArrayView rest) {
    const qsizetype length = rest.size();
    qsizetype p = rest.indexOf('{') + 1;
    int depth = 1;
    while (depth != 0 && p < length) {
        ++p;
        if (rest[p - 1] == '{')
            ++depth;
        else if (rest[p - 1] == '}')
            --depth;
    }
    return p;
}

} // namespace

TScript::TScript(ScriptHost& host, ScriptObjects& objects, QObject* owner)
    : QObject(owner), host_(host), objects_(objects) {}

TScript::~TScript() = default;

void TScript::Run(const QByteArray& text) {
    if (!enabled_)
        return;
    // Our own reference keeps the text alive and unchanged while a statement
    // runs a nested message loop in which the caller may drop or change its own.
    const QByteArray script = text;
    const QByteArrayView all(script);
    Evaluator evaluator(*this);
    qsizetype pos = 0;
    for (;;) {
        while (pos < all.size() && isBlank(all[pos]))
            ++pos;
        const qsizetype start = pos;
        while (pos < all.size() && !isBlank(all[pos]))
            ++pos;
        if (pos == start)
            return;
        const QByteArrayView token = all.sliced(start, pos - start);
        if (token == "function")
            pos += DefineFunction(all.sliced(pos));
        else
            evaluator.RunStatement(token);
    }
}

qsizetype TScript::DefineFunction(QByteArrayView rest) {
    const qsizetype length = definitionLength(rest);
    if (length == 0)
        return 0;
    std::lock_guard lock(FunctionLock);
    functions_.push_back(std::make_unique<TSMethod>(rest.first(length).toByteArray(), host_));
    TSMethod* method = functions_.back().get();
    host_.AddScriptFunction(method->GetName(), method);
    return length;
}

bool TScript::CallFunction(QByteArrayView callWord) {
    // The body runs after the search: it may define functions and so grow the store.
    const TSMethod* found = nullptr;
    for (const auto& function : functions_) {
        if (function->CallWord() == callWord) {
            found = function.get();
            break;
        }
    }
    if (!found)
        return false;
    const NestingLimit nesting(callDepth_, MaxCallDepth,
                               "Script - Too many nested function calls (more than %1)");
    Run(found->GetBody());
    return true;
}
