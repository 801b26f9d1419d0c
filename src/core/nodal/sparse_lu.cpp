// SPDX-License-Identifier: GPL-3.0-or-later
#include "nodal/sparse_lu.h"

#include <cstring>

namespace kelvor {
namespace {

NodeSet FirstNodes(int count) {
    NodeSet set;
    for (int index = 0; index < count; ++index) {
        set.Insert(index);
    }
    return set;
}

int MemberCount(const NodeSet& set) {
    int count = 0;
    set.ForEach([&count](int) { ++count; });
    return count;
}

// Greedy minimum degree on the symmetric pattern: eliminating a node joins its neighbours, so
// the node with fewest neighbours left makes the least fill.
std::vector<int> MinimumDegreeOrder(int size, const std::vector<std::pair<int, int>>& entries) {
    std::vector<NodeSet> neighbours(size);
    for (const auto& [row, column] : entries) {
        if (row != column) {
            neighbours[row].Insert(column);
            neighbours[column].Insert(row);
        }
    }
    NodeSet remaining = FirstNodes(size);
    std::vector<int> order;
    order.reserve(size);
    while (static_cast<int>(order.size()) < size) {
        int best = -1, bestDegree = 0;
        remaining.ForEach([&](int node) {
            const int degree = MemberCount(neighbours[node].Intersection(remaining));
            if (best < 0 || degree < bestDegree) {
                best = node;
                bestDegree = degree;
            }
        });
        remaining.Remove(best);
        const NodeSet joined = neighbours[best].Intersection(remaining);
        joined.ForEach([&](int node) { neighbours[node].Merge(joined); });
        order.push_back(best);
    }
    return order;
}

} // namespace

void SparseLu::SetPattern(int size, const std::vector<std::pair<int, int>>& entries) {
    Clear();
    size_ = size;
    order_ = MinimumDegreeOrder(size, entries);
    steps_.reserve(size);
    work_.resize(size);
}

void SparseLu::Clear() {
    for (int row = 0; row < size_; ++row) {
        rowPattern_[row].ForEach([&](int column) {
            std::memset(static_cast<void*>(&cells_[row * kMostUnknowns + column]), 0,
                        sizeof(Complex));
        });
        rowPattern_[row].Clear();
        columnPattern_[row].Clear();
    }
}

int SparseLu::Factorize() {
    steps_.clear();
    lower_.clear();
    upper_.clear();
    NodeSet remainingRows = FirstNodes(size_);
    NodeSet remainingColumns = remainingRows;
    for (const int column : order_) {
        remainingColumns.Remove(column);
        const NodeSet candidates = columnPattern_[column].Intersection(remainingRows);
        int pivotRow = -1;
        long double largest = 0;
        candidates.ForEach([&](int row) {
            const Complex& value = cells_[row * kMostUnknowns + column];
            const long double magnitude = value.Re * value.Re + value.Im * value.Im;
            if (magnitude > largest) {
                largest = magnitude;
                pivotRow = row;
            }
        });
        if (pivotRow < 0) {
            return column;
        }
        remainingRows.Remove(pivotRow);
        const Complex pivot = cells_[pivotRow * kMostUnknowns + column];
        const long double pivotSquared = GuardedSquaredMagnitude(pivot);
        const NodeSet upperColumns = rowPattern_[pivotRow].Intersection(remainingColumns);
        Step step{pivotRow, column, pivot, lower_.size(), 0, upper_.size(), 0};
        const Complex* pivotCells = &cells_[pivotRow * kMostUnknowns];
        upperColumns.ForEach([&](int j) { upper_.push_back({j, pivotCells[j]}); });
        step.upperEnd = upper_.size();

        NodeSet eliminated = candidates;
        eliminated.Remove(pivotRow);
        eliminated.ForEach([&](int row) {
            Complex* cells = &cells_[row * kMostUnknowns];
            const Complex multiplier = CDivGuarded(cells[column], pivot, pivotSquared);
            lower_.push_back({row, multiplier});
            for (std::size_t k = step.upperBegin; k < step.upperEnd; ++k) {
                Complex& cell = cells[upper_[k].index];
                cell = CSub(cell, CMul(multiplier, upper_[k].value));
            }
            rowPattern_[row].Merge(upperColumns);
        });
        step.lowerEnd = lower_.size();
        upperColumns.ForEach([&](int j) { columnPattern_[j].Merge(eliminated); });
        steps_.push_back(step);
    }
    return -1;
}

void SparseLu::Solve(const std::vector<Complex>& b, std::vector<Complex>& x) {
    work_.assign(b.begin(), b.end());
    for (const Step& step : steps_) {
        const Complex value = work_[step.row];
        for (std::size_t k = step.lowerBegin; k < step.lowerEnd; ++k) {
            Complex& target = work_[lower_[k].index];
            target = CSub(target, CMul(lower_[k].value, value));
        }
    }
    x.resize(size_);
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
        Complex sum = work_[step->row];
        for (std::size_t k = step->upperBegin; k < step->upperEnd; ++k) {
            sum = CSub(sum, CMul(upper_[k].value, x[upper_[k].index]));
        }
        x[step->column] = CDiv(sum, step->pivot);
    }
}

void SparseLu::SolveTransposed(const std::vector<Complex>& e, std::vector<Complex>& z) {
    // (P A Q)^T = U^T L^T: first U^T y = Q^T e, column by column in elimination order, then
    // L^T v = y backwards, and z = P^T v.
    work_.assign(e.begin(), e.end());
    std::vector<Complex>& y = upperSolution_;
    y.resize(steps_.size());
    for (std::size_t s = 0; s < steps_.size(); ++s) {
        const Step& step = steps_[s];
        y[s] = CDiv(work_[step.column], step.pivot);
        for (std::size_t k = step.upperBegin; k < step.upperEnd; ++k) {
            Complex& target = work_[upper_[k].index];
            target = CSub(target, CMul(upper_[k].value, y[s]));
        }
    }
    z.resize(size_);
    for (std::size_t s = steps_.size(); s-- > 0;) {
        const Step& step = steps_[s];
        Complex sum = y[s];
        for (std::size_t k = step.lowerBegin; k < step.lowerEnd; ++k) {
            sum = CSub(sum, CMul(lower_[k].value, z[lower_[k].index]));
        }
        z[step.row] = sum;
    }
}

} // namespace kelvor
