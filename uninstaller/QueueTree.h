// The queue database's index in its shared block: nodes {entry, left,
// right} pointing at 24-byte entries, a tree of live entries ordered by id
// (head 0), the nodes removed since the block was made (head 1) and the
// non-live entries found at load (head 2), both lists linked through the
// nodes' right word. Another process can write anything into the block, so
// every offset is checked before use and every walk is bounded.
#pragma once

#include "QueueRecord.h"
#include "SharedBlock.h"

#include <cstdint>
#include <vector>

class QueueTree {
public:
    static constexpr std::uint32_t kRoot = 0;
    static constexpr std::uint32_t kRemoved = 1;
    static constexpr std::uint32_t kNonLive = 2;

    explicit QueueTree(CSharedBlock& block) : block_(block) {}

    // The entry a node points at, or null when the node or its entry is not
    // a valid place in the block.
    QueueEntry* EntryOf(std::uint32_t node) const;

    // A new node and entry holding `entry`; 0 when the block has no room.
    std::uint32_t NewNode(const QueueEntry& entry);
    // Links the node below `start` (or the root); false for an id already there.
    bool Insert(std::uint32_t node, std::uint32_t start = CSharedBlock::kNone);
    void PushList(std::uint32_t head, std::uint32_t node);

    // The live node with the id, or kNone.
    std::uint32_t Find(std::uint32_t id) const;
    // Takes the node with the id out of the tree and clears its live bit.
    bool Remove(std::uint32_t id, bool keepNode);

    // Nodes in post-order (left, right, node) or pre-order (node, left,
    // right); false when the tree is damaged (a bad offset or a loop).
    bool PostOrder(std::vector<std::uint32_t>* nodes) const;
    bool PreOrder(std::vector<std::uint32_t>* nodes) const;
    bool List(std::uint32_t head, std::vector<std::uint32_t>* nodes) const;

private:
    struct Node {
        std::uint32_t entry, left, right;
    };
    Node* NodeAt(std::uint32_t offset) const;
    std::uint32_t MaxNodes() const { return block_.Size() / sizeof(Node); }
    // The link that holds `id` or where it would go, from the slot `link`.
    std::uint32_t* Descend(std::uint32_t* link, std::uint32_t id) const;
    std::uint32_t* RootLink() const;

    CSharedBlock& block_;
};
