#pragma once
// THashList: names mapped to values through a fixed array of buckets, each
// bucket an unbalanced binary search tree. Names compare exactly (byte by
// byte, case-sensitive) unless the creator supplies other functions.
//
// Removal alternates between taking the replacement node from the
// predecessor and from the successor side, so that a tree does not
// degenerate into a list under repeated removals. Freeing a tree and walking
// it use an explicit stack, never recursion: a bucket filled in sorted order
// is as deep as it is long.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/errors.h"

namespace vork {

class EHashList : public EVkError {
 public:
  using EVkError::EVkError;
};

// Name -> non-negative hash.
using NameHashFunction = std::function<int32_t(std::string_view)>;
// Negative, 0 or positive, as strcmp.
using NameCompareFunction = std::function<int(std::string_view, std::string_view)>;

// h := (h rotated right by 6) + (h xor byte) for every byte, top bit cleared.
int32_t DefaultNameHash(std::string_view name);
// Byte-wise on unsigned bytes; a prefix orders before the longer name.
int CompareNames(std::string_view a, std::string_view b);

template <typename Value>
class THashList {
 public:
  // Visits (name, value); answers false to stop the walk.
  using Visitor = std::function<bool(const std::string& name, Value& value)>;

  // hash and compare may be empty for the defaults.
  explicit THashList(int32_t bucket_count, NameHashFunction hash = {}, NameCompareFunction compare = {})
      : hash_(hash ? std::move(hash) : NameHashFunction(DefaultNameHash)),
        compare_(compare ? std::move(compare) : NameCompareFunction(CompareNames)) {
    Check(bucket_count > 0);
    buckets_.resize(static_cast<size_t>(bucket_count));
  }
  ~THashList() { Clear(); }
  THashList(const THashList&) = delete;
  THashList& operator=(const THashList&) = delete;

  // Raises EHashList "Duplicate hash list entry: NAME" when name is present.
  void Add(std::string_view name, Value value) {
    std::unique_ptr<Node>& link = LinkOf(name);
    if (link) throw EHashList("Duplicate hash list entry: " + std::string(name));
    link = std::make_unique<Node>(std::string(name), std::move(value));
    ++count_;
  }

  // Takes the node out and answers its value. Raises EHashList "Tried to
  // remove invalid node: NAME" when name is absent.
  Value Remove(std::string_view name) {
    std::unique_ptr<Node>& link = LinkOf(name);
    if (!link) throw EHashList("Tried to remove invalid node: " + std::string(name));
    const bool from_predecessor = delete_side_;
    delete_side_ = !delete_side_;
    std::unique_ptr<Node> removed = std::move(link);
    if (from_predecessor) {
      link = TakeReplacement(removed->left, removed->right, &Node::right, &Node::left);
    } else {
      link = TakeReplacement(removed->right, removed->left, &Node::left, &Node::right);
    }
    --count_;
    return std::move(removed->value);
  }

  // The value stored under name, or null.
  Value* Find(std::string_view name) {
    std::unique_ptr<Node>& link = LinkOf(name);
    return link ? &link->value : nullptr;
  }
  const Value* Find(std::string_view name) const { return const_cast<THashList*>(this)->Find(name); }

  // Every node, bucket 0 first, each tree in pre-order (node, left subtree,
  // right subtree); stops as soon as the visitor answers false. The visitor
  // must not add or remove names. Answers false when it was stopped.
  bool ForEach(const Visitor& visit) {
    std::vector<Node*> pending;
    for (std::unique_ptr<Node>& root : buckets_) {
      if (root) pending.push_back(root.get());
      while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        if (!visit(node->name, node->value)) return false;
        if (node->right) pending.push_back(node->right.get());
        if (node->left) pending.push_back(node->left.get());
      }
    }
    return true;
  }

  void Clear() {
    std::vector<std::unique_ptr<Node>> pending;
    for (std::unique_ptr<Node>& root : buckets_) {
      if (root) pending.push_back(std::move(root));
      while (!pending.empty()) {
        std::unique_ptr<Node> node = std::move(pending.back());
        pending.pop_back();
        if (node->left) pending.push_back(std::move(node->left));
        if (node->right) pending.push_back(std::move(node->right));
      }
    }
    count_ = 0;
  }

  int32_t Count() const { return count_; }
  int32_t BucketCount() const { return static_cast<int32_t>(buckets_.size()); }

 private:
  struct Node {
    Node(std::string n, Value v) : name(std::move(n)), value(std::move(v)) {}
    std::string name;
    Value value;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
  };
  using Link = std::unique_ptr<Node> Node::*;

  // The link that holds name, or the empty link where Add would place it.
  std::unique_ptr<Node>& LinkOf(std::string_view name) {
    const auto bucket = static_cast<size_t>(hash_(name)) % buckets_.size();
    std::unique_ptr<Node>* link = &buckets_[bucket];
    while (*link) {
      const int order = compare_(name, (*link)->name);
      if (order == 0) break;
      link = order < 0 ? &(*link)->left : &(*link)->right;
    }
    return *link;
  }

  // The node that takes a removed node's place. near is the removed node's
  // subtree on the chosen side, far the other one; inward is the link that
  // points back towards the removed node (right for the predecessor side),
  // outward the opposite link. Written once for both mirror images.
  static std::unique_ptr<Node> TakeReplacement(std::unique_ptr<Node>& near, std::unique_ptr<Node>& far,
                                               Link inward, Link outward) {
    if (!near) return std::move(far);
    if (!((*near).*inward)) {
      std::unique_ptr<Node> replacement = std::move(near);
      (*replacement).*inward = std::move(far);
      return replacement;
    }
    Node* parent = near.get();
    while ((*((*parent).*inward)).*inward) parent = ((*parent).*inward).get();
    std::unique_ptr<Node> replacement = std::move((*parent).*inward);
    (*parent).*inward = std::move((*replacement).*outward);
    (*replacement).*outward = std::move(near);
    (*replacement).*inward = std::move(far);
    return replacement;
  }

  NameHashFunction hash_;
  NameCompareFunction compare_;
  std::vector<std::unique_ptr<Node>> buckets_;
  int32_t count_ = 0;
  bool delete_side_ = false;
};

}  // namespace vork
