#include "model_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "standin/host_access.h"

namespace vzhost {

QV_Containable* Resolved(const QV_Container& owner, const char* name) {
    QV_Containable* property = vzt::FindProperty(owner, name);
    if (auto* named = dynamic_cast<QV_VirtualBase*>(property)) {
        return named->VirtualLink();
    }
    if (auto* external = dynamic_cast<QV_ExternalBase*>(property)) {
        return external->ExternalLink();
    }
    return property;
}

int IntegerOf(const QV_Container& owner, const char* name) {
    const auto* p = dynamic_cast<const QV_INTEGERPARAMETER*>(Resolved(owner, name));
    return p != nullptr ? p->v() : 0;
}

double RealOf(const QV_Container& owner, const char* name) {
    const auto* p = dynamic_cast<const QV_REALPARAMETER*>(Resolved(owner, name));
    return p != nullptr ? p->v() : 0.0;
}

std::string TextOf(const QV_Container& owner, const char* name) {
    const auto* p = dynamic_cast<const QV_STRINGPARAMETER*>(Resolved(owner, name));
    return p != nullptr ? p->v() : "";
}

std::vector<int> IntegerSetOf(const QV_Container& owner, const char* name) {
    std::vector<int> members;
    if (const auto* set = dynamic_cast<const QV_Set*>(Resolved(owner, name))) {
        for (std::size_t i = 0; i < set->v().Size(); ++i) {
            members.push_back(set->v().Integer(int(i)));
        }
    }
    return members;
}

QV_Matrix* ArrayOf(const QV_Container& owner, const char* name) {
    return dynamic_cast<QV_Matrix*>(Resolved(owner, name));
}

std::map<int, QV_Type*> ElementsOf(const QV_Matrix& array) {
    std::map<int, QV_Type*> elements;
    if (array.Dimensions() != 1) {
        return elements;
    }
    const QV_SetValue& indices = vzt::IndexValues(array, 0);
    for (std::size_t p = 0; p < indices.Size() && p < array.Elements().Size(); ++p) {
        if (QV_Type* element = array.Elements().At(p)) {
            elements[indices.Integer(int(p))] = element;
        }
    }
    return elements;
}

TermNames::TermNames(const QV_Container& model) {
    Walk(model, "", 0);
    IndexArrays();
}

std::string TermNames::operator()(const QV_VarParam* term) const {
    std::string name;
    Append(name, term);
    return name;
}

void TermNames::Append(std::string& text, const QV_VarParam* term) const {
    if (const auto it = m_names.find(term); it != m_names.end()) {
        text += it->second;
        return;
    }
    const char* index = term != nullptr ? vzt::PropertyName(*term) : nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(index);
    const auto holds = [address](const Extent& e) {
        return e.first <= address && address <= e.last;
    };
    // Consecutive terms mostly lie in one extent.
    if (m_lastExtent >= m_extents.size() || !holds(m_extents[m_lastExtent])) {
        const auto after =
            std::upper_bound(m_extents.begin(), m_extents.end(), address,
                             [](std::uintptr_t a, const Extent& e) { return a < e.first; });
        if (after == m_extents.begin() || !holds(*(after - 1))) {
            // An address as the C++ streams write it: 0 for null, else 0x and hexadecimal.
            const auto address =
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(term));
            char unnamed[32] = "<0>";
            if (address != 0) {
                std::snprintf(unnamed, sizeof unnamed, "<0x%llx>", address);
            }
            text += unnamed;
            return;
        }
        m_lastExtent = std::size_t(after - m_extents.begin()) - 1;
    }
    text += m_arrays[m_extents[m_lastExtent].array].second;
    text += index;
}

// Properties by name; references and arrays are followed, so that a term is named by the
// path from the model to it. Domains are followed one level down, not back.
void TermNames::Walk(const QV_Container& container, const std::string& prefix, int depth) {
    constexpr int kDeepest = 3;
    for (const QV_Containable* property : vzt::Properties(container)) {
        const std::string name = prefix + vzt::PropertyName(*property);
        const QV_Containable* target = property;
        if (auto* named = dynamic_cast<const QV_VirtualBase*>(property)) {
            target = named->VirtualLink();
        } else if (auto* external = dynamic_cast<const QV_ExternalBase*>(property)) {
            target = external->ExternalLink();
        }
        if (target == nullptr) {
            continue;
        }
        if (!m_names.count(target)) {
            m_names[target] = name;
        }
        if (const auto* array = dynamic_cast<const QV_Matrix*>(target)) {
            if (std::none_of(m_arrays.begin(), m_arrays.end(),
                             [array](const auto& known) { return known.first == array; })) {
                m_arrays.emplace_back(array, name);
            }
            // An array holds one kind of element: records, whose members are named too, or
            // values, named through the array.
            for (std::size_t p = 0; p < array->Elements().Size() && depth < kDeepest; ++p) {
                const auto* record = dynamic_cast<const QV_Container*>(array->Elements().At(p));
                if (record == nullptr && array->Elements().At(p) != nullptr) {
                    break;
                }
                if (record != nullptr) {
                    Walk(*record, name + vzt::PropertyName(*record) + ".", depth + 1);
                }
            }
        } else if (const auto* object = dynamic_cast<const QV_Container*>(target);
                   object != nullptr && target != property && depth < kDeepest) {
            Walk(*object, name + ".", depth + 1);
        }
    }
}

// The host keeps an array's index texts one after another, so each run of them that lies
// back to back is an extent of that array. Extents of different arrays never overlap unless
// two arrays share a text (an element the host could not name); such texts name no element.
void TermNames::IndexArrays() {
    std::vector<std::uintptr_t> texts;
    for (std::size_t a = 0; a < m_arrays.size(); ++a) {
        const QV_LongPtrVectorOwnsData& elements = m_arrays[a].first->Elements();
        texts.clear();
        for (std::size_t p = 0; p < elements.Size(); ++p) {
            if (const QV_Type* element = elements.At(p)) {
                texts.push_back(reinterpret_cast<std::uintptr_t>(vzt::PropertyName(*element)));
            }
        }
        std::sort(texts.begin(), texts.end());
        const std::size_t firstOfArray = m_extents.size();
        for (const std::uintptr_t text : texts) {
            Extent* last = m_extents.size() > firstOfArray ? &m_extents.back() : nullptr;
            const std::uintptr_t next =
                last != nullptr
                    ? last->last + std::strlen(reinterpret_cast<const char*>(last->last)) + 1
                    : 0;
            if (last != nullptr && text == next) {
                last->last = text;
            } else {
                m_extents.push_back({text, text, a});
            }
        }
    }
    std::sort(m_extents.begin(), m_extents.end(),
              [](const Extent& a, const Extent& b) { return a.first < b.first; });
    // An extent that overlaps an earlier one overlaps the one reaching furthest.
    std::vector<bool> shared(m_extents.size(), false);
    for (std::size_t e = 1, furthest = 0; e < m_extents.size(); ++e) {
        if (m_extents[e].first <= m_extents[furthest].last) {
            shared[e] = shared[furthest] = true;
        }
        if (m_extents[e].last > m_extents[furthest].last) {
            furthest = e;
        }
    }
    std::vector<Extent> kept;
    for (std::size_t e = 0; e < m_extents.size(); ++e) {
        if (!shared[e]) {
            kept.push_back(m_extents[e]);
        }
    }
    m_extents.swap(kept);
}

} // namespace vzhost
