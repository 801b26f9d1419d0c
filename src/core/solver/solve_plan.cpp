// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/solve_plan.h"

#include "kelvor_error.h"
#include "solver/admittance_matrix.h"
#include "solver/circuit_checks.h"
#include "solver/component_models.h"
#include "solver/floating_point_faults.h"
#include "solver/node_set.h"
#include "solver/pivot_elimination.h"
#include "solver/response.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <numeric>
#include <span>

namespace kelvor {
namespace {

std::uint64_t NextPlanId() {
    static std::atomic<std::uint64_t> next{0};
    return ++next;
}

bool RecordsAreSolvable(const LoadedCircuit& circuit) {
    try {
        CheckNodeRoles(circuit);
        for (std::size_t index = 1; index < circuit.records.size(); ++index) {
            const ComponentRecord& record = circuit.records[index];
            CheckRecordNodes(record, static_cast<int>(index), circuit.NoNodes);
            if (!IsComponentKind(record.kind)) {
                return false;
            }
        }
    } catch (const KelvorError&) {
        return false;
    }
    return true;
}

int TermCount(char kind) {
    int count = 0;
    for (const Stamp& stamp : StampsOf(kind)) {
        count = std::max(count, stamp.term + 1);
    }
    return count;
}

// The index each node holds after the renumbering.
std::array<int, kHighestNodeNumber + 1> NodeMap(const LoadedCircuit& circuit) {
    std::array<int, kHighestNodeNumber + 1> nodeAt{};
    std::iota(nodeAt.begin(), nodeAt.end(), 0);
    const Renumbering renumbering = RenumberingOf(circuit);
    for (int swap = 0; swap < renumbering.count; ++swap) {
        std::swap(nodeAt[renumbering.swaps[swap][0]], nodeAt[renumbering.swaps[swap][1]]);
    }
    std::array<int, kHighestNodeNumber + 1> indexOf{};
    for (int index = 0; index <= kHighestNodeNumber; ++index) {
        indexOf[nodeAt[index]] = index;
    }
    return indexOf;
}

void ZeroCell(Complex& cell) {
    std::memset(static_cast<void*>(&cell), 0, sizeof cell);
}

} // namespace

Renumbering RenumberingOf(const LoadedCircuit& circuit) {
    Renumbering renumbering;
    const auto swap = [&renumbering](int p, int q) {
        renumbering.swaps[renumbering.count++] = {p, q};
    };
    int out = circuit.NodeOut;
    int com = circuit.NodeCom;
    if (circuit.NodeIn != 1) {
        swap(1, circuit.NodeIn);
        if (out == 1) {
            out = circuit.NodeIn;
        }
        if (com == 1) {
            com = circuit.NodeIn;
        }
    }
    if (out != 2) {
        swap(2, out);
        if (com == 2) {
            com = out;
        }
    }
    if (com != circuit.NoNodes) {
        swap(circuit.NoNodes, com);
    }
    return renumbering;
}

std::shared_ptr<const SolvePlan> SolvePlan::Prepare(const LoadedCircuit& circuit) {
    if (!RecordsAreSolvable(circuit)) {
        return nullptr;
    }
    std::shared_ptr<SolvePlan> plan(new SolvePlan);
    const int n = circuit.NoNodes;
    const int stride = n + 1;
    plan->id_ = NextPlanId();
    plan->stride_ = stride;
    const std::array<int, kHighestNodeNumber + 1> indexOf = NodeMap(circuit);

    // The additions of every record, in record order, then gathered by cell keeping that order.
    struct Addition {
        int cell;
        Contribution contribution;
    };
    std::vector<Addition> additions;
    StampContext constantContext;
    ClearFloatingPointFaults();
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        const ComponentRecord& record = circuit.records[index];
        const int firstTerm = static_cast<int>(plan->constantTerms_.size());
        plan->constantTerms_.resize(firstTerm + TermCount(record.kind));
        if (HasConstantTerms(record.kind)) {
            ComputeElementTerms(record, constantContext, &plan->constantTerms_[firstTerm]);
        } else {
            plan->varying_.push_back({record, firstTerm});
        }
        plan->hasInductor_ = plan->hasInductor_ || record.kind == 'L';
        for (const Stamp& stamp : StampsOf(record.kind)) {
            const auto placed = [&](std::uint8_t slot) {
                return indexOf[slot == kCommonNodeSlot ? circuit.NodeCom : record.nodes[slot]];
            };
            const int row = placed(stamp.row), column = placed(stamp.column);
            if (row != n && column != n) {
                additions.push_back(
                    {row * stride + column, {firstTerm + stamp.term, stamp.subtract}});
            }
        }
    }
    if (RaisedFloatingPointFaults() != 0) {
        ClearFloatingPointFaults();
        return nullptr;
    }
    std::stable_sort(additions.begin(), additions.end(),
                     [](const Addition& a, const Addition& b) { return a.cell < b.cell; });

    std::array<NodeSet, kHighestNodeNumber + 1> rowPattern, columnPattern;
    for (const Addition& addition : additions) {
        if (plan->sums_.empty() || plan->sums_.back().cell != addition.cell) {
            plan->sums_.push_back({addition.cell, 0});
            rowPattern[addition.cell / stride].Insert(addition.cell % stride);
            columnPattern[addition.cell % stride].Insert(addition.cell / stride);
        }
        plan->contributions_.push_back(addition.contribution);
        plan->sums_.back().contributionsEnd = static_cast<int>(plan->contributions_.size());
    }
    plan->lowerTriangle_ = plan->SumsAreSymmetric();
    plan->PlanElimination(n, rowPattern, columnPattern);
    return plan;
}

bool SolvePlan::SumsAreSymmetric() const {
    std::vector<int> sumAt(static_cast<std::size_t>(stride_ * stride_), -1);
    for (std::size_t index = 0; index < sums_.size(); ++index) {
        sumAt[sums_[index].cell] = static_cast<int>(index);
    }
    const auto contributionsOf = [this](int index) {
        const Contribution* begin =
            contributions_.data() + (index == 0 ? 0 : sums_[index - 1].contributionsEnd);
        return std::span<const Contribution>(begin,
                                             contributions_.data() + sums_[index].contributionsEnd);
    };
    const auto same = [](const Contribution& a, const Contribution& b) {
        return a.term == b.term && a.subtract == b.subtract;
    };
    for (std::size_t index = 0; index < sums_.size(); ++index) {
        const int cell = sums_[index].cell;
        const int mirror = sumAt[(cell % stride_) * stride_ + cell / stride_];
        if (mirror < 0) {
            return false;
        }
        const std::span<const Contribution> these = contributionsOf(static_cast<int>(index));
        const std::span<const Contribution> those = contributionsOf(mirror);
        if (!std::equal(these.begin(), these.end(), those.begin(), those.end(), same)) {
            return false;
        }
    }
    return true;
}

// The elimination over the pattern of entries that may be non-zero, growing the pattern by the
// entries each step fills; the filled ones must start each point at zero. With a symmetric
// matrix the patterns are symmetric too, so each step's rows are its columns, and a row i
// updates only the columns up to i.
void SolvePlan::PlanElimination(int n, std::array<NodeSet, kHighestNodeNumber + 1>& rowPattern,
                                std::array<NodeSet, kHighestNodeNumber + 1>& columnPattern) {
    for (int k = n - 1; k >= 3; --k) {
        const NodeSet columns = rowPattern[k].Below(k);
        const NodeSet rows = columnPattern[k].Below(k);
        if (columns.Empty() || rows.Empty()) {
            continue;
        }
        PivotStep step{k, static_cast<int>(rows_.size()), 0, static_cast<int>(columns_.size())};
        rows.ForEach([&](int i) {
            const int updated = lowerTriangle_ ? columns.Below(i + 1).Count() : columns.Count();
            if (updated > 0) {
                rows_.push_back({i, updated});
            }
            columns.ForEach([&](int j) {
                if (!rowPattern[i].Contains(j)) {
                    cellsToClear_.push_back(i * stride_ + j);
                }
            });
            rowPattern[i].Merge(columns);
        });
        columns.ForEach([&](int j) {
            columns_.push_back(j);
            columnPattern[j].Merge(rows);
        });
        step.rowsEnd = static_cast<int>(rows_.size());
        steps_.push_back(step);
    }
}

void SolvePlan::Fill(SolveWorkspace& workspace) const {
    if (workspace.preparedFor_ != id_) {
        workspace.cells_.assign(static_cast<std::size_t>(stride_ * stride_), CZero);
        workspace.terms_ = constantTerms_;
        workspace.preparedFor_ = id_;
    }
    for (int cell : cellsToClear_) {
        ZeroCell(workspace.cells_[cell]);
    }
}

TwoPortAdmittances SolvePlan::Solve(long double frequency, SolveWorkspace& workspace) const {
    Fill(workspace);
    StampContext context;
    context.W = TwoPi * frequency;
    context.frequency = frequency;
    Complex* terms = workspace.terms_.data();
    for (const VaryingRecord& varying : varying_) {
        ComputeElementTerms(varying.record, context, terms + varying.firstTerm);
    }

    // Each cell's additions summed from zero in record order and written once.
    Complex* cells = workspace.cells_.data();
    const Contribution* contribution = contributions_.data();
    for (const CellSum& sum : sums_) {
        Complex total = CZero;
        for (const Contribution* end = contributions_.data() + sum.contributionsEnd;
             contribution != end; ++contribution) {
            const Complex& term = terms[contribution->term];
            total = contribution->subtract ? CSub(total, term) : CAdd(total, term);
        }
        cells[sum.cell] = total;
    }

    Eliminate(cells);
    const int s = stride_;
    const Complex y21 = cells[2 * s + 1];
    return {cells[s + 1], lowerTriangle_ ? y21 : cells[s + 2], y21, cells[2 * s + 2]};
}

void SolvePlan::Eliminate(Complex* cells) const {
    for (const PivotStep& step : steps_) {
        const EliminationRow* rows = rows_.data() + step.rowsBegin;
        const EliminationRow* rowsEnd = rows_.data() + step.rowsEnd;
        if (lowerTriangle_) {
            // The pivot column above the diagonal was not kept up to date; its mirror was.
            const Complex* pivotRow = cells + step.k * stride_;
            for (const EliminationRow* row = rows; row != rowsEnd; ++row) {
                std::memcpy(static_cast<void*>(cells + row->row * stride_ + step.k),
                            pivotRow + row->row, sizeof(Complex));
            }
        }
        EliminatePivot(cells, stride_, step.k, rows, rowsEnd, columns_.data() + step.columnsBegin);
    }
}

} // namespace kelvor
