#include "core/cmcHash.h"

#include "core/cmcFatal.h"

cmcHash::cmcHash(uint32_t buckets) : m_buckets(buckets == 0 ? kDefaultBuckets : buckets) {}

uint32_t cmcHash::BucketOf(std::string_view key, uint32_t n) {
    if (n == 0)
        return 0;
    const uint32_t half = n / 2;
    uint32_t step = half;
    uint32_t h = 0;
    for (size_t i = 0; i < key.size(); ++i) {
        // Characters count as signed 8-bit numbers; the arithmetic wraps at 32 bits.
        h = 2 * h + step + static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(key[i])));
        // The character after this one (the terminating zero counts as one) steers the step.
        const uint8_t next = i + 1 < key.size() ? static_cast<uint8_t>(key[i + 1]) : 0;
        if (next & 1) {
            step /= 2;
            if (step == 0)
                step = half;
        }
    }
    return h % n;
}

void cmcHash::Insert(std::string_view key, uint32_t value) {
    if (Find(key))
        cmcFatal("Overlapped Hash table.");
    m_buckets[BucketOf(key, BucketCount())].push_back(Node{std::string(key), value});
}

std::optional<uint32_t> cmcHash::Find(std::string_view key) const {
    for (const Node& node : m_buckets[BucketOf(key, BucketCount())])
        if (node.key == key)
            return node.value;
    return std::nullopt;
}
