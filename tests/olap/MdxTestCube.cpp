#include "tests/olap/MdxTestCube.h"

#include "olap/engine/CubeBuilder.h"

#include <cmath>

namespace cbtest {

using namespace cb::olap;

std::shared_ptr<const CubeData> MakeSalesCube() {
    CubeBuilder b("Sales");
    b.SetLastDataUpdate("2024-03-01 12:00:00");
    int customer = b.AddDimension("Customer", {"Country", "City"});
    int product = b.AddDimension("Product", {"Category", "Product"});
    int time = b.AddDimension("Time", {"Year"});
    b.AddMeasure("Revenue", Aggregation::Sum, "#,##0.00");
    b.AddMeasure("Cost", Aggregation::Sum, "#,##0.00");
    b.AddMeasure("Units", Aggregation::Sum, "0");
    b.AddCalculatedMember("Margin", "[Measures].[Revenue] - [Measures].[Cost]", "#,##0.00");
    b.AddCalculatedMember("Avg Price", "[Measures].[Revenue] / [Measures].[Units]", "0.00");
    b.AddCalculatedMember("Margin Share", "[Measures].[Margin] / [Measures].[Revenue] * 100", "0.0");

    const char* cities[][2] = {
        {"France", "Paris"}, {"France", "Lyon"}, {"Germany", "Berlin"}, {"USA", "Boston"}, {"USA", "Denver"}};
    for (auto& c : cities) b.Leaf(customer, {c[0], c[1]});
    const char* products[][2] = {{"Food", "Bread"}, {"Food", "Cheese"}, {"Drink", "Water"}, {"Drink", "Wine"}};
    for (auto& p : products) b.Leaf(product, {p[0], p[1]});
    b.Leaf(time, {"2023"});
    b.Leaf(time, {"2024"});

    struct Fact {
        const char* country;
        const char* city;
        const char* category;
        const char* product;
        const char* year;
        double revenue, cost, units;
    };
    const double null = std::nan("");
    const Fact facts[] = {
        {"France", "Paris", "Food", "Bread", "2023", 10, 6, 5},
        {"France", "Paris", "Drink", "Wine", "2024", 1040, 25, 4},
        {"France", "Lyon", "Food", "Cheese", "2023", 20, 12, 2},
        {"France", "Lyon", "Drink", "Water", "2024", 5, 2, 10},
        {"Germany", "Berlin", "Food", "Bread", "2024", 8, 5, 4},
        {"Germany", "Berlin", "Drink", "Wine", "2023", 30, null, 3},
        {"USA", "Boston", "Food", "Cheese", "2024", 25, 15, 5},
        {"USA", "Boston", "Drink", "Water", "2023", 6, 3, 12},
        {"USA", "Boston", "Food", "Bread", "2023", 12, 7, 6},
    };
    for (const Fact& f : facts) {
        uint32_t leaves[] = {b.Leaf(customer, {f.country, f.city}), b.Leaf(product, {f.category, f.product}),
                             b.Leaf(time, {f.year})};
        double values[] = {f.revenue, f.cost, f.units};
        b.AddFact(leaves, values);
    }
    return std::shared_ptr<const CubeData>(b.Finish());
}

std::shared_ptr<Connection> SalesConnection() {
    return std::make_shared<Connection>("Data Source=\"memory\";Provider=MSOLAP.2;", "memory", MakeSalesCube());
}

}  // namespace cbtest
