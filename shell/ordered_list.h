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

#include <cstdint>
#include <type_traits>

template <typename T>
class OrderedList {
   public:
    OrderedList() = default;
    OrderedList(const OrderedList&) = delete;
    OrderedList& operator=(const OrderedList&) = delete;
    ~OrderedList() { Clear(); }

    // Inserts a zero-filled record after the current element (at the front
    // when there is none) and makes it the current element.
    T* Add() {
        Node* node = new Node{};
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
        Node* node = new Node{};
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
        delete node;
        --size_;
    }

    void Clear() {
        Node* node = first_;
        while (node != nullptr) {
            Node* next = node->next;
            delete node;
            node = next;
        }
        first_ = last_ = current_ = nullptr;
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
    int32_t size_ = 0;

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
