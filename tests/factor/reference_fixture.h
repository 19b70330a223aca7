#pragma once
// Reads the reference files in tests/factor/fixtures: blocks "name rows
// cols" followed by rows x cols numbers, row by row; lines starting with '#'
// are comments. See fixtures/make_extraction_fixtures.R.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "matrix/Matrix.h"

using namespace talver;

class ReferenceFixture {
public:
    explicit ReferenceFixture(const std::string& name)
    {
        const std::string path = std::string(TALVER_SOURCE_DIR) + "/tests/factor/fixtures/" + name + ".txt";
        std::ifstream in(path);
        if (!in) {
            ADD_FAILURE() << "cannot open " << path;
            return;
        }
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') {
                continue;
            }
            std::istringstream header(line);
            Block block;
            std::string key;
            header >> key >> block.rows >> block.cols;
            block.values.resize(static_cast<std::size_t>(block.rows) * block.cols);
            for (double& v : block.values) {
                in >> v;
            }
            std::getline(in, line); // rest of the last row
            blocks_[key] = block;
        }
    }

    bool Has(const std::string& key) const { return blocks_.count(key) != 0; }

    // A new matrix in the current scope.
    Matrix* Get(const std::string& key) const
    {
        const Block& block = blocks_.at(key);
        Matrix* m = NewMatrix(block.rows, block.cols);
        for (int i = 0; i < block.rows; ++i) {
            for (int j = 0; j < block.cols; ++j) {
                (*m)(i, j) = block.values[static_cast<std::size_t>(i) * block.cols + j];
            }
        }
        return m;
    }

    double Scalar(const std::string& key) const { return blocks_.at(key).values.at(0); }

private:
    struct Block {
        int rows = 0;
        int cols = 0;
        std::vector<double> values;
    };
    std::map<std::string, Block> blocks_;
};

// Largest absolute difference between two loading matrices of one shape
// after matching each column of actual to a distinct column of expected,
// with the sign that fits it best: extraction leaves column signs open, and
// rotation leaves column order open. Tries every column order (m is small).
inline double LoadingsDistance(const Matrix* actual, const Matrix* expected)
{
    const int p = actual->Rows();
    const int m = actual->Cols();
    std::vector<int> order(m);
    for (int k = 0; k < m; ++k) {
        order[k] = k;
    }
    double best = INFINITY;
    do {
        double worst = 0.0;
        for (int k = 0; k < m; ++k) {
            double same = 0.0;
            double flipped = 0.0;
            for (int i = 0; i < p; ++i) {
                same = std::max(same, std::fabs((*actual)(i, k) - (*expected)(i, order[k])));
                flipped = std::max(flipped, std::fabs((*actual)(i, k) + (*expected)(i, order[k])));
            }
            worst = std::max(worst, std::min(same, flipped));
        }
        best = std::min(best, worst);
    } while (std::next_permutation(order.begin(), order.end()));
    return best;
}

// The data sets of the fixtures, from 6 to 30 items.
inline const std::vector<std::string>& ReferenceSets()
{
    static const std::vector<std::string> sets{"cor6", "cov8", "cor12", "cov20", "cor30", "cov30"};
    return sets;
}
