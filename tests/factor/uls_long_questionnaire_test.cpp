// ULS on long questionnaires, where the steps mostly see the leading
// eigenpairs alone: wherever they end, the loadings must be a stationary
// point of the least-squares criterion to 1e-9 of the variances, and the
// same (rows permuted) in every item order. Checked with as many factors as
// the data have, where the leading-pair Hessian serves, and with two weak
// factors more, where it does not.

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "factor/UlsExtraction.h"
#include "tests/factor/factor_test_support.h"
#include "tests/factor/uls_test_support.h"

namespace {

// The covariance matrix (divisor n) of n participants from a model of
// `factors` blocks of items, loadings .45 to .9, two items of the first
// block correlating about .95, every score rounded to one of five
// categories with skewed thresholds, as questionnaire items are.
Matrix* QuestionnaireSample(unsigned seed, int p, int factors, int n)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> uniform(0.45, 0.9);
    std::vector<double> loading(p);
    for (int i = 0; i < p; ++i) {
        loading[i] = uniform(generator);
    }
    loading[0] = loading[1] = 0.97;
    std::vector<double> x(static_cast<std::size_t>(n) * p);
    std::vector<double> f(factors);
    for (int r = 0; r < n; ++r) {
        for (double& value : f) {
            value = normal(generator);
        }
        const double shared = normal(generator);
        for (int i = 0; i < p; ++i) {
            const double unique = std::sqrt(1.0 - loading[i] * loading[i]);
            const double noise = i < 2 ? shared * 0.6 + 0.4 * normal(generator) : normal(generator);
            const double latent = loading[i] * f[i % factors] + unique * noise;
            const double thresholds[4] = {-1.6, -0.9, 0.1, 1.0};
            x[static_cast<std::size_t>(r) * p + i] =
                1.0 + static_cast<double>(std::count_if(thresholds, thresholds + 4, [latent](double t) { return latent > t; }));
        }
    }
    std::vector<double> mean(p, 0.0);
    for (int r = 0; r < n; ++r) {
        for (int i = 0; i < p; ++i) {
            mean[i] += x[static_cast<std::size_t>(r) * p + i] / n;
        }
    }
    Matrix* s = NewMatrix(p, p);
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j <= i; ++j) {
            double sum = 0.0;
            for (int r = 0; r < n; ++r) {
                sum += (x[static_cast<std::size_t>(r) * p + i] - mean[i]) * (x[static_cast<std::size_t>(r) * p + j] - mean[j]);
            }
            (*s)(i, j) = (*s)(j, i) = sum / n;
        }
    }
    return s;
}

// With Psi = diag(S - L L') and every unique variance above 0, the
// gradient of the criterion vanishes where the columns of L span an
// invariant subspace of S - Psi: (S - Psi) L = L (L'L). The largest
// element of the difference, or -1 for a Heywood solution.
double StationarityResidual(const Matrix* s, const Matrix* loadings)
{
    const int p = s->Rows();
    const int m = loadings->Cols();
    Matrix* a = CopyOf(s);
    for (int i = 0; i < p; ++i) {
        double communality = 0.0;
        for (int c = 0; c < m; ++c) {
            communality += (*loadings)(i, c) * (*loadings)(i, c);
        }
        if ((*s)(i, i) - communality <= 0.0) {
            return -1.0;
        }
        (*a)(i, i) = communality;
    }
    const Matrix* left = Product(a, loadings);
    const Matrix* right = Product(loadings, Product(Transposed(loadings), loadings));
    double largest = 0.0;
    for (int i = 0; i < p; ++i) {
        for (int c = 0; c < m; ++c) {
            largest = std::max(largest, std::fabs((*left)(i, c) - (*right)(i, c)));
        }
    }
    return largest;
}

Matrix* Permuted(const Matrix* s, const std::vector<int>& order)
{
    Matrix* result = NewMatrix(s->Rows(), s->Cols());
    for (int i = 0; i < s->Rows(); ++i) {
        for (int j = 0; j < s->Cols(); ++j) {
            (*result)(i, j) = (*s)(order[i], order[j]);
        }
    }
    return result;
}

class UlsLongQuestionnaire : public MatrixTest {};

TEST_F(UlsLongQuestionnaire, MinimumIsStationaryAndOrderFreeOnEveryScale)
{
    struct Case {
        unsigned seed;
        int items;
        int factors; // in the data
        int extracted;
    };
    const std::vector<Case> cases{{3, 40, 4, 4}, {5, 40, 4, 6}, {8, 60, 6, 6}, {13, 24, 3, 5}};
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.items) + " items, " + std::to_string(c.extracted) + " factors";
        const Matrix* base = QuestionnaireSample(c.seed, c.items, c.factors, 400);
        std::vector<int> order(c.items);
        for (int i = 0; i < c.items; ++i) {
            order[i] = (i * 7 + 3) % c.items; // 7 is prime to every count above
        }
        for (double scale : {1e-3, 1.0, 1e3}) {
            const Matrix* s = Times(base, scale);
            const Matrix* loadings = Uls(s, c.extracted);
            const double variance = LargestVariance(s);
            const double residual = StationarityResidual(s, loadings);
            ASSERT_GE(residual, 0.0) << what << ": these data give no Heywood case";
            // (S - Psi) L scales with the variances to the power 3/2.
            EXPECT_LT(residual, 1e-9 * variance * std::sqrt(variance)) << what << ", scale " << scale;

            const Matrix* permuted = Uls(Permuted(s, order), c.extracted);
            double distance = 0.0;
            for (int i = 0; i < c.items; ++i) {
                for (int k = 0; k < c.extracted; ++k) {
                    distance = std::max(distance, std::fabs((*permuted)(i, k) - (*loadings)(order[i], k)));
                }
            }
            EXPECT_LT(distance, 1e-9 * std::sqrt(variance)) << what << ", scale " << scale;
        }
    }
}

} // namespace
