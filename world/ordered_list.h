#pragma once

// OrderedList: the one container behind every registry of the world.
//
// An ordered sequence of records with a cursor (the current element). The
// cursor is part of the contract, not a detail: Add inserts right after the
// current element, Next moves it, RemoveCurrent steps it back to the
// predecessor. Because every pass over a registry runs to its end before
// anything is created, registries end up in creation order, and the order of
// every pass over them decides the results of the simulation.
//
// Records are zero-filled when added and never move in memory, so other
// records may hold plain pointers to them until they are removed.
//
// Records live in blocks that the list allocates as it grows, each as large
// as everything before it, and places are handed out in address order. A
// removed record's place is kept for the next Add; a Clear hands every place
// out again from the start. So records lie in memory in the order they were
// added (a walk over a registry reads its memory front to back, which is what
// keeps the passes over contacts and candidate pairs fast), registries that
// are emptied and refilled every pass (contacts, pairs, shadow triangles)
// allocate nothing once they have reached their largest size, and a registry
// of n records took about log2(n) allocations.

#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

template <typename T>
class OrderedList {
   public:
    OrderedList() = default;
    OrderedList(const OrderedList&) = delete;
    OrderedList& operator=(const OrderedList&) = delete;
    ~OrderedList() = default;

    // Inserts a zero-filled record after the current element (at the front
    // when there is none) and makes it the current element.
    T* Add() {
        Node* node = NewNode();
        Node* before = current_;
        Node* after = before != nullptr ? before->next : first_;
        Link(node, before, after);
        current_ = node;
        return &node->record;
    }

    // Inserts a zero-filled record at the end, whatever the cursor, and makes
    // it the current element. Same as Add when the cursor rests on the last
    // element, which is where a full pass leaves it.
    T* Append() {
        Node* node = NewNode();
        Link(node, last_, nullptr);
        current_ = node;
        return &node->record;
    }

    // The cursor goes before the first element; no element is touched.
    void Reset() { current_ = nullptr; }

    // Advances the cursor and returns the new current record. At the end it
    // returns null and the cursor stays on the last element.
    T* Next() {
        Node* next = current_ != nullptr ? current_->next : first_;
        if (next == nullptr) {
            return nullptr;
        }
        current_ = next;
        return &next->record;
    }

    T* Current() const { return current_ != nullptr ? &current_->record : nullptr; }

    // Puts the cursor on the element holding `record`, which must be in this list.
    void SetCurrent(T* record) { current_ = NodeOf(record); }

    // Destroys the current element; the cursor goes to its predecessor (none
    // for the first), so the following Next yields the element after it.
    void RemoveCurrent() {
        Node* node = current_;
        if (node == nullptr) {
            return;
        }
        current_ = node->prev;
        (node->prev != nullptr ? node->prev->next : first_) = node->next;
        (node->next != nullptr ? node->next->prev : last_) = node->prev;
        Spare(node);
        --size_;
    }

    // Destroys every record; the cursor goes before the (absent) first element.
    void Clear() {
        first_ = last_ = current_ = nullptr;
        spare_ = nullptr;
        freshBlock_ = 0;
        freshIndex_ = 0;
        size_ = 0;
    }

    int32_t Size() const { return size_; }

    // Read-only walk that leaves the cursor alone, for code that only looks
    // (tests, dumps, drawing): `for (const T& r : list)`.
    class ConstIterator;
    ConstIterator begin() const { return ConstIterator(first_); }
    ConstIterator end() const { return ConstIterator(nullptr); }

   private:
    struct Node {
        T record;  // first member: a record pointer is its node's pointer
        Node* prev;
        Node* next;
    };
    static_assert(std::is_standard_layout_v<Node>, "records must be plain structs");
    static_assert(std::is_trivially_destructible_v<T>, "records must be plain structs");

    // A zero-filled node: a removed record's place when there is one,
    // otherwise the next place never handed out since the last Clear.
    Node* NewNode() {
        Node* node = spare_;
        if (node != nullptr) {
            spare_ = node->next;
        } else {
            node = FreshNode();
        }
        return new (node) Node{};
    }

    Node* FreshNode() {
        if (freshBlock_ < blocks_.size() && freshIndex_ == blocks_[freshBlock_].count) {
            ++freshBlock_;
            freshIndex_ = 0;
        }
        if (freshBlock_ == blocks_.size()) {
            AddBlock();
        }
        return &blocks_[freshBlock_].nodes[freshIndex_++];
    }

    void AddBlock() {
        constexpr int32_t kFirstBlock = 16;
        constexpr int32_t kLargestBlock = 4096;
        int32_t count = capacity_ < kFirstBlock ? kFirstBlock : capacity_;
        count = count > kLargestBlock ? kLargestBlock : count;
        // Left uninitialised: a node is zero-filled when it is handed out, so
        // the pages of a large block are touched only as it fills.
        blocks_.push_back({std::unique_ptr<Node[]>(new Node[count]), count});
        capacity_ += count;
    }

    void Spare(Node* node) {
        node->next = spare_;
        spare_ = node;
    }

    static Node* NodeOf(T* record) { return reinterpret_cast<Node*>(record); }

    void Link(Node* node, Node* before, Node* after) {
        node->prev = before;
        node->next = after;
        (before != nullptr ? before->next : first_) = node;
        (after != nullptr ? after->prev : last_) = node;
        ++size_;
    }

    Node* first_ = nullptr;
    Node* last_ = nullptr;
    Node* current_ = nullptr;
    Node* spare_ = nullptr;  // places of removed records, linked through `next`
    int32_t size_ = 0;
    int32_t capacity_ = 0;
    struct Block {
        std::unique_ptr<Node[]> nodes;
        int32_t count;
    };
    std::vector<Block> blocks_;
    std::size_t freshBlock_ = 0;  // the next place never handed out since the last Clear
    int32_t freshIndex_ = 0;

   public:
    class ConstIterator {
       public:
        explicit ConstIterator(const Node* node) : node_(node) {}
        const T& operator*() const { return node_->record; }
        const T* operator->() const { return &node_->record; }
        ConstIterator& operator++() {
            node_ = node_->next;
            return *this;
        }
        bool operator==(const ConstIterator& other) const { return node_ == other.node_; }

       private:
        const Node* node_;
    };
};
