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
    if (!plan->TakeValues(circuit)) {
        return nullptr;
    }
    auto structure = std::make_shared<Structure>();
    const int n = circuit.NoNodes;
    const int stride = n + 1;
    structure->stride = stride;
    const std::array<int, kHighestNodeNumber + 1> indexOf = NodeMap(circuit);

    // The additions of every record, in record order, then gathered by cell keeping that order.
    struct Addition {
        int cell;
        Contribution contribution;
    };
    std::vector<Addition> additions;
    int firstTerm = 0;
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        const ComponentRecord& record = circuit.records[index];
        structure->hasInductor = structure->hasInductor || record.kind == 'L';
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
        firstTerm += TermCount(record.kind);
    }
    std::stable_sort(additions.begin(), additions.end(),
                     [](const Addition& a, const Addition& b) { return a.cell < b.cell; });

    Patterns rowPattern, columnPattern;
    for (const Addition& addition : additions) {
        if (structure->sums.empty() || structure->sums.back().cell != addition.cell) {
            structure->sums.push_back({addition.cell, 0});
            rowPattern[addition.cell / stride].Insert(addition.cell % stride);
            columnPattern[addition.cell % stride].Insert(addition.cell / stride);
        }
        structure->contributions.push_back(addition.contribution);
        structure->sums.back().contributionsEnd = static_cast<int>(structure->contributions.size());
    }
    structure->lowerTriangle = structure->SumsAreSymmetric();
    if (structure->lowerTriangle) {
        structure->KeepLowerTriangleSums();
    }
    structure->PlanElimination(n, rowPattern, columnPattern);
    plan->structure_ = std::move(structure);
    return plan;
}

std::shared_ptr<const SolvePlan> SolvePlan::WithValues(const LoadedCircuit& changed) const {
    std::shared_ptr<SolvePlan> plan(new SolvePlan);
    if (!plan->TakeValues(changed)) {
        return nullptr;
    }
    plan->structure_ = structure_;
    return plan;
}

bool SolvePlan::TakeValues(const LoadedCircuit& circuit) {
    id_ = NextPlanId();
    StampContext constantContext;
    ClearFloatingPointFaults();
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        const ComponentRecord& record = circuit.records[index];
        const int firstTerm = static_cast<int>(constantTerms_.size());
        constantTerms_.resize(firstTerm + TermCount(record.kind));
        if (HasConstantTerms(record.kind)) {
            ComputeElementTerms(record, constantContext, &constantTerms_[firstTerm]);
        } else {
            varying_.push_back({record, firstTerm});
        }
    }
    if (RaisedFloatingPointFaults() != 0) {
        ClearFloatingPointFaults();
        return false;
    }
    return true;
}

bool SolvePlan::Structure::SumsAreSymmetric() const {
    std::vector<int> sumAt(static_cast<std::size_t>(stride * stride), -1);
    for (std::size_t index = 0; index < sums.size(); ++index) {
        sumAt[sums[index].cell] = static_cast<int>(index);
    }
    const auto contributionsOf = [this](int index) {
        const Contribution* begin =
            contributions.data() + (index == 0 ? 0 : sums[index - 1].contributionsEnd);
        return std::span<const Contribution>(begin,
                                             contributions.data() + sums[index].contributionsEnd);
    };
    const auto same = [](const Contribution& a, const Contribution& b) {
        return a.term == b.term && a.subtract == b.subtract;
    };
    for (std::size_t index = 0; index < sums.size(); ++index) {
        const int cell = sums[index].cell;
        const int mirror = sumAt[(cell % stride) * stride + cell / stride];
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

// The cells above the diagonal are never read when only the lower triangle is eliminated.
void SolvePlan::Structure::KeepLowerTriangleSums() {
    std::vector<CellSum> lowerSums;
    std::vector<Contribution> lowerContributions;
    int begin = 0;
    for (const CellSum& sum : sums) {
        if (sum.cell / stride >= sum.cell % stride) {
            lowerContributions.insert(lowerContributions.end(), contributions.begin() + begin,
                                      contributions.begin() + sum.contributionsEnd);
            lowerSums.push_back({sum.cell, static_cast<int>(lowerContributions.size())});
        }
        begin = sum.contributionsEnd;
    }
    sums = std::move(lowerSums);
    contributions = std::move(lowerContributions);
}

// The elimination over the pattern of entries that may be non-zero, growing the pattern by the
// entries each step fills; the filled ones must start each point at zero. With a symmetric
// matrix the patterns are symmetric too, so each step's rows are its columns, and a row i
// updates only the columns up to i.
void SolvePlan::Structure::PlanElimination(int n, Patterns& rowPattern, Patterns& columnPattern) {
    for (int k = n - 1; k >= 3; --k) {
        const NodeSet stepColumns = rowPattern[k].Below(k);
        const NodeSet stepRows = columnPattern[k].Below(k);
        if (stepColumns.Empty() || stepRows.Empty()) {
            continue;
        }
        PivotStep step{k, static_cast<int>(rows.size()), 0, static_cast<int>(columns.size())};
        stepRows.ForEach([&](int i) {
            const NodeSet updated = lowerTriangle ? stepColumns.Below(i + 1) : stepColumns;
            if (!updated.Empty()) {
                rows.push_back({i, updated.Count()});
            }
            updated.ForEach([&](int j) {
                if (!rowPattern[i].Contains(j)) {
                    cellsToClear.push_back(i * stride + j);
                }
            });
            rowPattern[i].Merge(stepColumns);
        });
        stepColumns.ForEach([&](int j) {
            columns.push_back(j);
            columnPattern[j].Merge(stepRows);
        });
        step.rowsEnd = static_cast<int>(rows.size());
        steps.push_back(step);
    }
}

void SolvePlan::Fill(SolveWorkspace& workspace) const {
    if (workspace.preparedFor_ != id_) {
        const int stride = structure_->stride;
        workspace.cells_.assign(static_cast<std::size_t>(stride * stride), CZero);
        workspace.terms_ = constantTerms_;
        workspace.preparedFor_ = id_;
    }
    for (int cell : structure_->cellsToClear) {
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
    const Structure& structure = *structure_;
    const Contribution* contribution = structure.contributions.data();
    for (const CellSum& sum : structure.sums) {
        Complex total = CZero;
        for (const Contribution* end = structure.contributions.data() + sum.contributionsEnd;
             contribution != end; ++contribution) {
            const Complex& term = terms[contribution->term];
            total = contribution->subtract ? CSub(total, term) : CAdd(total, term);
        }
        cells[sum.cell] = total;
    }

    Eliminate(cells);
    const int s = structure.stride;
    const Complex y21 = cells[2 * s + 1];
    return {cells[s + 1], structure.lowerTriangle ? y21 : cells[s + 2], y21, cells[2 * s + 2]};
}

void SolvePlan::Eliminate(Complex* cells) const {
    const Structure& structure = *structure_;
    const int stride = structure.stride;
    for (const PivotStep& step : structure.steps) {
        const EliminationRow* rows = structure.rows.data() + step.rowsBegin;
        const EliminationRow* rowsEnd = structure.rows.data() + step.rowsEnd;
        if (structure.lowerTriangle) {
            // The pivot column above the diagonal is not kept; its mirror is.
            const Complex* pivotRow = cells + step.k * stride;
            for (const EliminationRow* row = rows; row != rowsEnd; ++row) {
                std::memcpy(static_cast<void*>(cells + row->row * stride + step.k),
                            pivotRow + row->row, sizeof(Complex));
            }
        }
        EliminatePivot(cells, stride, step.k, rows, rowsEnd,
                       structure.columns.data() + step.columnsBegin);
    }
}

} // namespace kelvor
