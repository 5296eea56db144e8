#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The library's tables, versioned by PRAGMA user_version. Step i of the chain brings a library of
// version i to version i + 1, so a library of any earlier version reaches the current one step by
// step; the first step creates the first version's tables in an empty file. A new version is one
// more step at the end, never a change of an earlier one.

// "MRLB": marks an SQLite file as a lap library (PRAGMA application_id).
inline constexpr std::int32_t kLibraryApplicationId = 0x4D524C42;

std::span<const std::string_view> schemaSteps();
inline int schemaVersion()
{
    return int(schemaSteps().size());
}
