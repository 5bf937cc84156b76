#pragma once
// Chained hash table from a text to a record that lives elsewhere (the choice list cache's records).
// Keys are unique: inserting one twice is a fatal configuration error.
#include "core/cmcFatal.h"
#include "core/cmcHash.h"

#include <string>
#include <string_view>
#include <vector>

template <class Record> class cmcHash2 {
public:
    // A bucket count of 0 takes the default.
    explicit cmcHash2(uint32_t buckets = 0) : m_buckets(buckets == 0 ? cmcHash::kDefaultBuckets : buckets) {}

    // Adds key -> record (not owned); a key already present ends the program ("Overlapped Hash2 table.").
    void Insert(std::string_view key, Record* record) {
        if (FindNode(key))
            cmcFatal("Overlapped Hash2 table.");
        m_buckets[cmcHash::BucketOf(key, BucketCount())].push_back(Node{std::string(key), record});
    }

    // The record of key (case sensitive, whole key), or nullptr.
    Record* Find(std::string_view key) const {
        const Node* node = FindNode(key);
        return node ? node->record : nullptr;
    }

    uint32_t BucketCount() const { return static_cast<uint32_t>(m_buckets.size()); }

private:
    struct Node {
        std::string key;
        Record* record;
    };

    const Node* FindNode(std::string_view key) const {
        for (const Node& node : m_buckets[cmcHash::BucketOf(key, BucketCount())])
            if (node.key == key)
                return &node;
        return nullptr;
    }

    std::vector<std::vector<Node>> m_buckets;
};
