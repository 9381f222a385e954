#include <algorithm>
#include <exception>
#include <limits>

#include "control.h"
#include "vuzizev/matrix.h"

namespace {

// Opens room for stride nulls at offset position * stride of every block of oldSize * stride
// entries (see AddNullEntries), in either form of the table.
template <class Entry>
bool AddNulls(std::vector<Entry>& entries, Entry none, std::size_t position, std::size_t oldSize,
              std::size_t stride) {
    const std::size_t size = entries.size();
    if (stride == 0) {
        return false;
    }
    if (oldSize == 0) {
        if (stride > entries.max_size() - size) {
            return false;
        }
        try {
            entries.resize(size + stride, none);
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
    if (blocks > (entries.max_size() - size) / stride) {
        return false;
    }
    try {
        entries.resize(size + blocks * stride, none);
    } catch (const std::exception&) {
        return false;
    }
    // Spread the blocks from the last one down, so that no entry is overwritten before it
    // has moved; every entry of the grown table is written once.
    const std::size_t split = position * stride;
    for (std::size_t b = blocks; b-- > 0;) {
        const auto source = entries.begin() + std::ptrdiff_t(b * block);
        const auto target = entries.begin() + std::ptrdiff_t(b * (block + stride));
        std::move_backward(source + std::ptrdiff_t(split), source + std::ptrdiff_t(block),
                           target + std::ptrdiff_t(block + stride));
        if (b != 0) { // the first block's head stays where it is
            std::move_backward(source, source + std::ptrdiff_t(split),
                               target + std::ptrdiff_t(split));
        }
        std::fill(target + std::ptrdiff_t(split), target + std::ptrdiff_t(split + stride), none);
    }
    return true;
}

} // namespace

QV_LongPtrVectorOwnsData::~QV_LongPtrVectorOwnsData() {
    Clear();
}

std::size_t QV_LongPtrVectorOwnsData::Size() const {
    return m_wide ? m_pointers.size() : m_steps.size();
}

QV_Type* QV_LongPtrVectorOwnsData::At(std::size_t i) const {
    if (m_wide) {
        return i < m_pointers.size() ? m_pointers[i] : nullptr;
    }
    if (i >= m_steps.size() || m_steps[i] == kNoElement) {
        return nullptr;
    }
    return reinterpret_cast<QV_Type*>(m_anchor + std::uintptr_t(std::intptr_t(m_steps[i]) * 8));
}

bool QV_LongPtrVectorOwnsData::StepOf(const QV_Type* element, std::int32_t& step) {
    if (element == nullptr) {
        step = kNoElement;
        return true;
    }
    const auto address = reinterpret_cast<std::uintptr_t>(element);
    if (m_anchor == 0) {
        m_anchor = address;
    }
    const auto distance = std::intptr_t(address - m_anchor);
    if (distance % 8 != 0 || distance / 8 <= kNoElement ||
        distance / 8 > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    step = std::int32_t(distance / 8);
    return true;
}

bool QV_LongPtrVectorOwnsData::Put(std::size_t i, QV_Type* element) {
    if (i >= Size()) {
        return false;
    }
    QV_Type* previous = At(i);
    if (previous == element) {
        return true;
    }
    std::int32_t step = kNoElement;
    if (!m_wide && !StepOf(element, step)) {
        std::vector<QV_Type*> pointers;
        try {
            pointers.resize(m_steps.size());
        } catch (const std::exception&) {
            vzt::detail::Destroy(element);
            vzt::detail::CountFailedAllocation();
            return false;
        }
        for (std::size_t k = 0; k < m_steps.size(); ++k) {
            pointers[k] = At(k);
        }
        m_pointers.swap(pointers);
        m_steps = {};
        m_wide = true;
    }
    vzt::detail::Destroy(previous);
    if (m_wide) {
        m_pointers[i] = element;
    } else {
        m_steps[i] = step;
    }
    return true;
}

void QV_LongPtrVectorOwnsData::Clear() {
    std::vector<std::int32_t> steps;
    std::vector<QV_Type*> pointers;
    const std::uintptr_t anchor = m_anchor;
    steps.swap(m_steps);
    pointers.swap(m_pointers);
    m_anchor = 0;
    m_wide = false;
    for (QV_Type* element : pointers) {
        vzt::detail::Destroy(element);
    }
    for (const std::int32_t step : steps) {
        if (step != kNoElement) {
            vzt::detail::Destroy(
                reinterpret_cast<QV_Type*>(anchor + std::uintptr_t(std::intptr_t(step) * 8)));
        }
    }
}

bool QV_LongPtrVectorOwnsData::ResetToNulls(std::size_t count) {
    std::vector<std::int32_t> nulls;
    try {
        nulls.assign(count, kNoElement);
    } catch (const std::exception&) {
        return false;
    }
    Clear();
    m_steps.swap(nulls);
    return true;
}

bool QV_LongPtrVectorOwnsData::AddNullEntries(std::size_t position, std::size_t oldSize,
                                              std::size_t stride) {
    return m_wide ? AddNulls(m_pointers, static_cast<QV_Type*>(nullptr), position, oldSize, stride)
                  : AddNulls(m_steps, kNoElement, position, oldSize, stride);
}
