#include "lap_library/LibrarySchema.h"

#include <array>

namespace {

// Version 1: sessions with their sheets and figures, their bytes apart (so that a scan of the
// sessions never reads through the large values), the laps, setup rows and tags. A session's
// number is never given again after it was removed.
constexpr std::string_view kVersion1 = R"sql(
CREATE TABLE sessions (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  sha256 TEXT NOT NULL UNIQUE,
  file_name TEXT NOT NULL,
  file_time INTEGER NOT NULL,
  import_time INTEGER NOT NULL,
  track TEXT NOT NULL DEFAULT '',
  layout TEXT NOT NULL DEFAULT '',
  vehicle TEXT NOT NULL DEFAULT '',
  driver TEXT NOT NULL DEFAULT '',
  conditions TEXT NOT NULL DEFAULT '',
  air_temp REAL,
  track_temp REAL,
  tyre_compound TEXT NOT NULL DEFAULT '',
  tyre_set TEXT NOT NULL DEFAULT '',
  cold_pressures TEXT NOT NULL DEFAULT '',
  hot_pressures TEXT NOT NULL DEFAULT '',
  notes_before TEXT NOT NULL DEFAULT '',
  notes_after TEXT NOT NULL DEFAULT '',
  figures_version INTEGER NOT NULL DEFAULT 0,
  has_unit INTEGER NOT NULL DEFAULT 0,
  unit INTEGER NOT NULL DEFAULT 0,
  fault TEXT NOT NULL DEFAULT '',
  lap_count INTEGER NOT NULL DEFAULT 0,
  timed_count INTEGER NOT NULL DEFAULT 0,
  counted_count INTEGER NOT NULL DEFAULT 0,
  best_lap INTEGER, best_lap_index INTEGER, best_lap_number INTEGER,
  theoretical INTEGER,
  sector_count INTEGER NOT NULL DEFAULT 0,
  rolling INTEGER, rolling_start_lap INTEGER, rolling_start_sector INTEGER,
  rolling_end_lap INTEGER, rolling_end_sector INTEGER,
  median INTEGER,
  fp_length INTEGER NOT NULL DEFAULT 0,
  fp_sectors INTEGER NOT NULL DEFAULT 0,
  fp_s1 INTEGER NOT NULL DEFAULT 0, fp_s2 INTEGER NOT NULL DEFAULT 0,
  fp_s3 INTEGER NOT NULL DEFAULT 0, fp_s4 INTEGER NOT NULL DEFAULT 0,
  fp_s5 INTEGER NOT NULL DEFAULT 0, fp_s6 INTEGER NOT NULL DEFAULT 0,
  s1_best INTEGER, s1_lap INTEGER, s2_best INTEGER, s2_lap INTEGER,
  s3_best INTEGER, s3_lap INTEGER, s4_best INTEGER, s4_lap INTEGER,
  s5_best INTEGER, s5_lap INTEGER, s6_best INTEGER, s6_lap INTEGER
);
CREATE INDEX sessions_by_track ON sessions(track, layout, vehicle, file_time);
CREATE TABLE session_bytes (
  session_id INTEGER PRIMARY KEY REFERENCES sessions(id) ON DELETE CASCADE,
  bytes BLOB NOT NULL
);
CREATE TABLE laps (
  session_id INTEGER NOT NULL REFERENCES sessions(id) ON DELETE CASCADE,
  idx INTEGER NOT NULL,
  number INTEGER NOT NULL,
  time INTEGER NOT NULL,
  counted INTEGER NOT NULL,
  sector_count INTEGER NOT NULL,
  s1 INTEGER, s2 INTEGER, s3 INTEGER, s4 INTEGER, s5 INTEGER, s6 INTEGER,
  PRIMARY KEY (session_id, idx)
) WITHOUT ROWID;
CREATE TABLE setup (
  session_id INTEGER NOT NULL REFERENCES sessions(id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  name TEXT NOT NULL,
  value TEXT NOT NULL,
  PRIMARY KEY (session_id, position)
) WITHOUT ROWID;
CREATE TABLE tags (
  session_id INTEGER NOT NULL REFERENCES sessions(id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  tag TEXT NOT NULL,
  PRIMARY KEY (session_id, position)
) WITHOUT ROWID;
CREATE INDEX tags_by_tag ON tags(tag);
)sql";

// Version 2: a revision per session, so that a sheet saved over a newer edit from another
// process is noticed; and removal that can be undone until it is made final.
constexpr std::string_view kVersion2 = R"sql(
ALTER TABLE sessions ADD COLUMN revision INTEGER NOT NULL DEFAULT 0;
ALTER TABLE sessions ADD COLUMN removed INTEGER NOT NULL DEFAULT 0;
CREATE INDEX sessions_by_time ON sessions(file_time);
)sql";

constexpr std::array<std::string_view, 2> kSteps{kVersion1, kVersion2};

} // namespace

std::span<const std::string_view> schemaSteps()
{
    return kSteps;
}
