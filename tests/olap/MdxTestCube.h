#pragma once
// The cube the MDX and object model tests query.
//
// Cube "Sales":
//   Customer: Country > City: France (Paris, Lyon), Germany (Berlin),
//             USA (Boston, Denver; Denver has no facts)
//   Product:  Category > Product: Food (Bread, Cheese), Drink (Water, Wine)
//   Time:     Year: 2023, 2024
//   Measures: Revenue (sum, "#,##0.00"), Cost (sum, "#,##0.00"), Units (sum, "0")
//   Calculated: Margin = Revenue - Cost ("#,##0.00"),
//               Avg Price = Revenue / Units ("0.00"),
//               Margin Share = Margin / Revenue * 100 ("0.0")
// Facts (City, Product, Year: Revenue, Cost, Units; - is null):
//   Paris  Bread  2023    10   6   5
//   Paris  Wine   2024  1040  25   4
//   Lyon   Cheese 2023    20  12   2
//   Lyon   Water  2024     5   2  10
//   Berlin Bread  2024     8   5   4
//   Berlin Wine   2023    30   -   3
//   Boston Cheese 2024    25  15   5
//   Boston Water  2023     6   3  12
//   Boston Bread  2023    12   7   6
#include "olap/adomd/Adomd.h"
#include "olap/engine/CubeData.h"

#include <memory>

namespace cbtest {

std::shared_ptr<const cb::olap::CubeData> MakeSalesCube();
// A connection over a fresh copy of the cube (no file behind it).
std::shared_ptr<cb::olap::Connection> SalesConnection();

}  // namespace cbtest
