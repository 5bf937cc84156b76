#pragma once
// Chained hash table from a text to a 32-bit number (cell category and cell names, colour names).
// Keys are unique: inserting one twice is a fatal configuration error.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cmcHash {
public:
    static constexpr uint32_t kDefaultBuckets = 1031;

    // A bucket count of 0 takes the default.
    explicit cmcHash(uint32_t buckets = 0);

    // Adds key -> value; a key already present ends the program ("Overlapped Hash table.").
    void Insert(std::string_view key, uint32_t value);
    // The value of key (case sensitive, whole key), or none.
    std::optional<uint32_t> Find(std::string_view key) const;

    uint32_t BucketCount() const { return static_cast<uint32_t>(m_buckets.size()); }

    // The bucket of key among n buckets; the same spread is used by cmcHash2.
    static uint32_t BucketOf(std::string_view key, uint32_t n);

private:
    struct Node {
        std::string key;
        uint32_t value;
    };
    std::vector<std::vector<Node>> m_buckets;
};
