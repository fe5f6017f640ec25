#pragma once
// The entries of the inverse of a sparse symmetric matrix where its LDLᵀ factor has
// entries (the diagonal among them), computed from the factor by Takahashi's
// recurrences without forming the inverse: K. Takahashi, J. Fagan, M.-S. Chen,
// "Formation of a sparse bus impedance matrix and its application to short circuit
// study", PICA 1973; see also T. A. Davis, "Direct Methods for Sparse Linear Systems",
// SIAM 2006. The cost is Σ over columns of (entries in the column)², each entry found
// by a binary search.
#include <Eigen/SparseCore>
#include <vector>

namespace levara::leveling {

class SelectedInverse {
public:
    // lower: L's strictly lower entries by columns, row indices rising in each (as
    // Eigen's SimplicialLDLT keeps them); diagonal: D.
    SelectedInverse(const Eigen::SparseMatrix<double>& lower, const Eigen::VectorXd& diagonal);

    // Z(i, j) of the inverse, for i == j or an (i, j) where the factor has an entry.
    double at(int i, int j) const;

private:
    const Eigen::SparseMatrix<double>& lower_;
    std::vector<double> values_;  // Z on L's pattern
    std::vector<double> diagonal_;

    // Index into values_ of row r in column c (r > c), or -1.
    long find(int row, int column) const;
};

}  // namespace levara::leveling
