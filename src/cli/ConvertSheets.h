#pragma once

#include "cli/ConvertInputs.h"
#include "lap_library/SessionSheet.h"

#include <cstddef>
#include <optional>
#include <vector>

// The sheets of the lap library for the sessions of a run's lap files: a lap file whose bytes
// the library holds (by their hash) is that session, and its page of the report shows its
// sheet. inputOf gives each session's input. A session of a table text, of standard input or of
// a pipe has none, nor has any when there is no library.
std::vector<std::optional<SessionSheet>> librarySheets(RunInputs& inputs,
                                                       const std::vector<std::size_t>& inputOf);
