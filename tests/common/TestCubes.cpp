#include "tests/common/TestCubes.h"

#include "olap/engine/CubeBuilder.h"

#include <cmath>
#include <limits>

namespace cb::olap {

std::unique_ptr<CubeData> MakeTinyCube() {
    constexpr double N = std::numeric_limits<double>::quiet_NaN();
    CubeBuilder b("Tiny");
    b.SetLastDataUpdate("2024-01-02 03:04:05");
    const int geo = b.AddDimension("Geography", {"Country", "City"});
    const int prod = b.AddDimension("Product", {"Category"});
    b.AddMeasure("Sales", Aggregation::Sum, "#,##0.00");
    b.AddMeasure("Quantity", Aggregation::Sum, "#,##0");
    b.AddMeasure("Orders", Aggregation::Count, "#,##0");
    b.AddMeasure("Low Price", Aggregation::Min, "#,##0.00");
    b.AddMeasure("High Price", Aggregation::Max, "#,##0.00");
    b.AddCalculatedMember("Average Sale", "[Measures].[Sales] / [Measures].[Orders]", "#,##0.00");

    const uint32_t boston = b.Leaf(geo, {"USA", "Boston"});
    const uint32_t seattle = b.Leaf(geo, {"USA", "Seattle"});
    const uint32_t paris = b.Leaf(geo, {"France", "Paris"});
    const uint32_t lyon = b.Leaf(geo, {"France", "Lyon"});
    b.Leaf(geo, {"Japan", "Tokyo"});
    const uint32_t bikes = b.Leaf(prod, {"Bikes"});
    const uint32_t helmets = b.Leaf(prod, {"Helmets"});
    b.Leaf(prod, {"Gloves"});

    struct Row {
        uint32_t city, category;
        double v[5];
    };
    const Row rows[] = {
        {boston, bikes, {100, 1, 1, 100, 100}}, {boston, bikes, {250, 2, 1, 125, 125}},
        {boston, helmets, {30, 3, 1, 10, 10}},  {seattle, bikes, {400, N, 1, 400, 400}},
        {seattle, helmets, {N, 5, N, N, N}},    {paris, bikes, {300, 2, 1, 150, 150}},
        {paris, helmets, {20, 1, 1, 20, 20}},   {lyon, helmets, {45, 3, 1, 15, 15}},
    };
    for (const Row& r : rows) {
        const uint32_t leaves[2] = {r.city, r.category};
        b.AddFact(leaves, r.v);
    }
    return b.Finish();
}

}  // namespace cb::olap
