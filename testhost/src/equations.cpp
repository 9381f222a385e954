#include "vuzizev/equations.h"

#include <cstring>

void QV_EquationStore::ClearInstances() {
    m_instanceGroups.clear();
    m_incidenceStart.clear();
    m_incidence.clear();
}

QV_InstanceView QV_EquationStore::Instance(std::size_t k) const {
    const std::size_t begin = m_incidenceStart[k];
    const std::size_t end =
        k + 1 < m_incidenceStart.size() ? m_incidenceStart[k + 1] : m_incidence.size();
    return {m_instanceGroups[k], m_incidence.data() + begin, end - begin};
}

std::uint32_t QV_EquationStore::InternText(const char* text) {
    const char* t = text != nullptr ? text : "";
    // Names repeat across millions of instances, mostly from the same few addresses.
    RecentText& recent = m_recentTexts[(reinterpret_cast<std::uintptr_t>(t) >> 3) % kRecentTexts];
    if (recent.address == t && std::strcmp(m_texts[recent.index].c_str(), t) == 0) {
        return recent.index;
    }
    const std::size_t n = m_texts.size();
    std::size_t found = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::strcmp(m_texts[i].c_str(), t) == 0) {
            found = i;
            break;
        }
    }
    if (found == n) {
        m_texts.emplace_back(t);
    }
    recent = {t, std::uint32_t(found)};
    return std::uint32_t(found);
}

void QV_EquationStore::OpenEquation(const char* name, int counter, int group) {
    m_equationName.push_back(InternText(name));
    m_equationGroups.push_back(group);
    m_equationCounters.push_back(counter);
    m_tokenStart.push_back(std::uint32_t(m_tokens.size()));
    m_openCounter = counter;
}

void QV_EquationStore::ClearEquations() {
    m_equationName.clear();
    m_equationGroups.clear();
    m_equationCounters.clear();
    m_tokenStart.clear();
    m_tokens.clear();
    m_misrouted = 0;
    m_openCounter = kNoneOpen;
}

QV_EquationView QV_EquationStore::Equation(std::size_t k) const {
    const std::size_t begin = m_tokenStart[k];
    const std::size_t end = k + 1 < m_tokenStart.size() ? m_tokenStart[k + 1] : m_tokens.size();
    return {m_texts[m_equationName[k]].c_str(), m_equationGroups[k], m_equationCounters[k],
            m_tokens.data() + begin, end - begin};
}

std::size_t QV_EquationStore::BytesUsed() const {
    std::size_t bytes =
        m_instanceGroups.capacity() * sizeof(int) +
        m_incidenceStart.capacity() * sizeof(std::uint32_t) +
        m_incidence.capacity() * sizeof(const QV_VarParam*) +
        m_equationName.capacity() * sizeof(std::uint32_t) +
        m_equationGroups.capacity() * sizeof(int) + m_equationCounters.capacity() * sizeof(int) +
        m_tokenStart.capacity() * sizeof(std::uint32_t) + m_tokens.capacity() * sizeof(QV_Token);
    for (const std::string& t : m_texts) {
        bytes += sizeof(std::string) + t.capacity();
    }
    return bytes;
}
