#include "QueueTree.h"

namespace {
constexpr std::uint32_t kNone = CSharedBlock::kNone;
}

QueueTree::Node* QueueTree::NodeAt(std::uint32_t offset) const {
    if (offset == kNone || offset < CSharedBlock::kFirstFree) return nullptr;
    return static_cast<Node*>(block_.ToPointer(offset, sizeof(Node)));
}

QueueEntry* QueueTree::EntryOf(std::uint32_t node) const {
    const Node* n = NodeAt(node);
    if (!n || n->entry == kNone || n->entry < CSharedBlock::kFirstFree) return nullptr;
    return static_cast<QueueEntry*>(block_.ToPointer(n->entry, sizeof(QueueEntry)));
}

std::uint32_t* QueueTree::RootLink() const {
    // Head 0 lives in the header at word 5.
    return static_cast<std::uint32_t*>(block_.ToPointer(20 + 4 * kRoot, 4));
}

std::uint32_t QueueTree::NewNode(const QueueEntry& entry) {
    const std::uint32_t entryOffset = block_.Alloc(sizeof(QueueEntry));
    if (!entryOffset) return 0;
    const std::uint32_t nodeOffset = block_.Alloc(sizeof(Node));
    if (!nodeOffset) return 0;
    QueueEntry* e = static_cast<QueueEntry*>(block_.ToPointer(entryOffset, sizeof(QueueEntry)));
    Node* n = NodeAt(nodeOffset);
    if (!e || !n) return 0;
    *e = entry;
    *n = Node{entryOffset, kNone, kNone};
    return nodeOffset;
}

std::uint32_t* QueueTree::Descend(std::uint32_t* link, std::uint32_t id) const {
    for (std::uint32_t steps = 0; link && *link != kNone; ++steps) {
        Node* n = NodeAt(*link);
        const QueueEntry* e = EntryOf(*link);
        if (!n || !e || steps > MaxNodes()) return nullptr;
        if (id == e->id) return link;
        link = id < e->id ? &n->left : &n->right;
    }
    return link;
}

bool QueueTree::Insert(std::uint32_t node, std::uint32_t start) {
    Node* n = NodeAt(node);
    const QueueEntry* e = EntryOf(node);
    if (!n || !e) return false;
    std::uint32_t* link = RootLink();
    if (start != kNone) {
        Node* s = NodeAt(start);
        const QueueEntry* se = EntryOf(start);
        if (!s || !se || se->id == e->id) return false;
        link = e->id < se->id ? &s->left : &s->right;
    }
    link = Descend(link, e->id);
    if (!link || *link != kNone) return false;
    *link = node;
    return true;
}

void QueueTree::PushList(std::uint32_t head, std::uint32_t node) {
    Node* n = NodeAt(node);
    if (!n) return;
    n->left = kNone;
    n->right = block_.GetHead(head);
    block_.SetHead(head, node);
}

std::uint32_t QueueTree::Find(std::uint32_t id) const {
    std::uint32_t* link = Descend(RootLink(), id);
    return link ? *link : kNone;
}

bool QueueTree::Remove(std::uint32_t id, bool keepNode) {
    std::uint32_t* link = Descend(RootLink(), id);
    if (!link || *link == kNone) return false;
    const std::uint32_t node = *link;
    Node* n = NodeAt(node);
    QueueEntry* e = EntryOf(node);
    if (!n || !e) return false;
    e->flags &= ~QueueEntry::kLive;
    const std::uint32_t left = n->left, right = n->right;
    if (left != kNone) {
        *link = left;
        if (right != kNone) Insert(right);
    } else {
        *link = right;
    }
    n->left = n->right = kNone;
    if (keepNode) PushList(kRemoved, node);
    return true;
}

bool QueueTree::PostOrder(std::vector<std::uint32_t>* nodes) const {
    nodes->clear();
    struct Frame {
        std::uint32_t node;
        bool expanded;
    };
    std::vector<Frame> stack;
    const std::uint32_t* root = RootLink();
    if (!root) return false;
    if (*root != kNone) stack.push_back({*root, false});
    std::uint32_t pushed = 0;
    while (!stack.empty()) {
        Frame f = stack.back();
        stack.pop_back();
        const Node* n = NodeAt(f.node);
        if (!n || !EntryOf(f.node)) return false;
        if (f.expanded) {
            nodes->push_back(f.node);
            continue;
        }
        if (++pushed > MaxNodes()) return false;  // a loop
        stack.push_back({f.node, true});
        if (n->right != kNone) stack.push_back({n->right, false});
        if (n->left != kNone) stack.push_back({n->left, false});
    }
    return true;
}

bool QueueTree::PreOrder(std::vector<std::uint32_t>* nodes) const {
    nodes->clear();
    std::vector<std::uint32_t> stack;
    const std::uint32_t* root = RootLink();
    if (!root) return false;
    if (*root != kNone) stack.push_back(*root);
    while (!stack.empty()) {
        const std::uint32_t node = stack.back();
        stack.pop_back();
        const Node* n = NodeAt(node);
        if (!n || !EntryOf(node) || nodes->size() >= MaxNodes()) return false;
        nodes->push_back(node);
        if (n->right != kNone) stack.push_back(n->right);
        if (n->left != kNone) stack.push_back(n->left);
    }
    return true;
}

bool QueueTree::List(std::uint32_t head, std::vector<std::uint32_t>* nodes) const {
    nodes->clear();
    for (std::uint32_t node = block_.GetHead(head); node != kNone;) {
        const Node* n = NodeAt(node);
        if (!n || !EntryOf(node) || nodes->size() >= MaxNodes()) return false;
        nodes->push_back(node);
        node = n->right;
    }
    return true;
}
