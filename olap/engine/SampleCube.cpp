#include "olap/engine/SampleCube.h"

#include "olap/engine/CubeBuilder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace cb::olap {

namespace {

// splitmix64: the same numbers on every platform.
class Rng {
public:
    explicit Rng(uint64_t seed) : FS(seed) {}
    uint64_t next() {
        uint64_t z = (FS += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    size_t below(size_t n) { return size_t(uniform() * double(n)); }

private:
    uint64_t FS;
};

struct Region {
    const char* name;
    std::vector<const char*> countries;
};

const std::vector<Region>& Regions() {
    static const std::vector<Region> regions = {
        {"Europe", {"France", "Germany", "Italy", "Spain", "Poland", "Sweden", "Netherlands", "Portugal"}},
        {"North America", {"United States", "Canada", "Mexico"}},
        {"South America", {"Brazil", "Argentina", "Chile", "Colombia", "Peru"}},
        {"Asia", {"Japan", "India", "China", "Korea", "Vietnam", "Thailand", "Indonesia"}},
        {"Africa", {"Egypt", "Kenya", "Nigeria", "Morocco"}},
        {"Oceania", {"Australia", "New Zealand", "Fiji"}},
    };
    return regions;
}

struct Category {
    const char* name;
    double basePrice;
    std::vector<std::pair<const char*, std::vector<const char*>>> subcategories;
};

const std::vector<Category>& Categories() {
    static const std::vector<Category> categories = {
        {"Bikes",
         900,
         {{"Mountain Bikes", {"Summit", "Ridge", "Canyon", "Boulder"}},
          {"Road Bikes", {"Sprint", "Aero", "Tempo", "Velo"}},
          {"Touring Bikes", {"Voyager", "Nomad", "Atlas"}}}},
        {"Components",
         120,
         {{"Wheels", {"Rim Pro", "Rim Lite", "Hub Set"}},
          {"Brakes", {"Disc Brake", "Rim Brake", "Brake Pads"}},
          {"Chains", {"Chain 9 Speed", "Chain 11 Speed"}},
          {"Saddles", {"Comfort Saddle", "Race Saddle", "Gel Saddle"}}}},
        {"Clothing",
         45,
         {{"Jerseys", {"Classic Jersey", "Team Jersey", "Thermal Jersey"}},
          {"Gloves", {"Summer Gloves", "Winter Gloves"}},
          {"Caps", {"Cycling Cap", "Sun Cap"}}}},
        {"Accessories",
         25,
         {{"Helmets", {"Urban Helmet", "Trail Helmet", "Kids Helmet"}},
          {"Lights", {"Front Light", "Rear Light", "Light Set"}},
          {"Bottles", {"Bottle 500 ml", "Bottle 750 ml", "Bottle Cage"}},
          {"Locks", {"Cable Lock", "U Lock"}}}},
    };
    return categories;
}

const std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};

std::string CityName(Rng& rng) {
    static const std::array<const char*, 24> first = {"Val",  "Bren", "Cor", "Dun", "El",   "Fair", "Gran", "Hal",
                                                      "Iver", "Kal",  "Lor", "Mar", "Nor",  "Or",   "Port", "Ros",
                                                      "San",  "Tor",  "Ul",  "Ven", "West", "Yar",  "Zel",  "Ash"};
    static const std::array<const char*, 20> second = {"mora",  "port",   "field",  "ton",     "wick", "haven", "burg",
                                                       "dale",  "mouth",  "ford",   "ria",     "vale", "stead", "holm",
                                                       "ville", "bridge", "cester", "minster", "gate", "bay"};
    std::string s = std::string(first[rng.below(first.size())]) + second[rng.below(second.size())];
    if (rng.below(4) == 0) s.insert(0, rng.below(2) ? "New " : "Old ");
    return s;
}

}  // namespace

std::unique_ptr<CubeData> MakeSampleCube(size_t facts, uint64_t seed) {
    Rng rng(seed);
    CubeBuilder b(kSampleCubeName);
    b.SetLastDataUpdate("2024-12-31 18:00:00");
    const int customer = b.AddDimension("Customer", {"Region", "Country", "City"});
    const int product = b.AddDimension("Product", {"Category", "Subcategory", "Product"});
    const int time = b.AddDimension("Time", {"Year", "Quarter", "Month"});
    const int channel = b.AddDimension("Channel", {"Channel"});
    b.AddMeasure("Revenue", Aggregation::Sum, "#,##0.00");
    b.AddMeasure("Cost", Aggregation::Sum, "#,##0.00");
    b.AddMeasure("Units", Aggregation::Sum, "#,##0");
    b.AddMeasure("Orders", Aggregation::Count, "#,##0");
    b.AddCalculatedMember("Profit", "[Measures].[Revenue] - [Measures].[Cost]", "#,##0.00");
    b.AddCalculatedMember("Margin", "([Measures].[Revenue] - [Measures].[Cost]) / [Measures].[Revenue]", "0.0%");

    // 3000 cities spread over the countries, unique names within a country.
    std::vector<uint32_t> cities;
    std::vector<double> cityWeight;
    size_t countryCount = 0;
    for (const Region& r : Regions()) countryCount += r.countries.size();
    const size_t cityTotal = 3000;
    size_t made = 0, countryIndex = 0;
    for (const Region& r : Regions())
        for (const char* country : r.countries) {
            ++countryIndex;
            const size_t n = countryIndex == countryCount ? cityTotal - made : cityTotal / countryCount;
            std::set<std::string> names;
            while (names.size() < n) {
                std::string name = CityName(rng);
                if (names.insert(name).second) {
                    cities.push_back(b.Leaf(customer, {r.name, country, name}));
                    cityWeight.push_back(0.2 + rng.uniform());
                }
            }
            made += n;
        }
    std::vector<double> cityCdf(cityWeight.size());
    double acc = 0;
    for (size_t i = 0; i < cityWeight.size(); ++i) cityCdf[i] = acc += cityWeight[i];

    struct Item {
        uint32_t leaf;
        double price, costRatio;
    };
    std::vector<Item> items;
    for (const Category& c : Categories())
        for (const auto& [sub, names] : c.subcategories)
            for (const char* name : names)
                items.push_back({b.Leaf(product, {c.name, sub, name}),
                                 std::round(c.basePrice * (0.5 + rng.uniform()) * 100) / 100,
                                 0.45 + 0.3 * rng.uniform()});

    std::vector<uint32_t> months;
    for (int year = 2022; year <= 2024; ++year)
        for (int m = 0; m < 12; ++m)
            months.push_back(b.Leaf(time, {std::to_string(year), std::string(1, 'Q').append(std::to_string(m / 3 + 1)),
                                           kMonths[size_t(m)]}));

    struct Channel {
        const char* name;
        double weight, discount;
    };
    const std::array<Channel, 4> channelDefs = {
        {{"Online", 0.35, 0.05}, {"Retail Store", 0.4, 0.0}, {"Wholesale", 0.15, 0.18}, {"Partner", 0.1, 0.1}}};
    std::array<uint32_t, 4> channels{};
    for (size_t i = 0; i < channelDefs.size(); ++i) channels[i] = b.Leaf(channel, {channelDefs[i].name});

    uint32_t leaves[4];
    double values[4];
    for (size_t f = 0; f < facts; ++f) {
        const double u = rng.uniform() * acc;
        const size_t city = size_t(std::lower_bound(cityCdf.begin(), cityCdf.end(), u) - cityCdf.begin());
        leaves[0] = cities[std::min(city, cities.size() - 1)];
        // Cheaper items sell more often.
        const Item& item = items[size_t(std::pow(rng.uniform(), 0.8) * double(items.size()))];
        leaves[1] = item.leaf;
        // Later months sell a little more.
        const size_t month = std::min(months.size() - 1, size_t(std::sqrt(rng.uniform()) * double(months.size())));
        leaves[2] = months[month];
        double cw = rng.uniform();
        size_t ch = 0;
        while (ch + 1 < channelDefs.size() && cw >= channelDefs[ch].weight) {
            cw -= channelDefs[ch].weight;
            ++ch;
        }
        leaves[3] = channels[ch];
        const double units = double(1 + rng.below(item.price > 300 ? 3 : 12));
        const double revenue = std::round(units * item.price * (1 - channelDefs[ch].discount) * 100) / 100;
        const double cost = std::round(units * item.price * item.costRatio * 100) / 100;
        values[0] = revenue;
        values[1] = cost;
        values[2] = units;
        values[3] = 1;
        b.AddFact(leaves, values);
    }
    return b.Finish();
}

}  // namespace cb::olap
