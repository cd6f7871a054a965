#pragma once
// A small hand-made cube for tests, with known values.
#include "olap/engine/CubeData.h"

#include <memory>

namespace cb::olap {

// Cube "Tiny":
//   Geography: Country > City
//     USA: Boston, Seattle; France: Paris, Lyon; Japan: Tokyo (no facts)
//   Product: Category: Bikes, Helmets, Gloves (no facts)
//   Measures: Sales (sum, "#,##0.00"), Quantity (sum, "#,##0"),
//             Orders (count, "#,##0"), Low Price (min), High Price (max)
//   Calculated: Average Sale = [Measures].[Sales] / [Measures].[Orders] ("#,##0.00")
// Facts (City, Category: Sales, Quantity, Orders, Low Price, High Price; - is null):
//   Boston  Bikes    100  1  1  100  100
//   Boston  Bikes    250  2  1  125  125
//   Boston  Helmets   30  3  1   10   10
//   Seattle Bikes    400  -  1  400  400
//   Seattle Helmets    -  5  -    -    -
//   Paris   Bikes    300  2  1  150  150
//   Paris   Helmets   20  1  1   20   20
//   Lyon    Helmets   45  3  1   15   15
std::unique_ptr<CubeData> MakeTinyCube();

}  // namespace cb::olap
