#pragma once

#include "solver/Moves.h"
#include "solver/SolverState.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace solver {

// The positions a best-first search has reached, for the best-first and the
// staged pass: each node its parent and the move from there, plus what the
// pass keeps of its own (`TExtra`). Only a position that is expanded is kept
// encoded (its children start from it); the others are restored by playing
// their move on their parent, so most children never cost an encoding.
template <class TExtra>
class TNodeStore {
public:
    static constexpr std::uint32_t NotEncoded = 0xFFFFFFFFu;
    struct TNode {
        std::uint32_t Parent;
        std::uint32_t Offset;
        TSolverMove Move;
        [[no_unique_address]] TExtra Extra;
    };

    // Adds a node, not yet encoded; returns its number.
    std::uint32_t Add(std::uint32_t parent, const TSolverMove& move, const TExtra& extra = {})
    {
        Nodes.push_back({parent, NotEncoded, move, extra});
        return static_cast<std::uint32_t>(Nodes.size() - 1);
    }
    void Clear()
    {
        Nodes.clear();
        Arena.clear();
    }
    std::size_t Size() const { return Nodes.size(); }
    TNode& operator[](std::uint32_t node) { return Nodes[node]; }
    const TNode& operator[](std::uint32_t node) const { return Nodes[node]; }
    // What the store holds, and the room its vectors have taken from the allocator.
    std::size_t UsedBytes() const { return Arena.size() + Nodes.size() * sizeof(TNode); }
    std::size_t ReservedBytes() const { return Arena.capacity() + Nodes.capacity() * sizeof(TNode); }

    // Keeps `state` as the code of `node` (once: a node encoded stays so).
    void Encode(const TSolverState& state, std::uint32_t node)
    {
        if (Nodes[node].Offset != NotEncoded)
            return;
        state.Encode(Scratch);
        Nodes[node].Offset = static_cast<std::uint32_t>(Arena.size());
        Arena.insert(Arena.end(), Scratch.begin(), Scratch.end());
    }
    // Puts `state` at `node`: its own code, or its parent's with its move
    // played. With `at`, the node `state` stands at now: a child of it is
    // then one move away, and needs no decoding.
    void Restore(TSolverState& state, std::uint32_t node, std::uint32_t at = NotEncoded) const
    {
        const TNode& n = Nodes[node];
        if (n.Offset != NotEncoded) {
            state.Decode(Arena.data() + n.Offset);
            return;
        }
        if (n.Parent == at)
            state.ForgetMoves();
        else
            state.Decode(Arena.data() + Nodes[n.Parent].Offset);
        ApplyMove(state, n.Move);
    }
    // The moves from the root (node 0) to `node`.
    std::vector<TSolverMove> LineTo(std::uint32_t node) const
    {
        std::vector<TSolverMove> line;
        for (std::uint32_t n = node; n != 0; n = Nodes[n].Parent)
            line.push_back(Nodes[n].Move);
        std::reverse(line.begin(), line.end());
        return line;
    }

private:
    std::vector<TNode> Nodes;
    std::vector<std::uint8_t> Arena;
    std::vector<std::uint8_t> Scratch;
};

} // namespace solver
