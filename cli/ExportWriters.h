#pragma once

// The export formats of one run's table. CSV: a header row of the columns' long names (with
// their units), then one row per point; an empty cell where a channel has no value. JSON: an
// object per run with the run's identity, the settings, the columns, the gear segments and the
// rows as arrays of numbers, null where there is no value. Numbers are the shortest text that
// reads back as the same single-precision value (at most 9 significant digits).

#include <ostream>
#include <string>

#include "ExportTable.h"
#include "GphData.h"
#include "JsonWriter.h"

// The CSV block of a table. With a non-empty `blockName` the block starts with a row holding
// only that name (used when several runs share one output).
void WriteCsvTable(std::ostream& out, const TExportTable& table, const std::string& blockName);

// The JSON object of one run's table; `gear` 0 when every point was taken.
void WriteJsonTable(TJsonWriter& json, const TGphData& data, const TRunData& run,
                    const TExportTable& table, int gear);
