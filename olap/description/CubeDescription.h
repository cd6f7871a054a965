#pragma once
// Cube descriptions: a short text that names the cube, its dimensions with
// their levels, its measures and calculated members, and where the facts are:
// a CSV file or a table of an SQLite database.
//
//   # comment
//   cube Sales
//   updated 2024-06-30 12:00:00                (optional last data update)
//   dimension Customer: Region, Country, City  (levels below (All), top first)
//   dimension Product: Category, Product
//   measure Revenue: sum "#,##0.00"            (sum, count, min or max; optional format)
//   measure Orders: count
//   calculated Profit: "#,##0.00" [Measures].[Revenue] - [Measures].[Cost]
//   facts sales.csv                            (relative to the description's folder)
// or, for facts in an SQLite table or view (see CubeDescription.cpp):
//   facts-sqlite sales.db sales                (FILE TABLE; either in double quotes)
//
// The CSV file (comma separated, double quotes around fields that need them,
// first row the column names) has one column per level and one per measure.
// A level's column is named after the level, or "Dimension:Level" where two
// dimensions have a level of that name; a measure's column after the
// measure. Level cells hold member names; measure cells numbers ("." as the
// decimal point), an empty cell is a null. Members keep the order in which
// they first appear.
#include "olap/engine/CubeData.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::olap {

// Bounds on reading the facts, so that a hostile source ends with a clear
// error instead of running or growing without end.
struct SourceLimits {
    // Memory the read may take: facts (keys and values), members and the
    // source's own (SQLite's heap, itself at most maxSqliteBytes).
    size_t maxFactBytes = size_t(2) << 30;
    size_t maxSqliteBytes = size_t(256) << 20;
    // SQLite work allowed before the first row, and added for each row.
    uint64_t maxSteps = 500'000'000;
    uint64_t stepsPerRow = 10'000;
};

// Throws EOlapError naming the file and line of the first problem. inputs,
// when given, receives the files read (description and facts).
std::unique_ptr<CubeData> BuildCubeFromDescription(const std::string& path, const SourceLimits& limits = {},
                                                   std::vector<std::string>* inputs = nullptr);

// The same from the description's text; source names it in messages, and the
// facts file is found relative to baseDir.
std::unique_ptr<CubeData> BuildCubeFromDescriptionText(const std::string& text, const std::string& source,
                                                       const std::string& baseDir, const SourceLimits& limits = {},
                                                       std::vector<std::string>* inputs = nullptr);

}  // namespace cb::olap
