#include "tests/support/Generate.h"

#include <random>

namespace zor::test {

Fixture Generate(const std::string& dir, const GenerateParams& p) {
    Fixture f(dir);
    std::mt19937 rng(p.seed);
    std::uniform_real_distribution<float> value(0.0f, 1000.0f);
    std::uniform_real_distribution<double> chance(0.0, 1.0);

    std::vector<std::string> top;
    for (int r = 1; r <= p.subSets; ++r) top.push_back("Region " + std::to_string(r));
    top.push_back("Total");
    f.Set(10000, "Country", top, {}, "CTY");
    for (int r = 1; r <= p.subSets; ++r) {
        std::vector<std::string> regions, small;
        for (int i = 1; i < p.regionsPerSet; ++i)
            regions.push_back("District " + std::to_string(r) + "." + std::to_string(i));
        regions.push_back("Region " + std::to_string(r) + " total");
        for (int i = 1; i <= p.smallPerSet; ++i)
            small.push_back("Town " + std::to_string(r) + "." + std::to_string(i));
        std::string code = "R" + std::to_string(r % 100);
        f.Set(10000 + 100 * r, "Region " + std::to_string(r), regions, small, code);
    }
    for (int g = 0; g < p.groups; ++g) {
        f.Group(g, "Group " + std::to_string(g));
        for (int s = 0; s < p.indicatorsPerGroup; ++s) {
            std::vector<std::string> variants;
            for (int v = 1; v <= p.variantsPerIndicator; ++v)
                variants.push_back("Indicator " + std::to_string(g) + "." + std::to_string(s) +
                                   " variant " + std::to_string(v));
            f.Indicator(g * 1000 + s * 10,
                        "Indicator " + std::to_string(g) + "." + std::to_string(s), variants);
        }
    }
    std::vector<int> years;
    for (int y = 0; y < p.periods; ++y) years.push_back(p.firstYear + y);
    f.Periods(years);
    if (!p.values) return f;

    std::vector<int> codes;
    for (const auto& g : f.groups())
        for (const auto& ind : g.indicators) {
            codes.push_back(ind.code);
            for (const auto& v : ind.variants) codes.push_back(v.code);
        }
    for (const auto& set : f.sets())
        for (int y : years)
            for (int code : codes) {
                std::vector<float> rec(size_t(set.Stride()));
                for (auto& v : rec) v = chance(rng) < p.missingShare ? MissingValue : value(rng);
                f.Values(set.id, y, code, std::move(rec));
            }
    return f;
}

} // namespace zor::test
