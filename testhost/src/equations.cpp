#include "vuzizev/equations.h"

#include <algorithm>
#include <bit>
#include <cstring>

const QV_VarParam* QV_IncidenceSpan::operator[](std::size_t k) const {
    return store->m_incidence[first + k];
}

QV_Token QV_TokenSpan::operator[](std::size_t k) const {
    return store->Decode(store->m_tokens[first + k], instance);
}

// ---- runs ----------------------------------------------------------------------------------

void QV_EquationStore::Close(std::vector<Run>& runs, std::uint64_t entries) {
    Run& run = runs.back();
    if (run.perEntry < 0) {
        run.perEntry = std::int32_t(entries);
        return;
    }
    if (std::uint64_t(run.perEntry) == entries) {
        return;
    }
    // The last one differs from the run it joined: it starts a run of its own.
    --run.count;
    Run own = run;
    own.first = run.first + run.count;
    own.count = 1;
    own.perEntry = std::int32_t(entries);
    own.start = run.start + std::uint64_t(run.count) * std::uint64_t(run.perEntry);
    own.counter = int(std::int64_t(run.counter) + run.count);
    runs.push_back(own);
}

const QV_EquationStore::Run& QV_EquationStore::RunOf(const std::vector<Run>& runs, std::size_t k) {
    auto after =
        std::upper_bound(runs.begin(), runs.end(), k,
                         [](std::size_t value, const Run& run) { return value < run.first; });
    return *(after - 1);
}

// ---- instances -----------------------------------------------------------------------------

void QV_EquationStore::OpenInstance(int group) {
    if (m_instanceCount > 0) {
        Close(m_instanceRuns, m_incidence.size() - m_instanceOpenedAt);
    }
    if (!m_instanceRuns.empty() && m_instanceRuns.back().group == group &&
        m_instanceRuns.back().perEntry >= 0) {
        ++m_instanceRuns.back().count;
    } else {
        m_instanceRuns.push_back(
            {std::uint32_t(m_instanceCount), 1, group, -1, m_incidence.size(), 0, 0});
    }
    m_instanceOpenedAt = m_incidence.size();
    ++m_instanceCount;
}

std::uint64_t QV_EquationStore::IncidenceStart(std::size_t k) const {
    if (k + 1 == m_instanceCount) {
        return m_instanceOpenedAt;
    }
    const Run& run = RunOf(m_instanceRuns, k);
    return run.start + std::uint64_t(k - run.first) * std::uint64_t(run.perEntry);
}

QV_InstanceView QV_EquationStore::Instance(std::size_t k) const {
    const std::uint64_t start = IncidenceStart(k);
    const std::size_t count = k + 1 == m_instanceCount
                                  ? std::size_t(m_incidence.size() - start)
                                  : std::size_t(RunOf(m_instanceRuns, k).perEntry);
    return {RunOf(m_instanceRuns, k).group, {this, start}, count};
}

void QV_EquationStore::ClearInstances() {
    if (m_tokensNameIncidence) {
        PoolIncidenceTerms();
    }
    m_incidence.clear();
    m_instanceRuns.clear();
    m_instanceCount = 0;
    m_instanceOpenedAt = 0;
    m_openInstance = -1;
}

// ---- equations -----------------------------------------------------------------------------

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
    if (m_equationCount > 0) {
        Close(m_equationRuns, m_tokens.size() - m_openTokens);
    }
    const std::uint32_t text = InternText(name);
    Run* run = m_equationRuns.empty() ? nullptr : &m_equationRuns.back();
    if (run != nullptr && run->name == text && run->group == group && run->perEntry >= 0 &&
        std::int64_t(counter) == std::int64_t(run->counter) + run->count) {
        ++run->count;
    } else {
        m_equationRuns.push_back(
            {std::uint32_t(m_equationCount), 1, group, -1, m_tokens.size(), text, counter});
    }
    m_openTokens = m_tokens.size();
    m_openCounter = counter;
    // The equation's terms are most likely its instance's incidence, in order.
    const std::size_t k = m_equationCount++;
    m_openInstance = k < m_instanceCount ? std::int64_t(k) : -1;
    if (m_openInstance >= 0) {
        m_openIncidence = IncidenceStart(k);
        m_openIncidenceCount = Instance(k).incidenceCount;
    }
    m_openTerms = 0;
}

std::uint32_t QV_EquationStore::Encode(const QV_Token& token) {
    switch (token.kind) {
    case QV_Token::Kind::Op:
        return Word(kOp, std::uint32_t(token.op));
    case QV_Token::Kind::Integer:
        if (token.integer >= kSmallest && token.integer <= kLargest) {
            return Word(kInteger, std::uint64_t(std::int64_t(token.integer) - kSmallest));
        }
        m_largeIntegers.push_back(token.integer);
        return Word(kLargeInteger, m_largeIntegers.size() - 1);
    case QV_Token::Kind::Real: {
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(token.real);
        RecentReal& recent = m_recentReals[(bits * 0x9E3779B97F4A7C15ull) >> 56];
        if (recent.bits != bits || recent.index >= m_reals.size()) {
            const auto same = [bits](double r) { return std::bit_cast<std::uint64_t>(r) == bits; };
            const std::size_t at =
                std::size_t(std::find_if(m_reals.begin(), m_reals.end(), same) - m_reals.begin());
            if (at == m_reals.size()) {
                m_reals.push_back(token.real);
            }
            recent = {bits, std::uint32_t(at)};
        }
        return Word(kReal, recent.index);
    }
    case QV_Token::Kind::Term: {
        const std::uint64_t n = m_openTerms++;
        if (m_openInstance >= 0 && n < m_openIncidenceCount &&
            m_incidence[m_openIncidence + n] == token.term) {
            m_tokensNameIncidence = true;
            return Word(kIncidenceTerm, n);
        }
        m_pooledTerms.push_back(token.term);
        return Word(kPooledTerm, m_pooledTerms.size() - 1);
    }
    case QV_Token::Kind::Text:
        return Word(kText, token.text);
    }
    return Word(kOp, 0);
}

QV_Token QV_EquationStore::Decode(std::uint32_t word, std::int64_t instance) const {
    QV_Token token;
    const std::uint32_t payload = word >> kKindBits;
    switch (TokenKind(word & ((1u << kKindBits) - 1))) {
    case kOp:
        token.kind = QV_Token::Kind::Op;
        token.op = int(payload);
        break;
    case kInteger:
        token.kind = QV_Token::Kind::Integer;
        token.integer = int(std::int64_t(payload) + kSmallest);
        break;
    case kLargeInteger:
        token.kind = QV_Token::Kind::Integer;
        token.integer = int(m_largeIntegers[payload]);
        break;
    case kReal:
        token.kind = QV_Token::Kind::Real;
        token.real = m_reals[payload];
        break;
    case kIncidenceTerm:
        token.kind = QV_Token::Kind::Term;
        token.term = m_incidence[IncidenceStart(std::size_t(instance)) + payload];
        break;
    case kPooledTerm:
        token.kind = QV_Token::Kind::Term;
        token.term = m_pooledTerms[payload];
        break;
    case kText:
        token.kind = QV_Token::Kind::Text;
        token.text = payload;
        break;
    }
    return token;
}

void QV_EquationStore::PoolIncidenceTerms() {
    for (std::size_t k = 0; k < m_equationCount; ++k) {
        const QV_EquationView equation = Equation(k);
        for (std::size_t t = 0; t < equation.tokenCount; ++t) {
            std::uint32_t& word = m_tokens[equation.tokens.first + t];
            if ((word & ((1u << kKindBits) - 1)) == kIncidenceTerm) {
                m_pooledTerms.push_back(Decode(word, std::int64_t(k)).term);
                word = Word(kPooledTerm, m_pooledTerms.size() - 1);
            }
        }
    }
    m_tokensNameIncidence = false;
}

void QV_EquationStore::ClearEquations() {
    m_tokens.clear();
    m_equationRuns.clear();
    m_equationCount = 0;
    m_reals.clear();
    for (RecentReal& recent : m_recentReals) {
        recent = RecentReal{};
    }
    m_largeIntegers.clear();
    m_pooledTerms.clear();
    m_misrouted = 0;
    m_openCounter = kNoneOpen;
    m_openInstance = -1;
    m_tokensNameIncidence = false;
}

QV_EquationView QV_EquationStore::Equation(std::size_t k) const {
    const Run& run = RunOf(m_equationRuns, k);
    const bool open = k + 1 == m_equationCount;
    const std::uint64_t start =
        open ? m_openTokens
             : run.start + std::uint64_t(k - run.first) * std::uint64_t(run.perEntry);
    const std::size_t count =
        open ? std::size_t(m_tokens.size() - start) : std::size_t(run.perEntry);
    const std::int64_t instance = k < m_instanceCount ? std::int64_t(k) : -1;
    return {m_texts[run.name].c_str(),
            run.group,
            int(std::int64_t(run.counter) + (k - run.first)),
            {this, start, instance},
            count};
}

std::size_t QV_EquationStore::BytesUsed() const {
    std::size_t bytes = m_incidence.BytesUsed() + m_tokens.BytesUsed() +
                        (m_instanceRuns.capacity() + m_equationRuns.capacity()) * sizeof(Run) +
                        m_reals.capacity() * sizeof(double) +
                        m_largeIntegers.capacity() * sizeof(std::int64_t) +
                        m_pooledTerms.capacity() * sizeof(const QV_VarParam*);
    for (const std::string& t : m_texts) {
        bytes += sizeof(std::string) + t.capacity();
    }
    return bytes;
}
