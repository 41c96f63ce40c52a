#pragma once

#include "platform/Error.h"

#include <QString>

// Counts one more level of nesting for as long as it lives, and refuses with an
// error that ends the run when the limit is reached, before the stack runs out.
class NestingLimit {
public:
    // `tooDeep` is the error text, with %1 for the limit.
    NestingLimit(int& depth, int limit, const char* tooDeep) : depth_(depth) {
        if (depth_ >= limit)
            throw Error(QString::fromLatin1(tooDeep).arg(limit));
        ++depth_;
    }
    ~NestingLimit() { --depth_; }
    NestingLimit(const NestingLimit&) = delete;
    NestingLimit& operator=(const NestingLimit&) = delete;

private:
    int& depth_;
};
