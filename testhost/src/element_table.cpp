#include <algorithm>
#include <exception>

#include "control.h"
#include "vuzizev/matrix.h"

QV_LongPtrVectorOwnsData::~QV_LongPtrVectorOwnsData() {
    Clear();
}

bool QV_LongPtrVectorOwnsData::Put(std::size_t i, QV_Type* element) {
    if (i >= m_entries.size()) {
        return false;
    }
    if (m_entries[i] != element) {
        vzt::detail::Destroy(m_entries[i]);
        m_entries[i] = element;
    }
    return true;
}

void QV_LongPtrVectorOwnsData::Clear() {
    std::vector<QV_Type*> entries;
    entries.swap(m_entries);
    for (QV_Type* element : entries) {
        vzt::detail::Destroy(element);
    }
}

bool QV_LongPtrVectorOwnsData::ResetToNulls(std::size_t count) {
    std::vector<QV_Type*> nulls;
    try {
        nulls.assign(count, nullptr);
    } catch (const std::exception&) {
        return false;
    }
    Clear();
    m_entries.swap(nulls);
    return true;
}

bool QV_LongPtrVectorOwnsData::AddNullEntries(std::size_t position, std::size_t oldSize,
                                              std::size_t stride) {
    const std::size_t size = m_entries.size();
    if (stride == 0) {
        return false;
    }
    if (oldSize == 0) {
        if (stride > m_entries.max_size() - size) {
            return false;
        }
        try {
            m_entries.resize(size + stride, nullptr);
        } catch (const std::exception&) {
            return false;
        }
        return true;
    }
    if (position > oldSize || oldSize > size / stride) {
        return false;
    }
    const std::size_t block = oldSize * stride;
    if (size % block != 0) {
        return false;
    }
    const std::size_t blocks = size / block;
    if (blocks > (m_entries.max_size() - size) / stride) {
        return false;
    }
    try {
        m_entries.resize(size + blocks * stride, nullptr);
    } catch (const std::exception&) {
        return false;
    }
    // Spread the blocks from the last one down, so that no entry is overwritten before it
    // has moved; every entry of the grown table is written once.
    const std::size_t split = position * stride;
    for (std::size_t b = blocks; b-- > 0;) {
        const auto source = m_entries.begin() + std::ptrdiff_t(b * block);
        const auto target = m_entries.begin() + std::ptrdiff_t(b * (block + stride));
        std::move_backward(source + std::ptrdiff_t(split), source + std::ptrdiff_t(block),
                           target + std::ptrdiff_t(block + stride));
        if (b != 0) { // the first block's head stays where it is
            std::move_backward(source, source + std::ptrdiff_t(split),
                               target + std::ptrdiff_t(split));
        }
        std::fill(target + std::ptrdiff_t(split), target + std::ptrdiff_t(split + stride), nullptr);
    }
    return true;
}
