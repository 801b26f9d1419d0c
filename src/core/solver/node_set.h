// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bit>
#include <cstdint>

namespace kelvor {

// A set of node numbers 0..127: the sparsity pattern of one matrix row or column.
class NodeSet {
public:
    void Insert(int node) { words_[node >> 6] |= Bit(node); }
    bool Contains(int node) const { return (words_[node >> 6] & Bit(node)) != 0; }
    bool Empty() const { return (words_[0] | words_[1]) == 0; }
    int Count() const { return std::popcount(words_[0]) + std::popcount(words_[1]); }
    void Clear() { words_[0] = words_[1] = 0; }
    void Merge(const NodeSet& other) {
        words_[0] |= other.words_[0];
        words_[1] |= other.words_[1];
    }
    void Remove(int node) { words_[node >> 6] &= ~Bit(node); }
    NodeSet Intersection(const NodeSet& other) const {
        NodeSet result;
        result.words_[0] = words_[0] & other.words_[0];
        result.words_[1] = words_[1] & other.words_[1];
        return result;
    }

    // Exchanges the membership of nodes p and q.
    void SwapMembers(int p, int q) {
        const bool hasP = Contains(p), hasQ = Contains(q);
        if (hasP != hasQ) {
            Toggle(p);
            Toggle(q);
        }
    }

    // The members below `limit`, in increasing order.
    NodeSet Below(int limit) const {
        NodeSet result = *this;
        if (limit < 64) {
            result.words_[0] &= (std::uint64_t{1} << limit) - 1;
            result.words_[1] = 0;
        } else if (limit < 128) {
            result.words_[1] &= (std::uint64_t{1} << (limit - 64)) - 1;
        }
        return result;
    }

    template <class Visit> void ForEach(Visit visit) const {
        for (int word = 0; word < 2; ++word) {
            std::uint64_t bits = words_[word];
            while (bits != 0) {
                visit(word * 64 + std::countr_zero(bits));
                bits &= bits - 1;
            }
        }
    }

private:
    static std::uint64_t Bit(int node) { return std::uint64_t{1} << (node & 63); }
    void Toggle(int node) { words_[node >> 6] ^= Bit(node); }
    std::uint64_t words_[2] = {0, 0};
};

} // namespace kelvor
