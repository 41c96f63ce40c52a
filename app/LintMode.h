#pragma once

#include "app/StartOptions.h"

// konfidor --lint: checks each sheet file against the builder's rules, optionally
// with device configurations for the bindings, and prints every finding sorted by
// file and position, as FILE:LINE:COLUMN: error|warning: TEXT lines or as one JSON
// array. Needs no display and never connects. The sheet classes must be registered.
namespace LintMode {

enum Status { Clean = 0, WarningsOnly = 1, Errors = 2 };

int run(const StartOptions& options);

} // namespace LintMode
