// Writes a sample of item scores from a factor model: every item loads on one
// of the factors, and its continuous response is cut into ordered categories.
// Used to make the bundled examples and the data of the benchmark jobs.
//
//   talver-generate --participants 707 --items 10 --factors 2 --categories 5
//                   --seed 1 [--loading 0.7] [--shift ITEM:DELTA]
//                   [--item-loading ITEM:LOADING] > target.dat
//
// --item-loading gives one item its own loading; its unique part keeps the
// variance of its response at 1.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A small, fully specified generator so the files can be made again anywhere.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    double Uniform()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return (static_cast<double>(z >> 11) + 0.5) / 9007199254740992.0;
    }
    double Normal()
    {
        const double u = Uniform();
        const double v = Uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
    }

private:
    std::uint64_t state_;
};

struct Settings {
    int participants = 707;
    int items = 10;
    int factors = 2;
    int categories = 5;
    std::uint64_t seed = 1;
    double loading = 0.7;
    int shiftItem = 0;
    double shift = 0.0;
    int ownLoadingItem = 0;
    double ownLoading = 0.0;
};

bool ParseArguments(int argc, char** argv, Settings& s)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--participants") {
            s.participants = std::atoi(value);
        } else if (name == "--items") {
            s.items = std::atoi(value);
        } else if (name == "--factors") {
            s.factors = std::atoi(value);
        } else if (name == "--categories") {
            s.categories = std::atoi(value);
        } else if (name == "--seed") {
            s.seed = std::strtoull(value, nullptr, 10);
        } else if (name == "--loading") {
            s.loading = std::atof(value);
        } else if (name == "--shift") {
            if (std::sscanf(value, "%d:%lf", &s.shiftItem, &s.shift) != 2) {
                return false;
            }
        } else if (name == "--item-loading") {
            if (std::sscanf(value, "%d:%lf", &s.ownLoadingItem, &s.ownLoading) != 2) {
                return false;
            }
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && s.participants > 0 && s.items > 0 && s.factors > 0 && s.categories >= 2;
}

} // namespace

int main(int argc, char** argv)
{
    Settings s;
    if (!ParseArguments(argc, argv, s)) {
        std::fprintf(stderr, "usage: talver-generate --participants N --items P --factors M --categories K "
                             "--seed S [--loading L] [--shift ITEM:DELTA] [--item-loading ITEM:L]\n");
        return 2;
    }
    SplitMix64 random(s.seed);
    // Equally spaced thresholds of the standard normal response.
    std::vector<double> thresholds;
    for (int k = 1; k < s.categories; ++k) {
        thresholds.push_back(-2.0 + 4.0 * k / s.categories);
    }
    auto loadingOf = [&s](int item) { return item + 1 == s.ownLoadingItem ? s.ownLoading : s.loading; };
    std::vector<double> factorScores(s.factors);
    for (int person = 0; person < s.participants; ++person) {
        for (double& f : factorScores) {
            f = random.Normal();
        }
        for (int item = 0; item < s.items; ++item) {
            const int factor = item * s.factors / s.items;
            const double loading = loadingOf(item);
            double response = loading * factorScores[factor] + std::sqrt(1.0 - loading * loading) * random.Normal();
            if (item + 1 == s.shiftItem) {
                response += s.shift;
            }
            int score = 1;
            for (double t : thresholds) {
                score += response > t ? 1 : 0;
            }
            std::printf(item == 0 ? "%d" : " %d", score);
        }
        std::printf("\n");
    }
    return 0;
}
