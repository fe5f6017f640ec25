#include "leveling/network/selected_inverse.h"

#include <algorithm>

namespace levara::leveling {

SelectedInverse::SelectedInverse(const Eigen::SparseMatrix<double>& lower, const Eigen::VectorXd& diagonal)
    : lower_(lower), values_(std::size_t(lower.nonZeros())), diagonal_(std::size_t(diagonal.size()))
{
    const int n = int(lower.cols());
    const int* starts = lower.outerIndexPtr();
    const int* rows = lower.innerIndexPtr();
    const double* l = lower.valuePtr();
    // Z = D⁻¹L⁻¹ + (I − Lᵀ)Z, column by column from the last: for the rows i of
    // column j, Z(i, j) = −Σ_k Z(i, k) L(k, j) and Z(j, j) = 1/D(j) − Σ_k L(k, j) Z(k, j),
    // k over the rows of column j, all of whose Z(i, k) lie on L's pattern (its fill).
    for (int j = n - 1; j >= 0; --j) {
        const int begin = starts[j], end = starts[j + 1];
        for (int p = begin; p < end; ++p) {
            const int i = rows[p];
            double sum = 0;
            for (int q = begin; q < end; ++q) {
                const int k = rows[q];
                sum += l[q] * at(i, k);
            }
            values_[std::size_t(p)] = -sum;
        }
        double diagonalSum = 0;
        for (int p = begin; p < end; ++p)
            diagonalSum += l[p] * values_[std::size_t(p)];
        diagonal_[std::size_t(j)] = 1 / diagonal[j] - diagonalSum;
    }
}

long SelectedInverse::find(int row, int column) const
{
    const int* rows = lower_.innerIndexPtr();
    const int* begin = rows + lower_.outerIndexPtr()[column];
    const int* end = rows + lower_.outerIndexPtr()[column + 1];
    const int* found = std::lower_bound(begin, end, row);
    return found != end && *found == row ? long(found - rows) : -1;
}

double SelectedInverse::at(int i, int j) const
{
    if (i == j)
        return diagonal_[std::size_t(i)];
    const long index = i > j ? find(i, j) : find(j, i);
    return index < 0 ? 0 : values_[std::size_t(index)];
}

}  // namespace levara::leveling
