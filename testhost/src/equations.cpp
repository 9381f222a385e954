#include "standin/equations.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "control.h"

const QV_VarParam* QV_IncidenceSpan::operator[](std::size_t k) const {
    return store->Term(store->m_instances.incidence[first + k]);
}

QV_Token QV_TokenSpan::operator[](std::size_t k) const {
    return store->Decode(store->m_tokens[first + k], instance);
}

// ---- incidence entries ---------------------------------------------------------------------

std::uint32_t QV_EquationStore::Entry(const QV_VarParam* term) {
    if (const std::uint32_t handle = vzt::detail::BlockHandle(term)) [[likely]] {
        return handle;
    }
    return PooledEntry(term);
}

std::uint32_t QV_EquationStore::PooledEntry(const QV_VarParam* term) {
    const auto [at, added] =
        m_pooledIncidenceIndex.try_emplace(term, std::uint32_t(m_pooledIncidence.size()));
    if (added) {
        m_pooledIncidence.push_back(term);
    }
    return kPooledEntry | at->second;
}

const QV_VarParam* QV_EquationStore::Term(std::uint32_t entry) const {
    if ((entry & kPooledEntry) != 0) {
        return m_pooledIncidence[entry & ~kPooledEntry];
    }
    return static_cast<const QV_VarParam*>(vzt::detail::BlockAt(entry));
}

// ---- runs --------------------------------------------------------------------------------

const QV_EquationStore::Run& QV_EquationStore::RunOf(const std::vector<Run>& runs, std::size_t k) {
    auto after =
        std::upper_bound(runs.begin(), runs.end(), k,
                         [](std::size_t value, const Run& run) { return value < run.first; });
    return *(after - 1);
}

// ---- instances -----------------------------------------------------------------------------

std::size_t QV_EquationStore::Instances::Count(std::size_t k) const {
    const std::uint64_t end = k + 1 < starts.size() ? starts[k + 1] : incidence.size();
    return std::size_t(end - starts[k]);
}

void QV_EquationStore::Instances::Clear() {
    incidence.clear();
    starts.clear();
    groups.clear();
}

void QV_EquationStore::Instances::Swap(Instances& other) {
    incidence.swap(other.incidence);
    starts.swap(other.starts);
    groups.swap(other.groups);
}

void QV_EquationStore::OpenInstance(int group) {
    Instances& in = m_instances;
    if (in.groups.empty() || in.groups.back().value != group) {
        in.groups.push_back({in.starts.size(), group});
    }
    in.starts.push_back(in.incidence.size());
}

QV_InstanceView QV_EquationStore::Instance(std::size_t k) const {
    const Instances& in = m_instances;
    return {RunOf(in.groups, k).value, {this, in.starts[k]}, in.Count(k)};
}

// The equations' terms may name the instances' incidence: then the instances retire, kept
// for the equations until they go too, and the new instances take the retired ones' room.
void QV_EquationStore::ClearInstances() {
    if (m_tokensNameIncidence && !m_equationsNameRetired) {
        m_retired.Swap(m_instances);
        m_equationsNameRetired = true;
    }
    m_instances.Clear();
    m_openInstance = -1;
    m_lost = false;
}

// ---- equations -----------------------------------------------------------------------------

std::uint32_t QV_EquationStore::InternText(const char* text) {
    const char* t = text != nullptr ? text : "";
    if (!m_recentTexts) {
        m_recentTexts = std::make_unique<RecentText[]>(kRecentTexts);
    }
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

void QV_EquationStore::MatchFrom(std::uint64_t matched) {
    const Shape& shape = m_shapes[m_matchShape];
    m_matchedBefore = matched;
    if (matched == shape.count) {
        m_matchBegin = m_matchAt = m_matchEnd = nullptr;
        return;
    }
    const std::uint64_t at = shape.start + matched;
    const std::uint64_t together =
        std::min<std::uint64_t>(shape.count - matched, m_tokens.ContiguousFrom(at));
    m_matchBegin = m_matchAt = &m_tokens[at];
    m_matchEnd = m_matchBegin + together;
}

void QV_EquationStore::KeepOwnTokens() {
    const std::uint64_t matched = MatchedTokens();
    const std::uint64_t start = m_shapes[m_matchShape].start;
    for (std::uint64_t t = 0; t < matched; ++t) {
        m_tokens.push_back(m_tokens[start + t]);
    }
    StopMatching();
}

void QV_EquationStore::StopMatching() {
    m_matchShape = kNoShape;
    m_matchedBefore = 0;
    m_matchBegin = m_matchAt = m_matchEnd = nullptr;
}

void QV_EquationStore::PutToken(std::uint32_t word) {
    if (m_matchShape != kNoShape) {
        const std::uint64_t matched = MatchedTokens();
        if (m_matchAt == m_matchEnd && matched < m_shapes[m_matchShape].count) {
            MatchFrom(matched); // the shape's tokens go on in the next chunk
            if (*m_matchAt == word) {
                ++m_matchAt;
                return;
            }
        }
        KeepOwnTokens();
    }
    m_tokens.push_back(word);
}

void QV_EquationStore::CloseEquation() {
    if (m_matchShape != kNoShape) {
        if (MatchedTokens() == m_shapes[m_matchShape].count) {
            m_equationShapes.push_back(m_matchShape);
            StopMatching();
            return;
        }
        KeepOwnTokens(); // it ended early
    }
    const std::uint64_t count = m_tokens.size() - m_openTokens;
    std::uint32_t& last = m_lastShapeOfName[m_openName];
    last = std::uint32_t(m_shapes.size());
    m_shapes.push_back({m_openName, m_openGroup, m_openTokens, std::uint32_t(count)});
    m_equationShapes.push_back(last);
}

void QV_EquationStore::OpenEquation(const char* name, int counter, int group) {
    if (m_equationCount > 0) {
        CloseEquation();
    }
    m_openName = InternText(name);
    if (m_lastShapeOfName.size() <= m_openName) {
        m_lastShapeOfName.resize(m_openName + 1, UINT32_MAX);
    }
    m_openGroup = group;
    const std::size_t k = m_equationCount++;
    if (m_counters.empty() ||
        std::int64_t(counter) !=
            std::int64_t(m_counters.back().value) + std::int64_t(k - m_counters.back().first)) {
        m_counters.push_back({k, counter});
    }
    m_openTokens = m_tokens.size();
    m_openCounter = counter;
    // The equation's terms are most likely its instance's incidence, in order (unless the
    // equations already name retired instances).
    m_openInstance = k < InstanceCount() && !m_equationsNameRetired ? std::int64_t(k) : -1;
    if (m_openInstance >= 0) {
        m_openIncidence = m_instances.starts[k];
        m_openIncidenceCount = m_instances.Count(k);
    }
    m_openTerms = 0;
    // The shape this name took last, which the equations of one statement share.
    const std::uint32_t last = m_lastShapeOfName[m_openName];
    if (last < m_shapes.size() && m_shapes[last].group == group) {
        m_matchShape = last;
        MatchFrom(0);
    }
}

std::uint32_t QV_EquationStore::EncodeOther(const QV_Token& token) {
    switch (token.kind) {
    case QV_Token::Kind::Integer:
        m_largeIntegers.push_back(token.integer);
        return Word(kLargeInteger, m_largeIntegers.size() - 1);
    case QV_Token::Kind::Real: {
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(token.real);
        if (!m_recentReals) {
            m_recentReals = std::make_unique<RecentReal[]>(kRecentReals);
        }
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
    case QV_Token::Kind::Term: // one that does not name its instance's incidence in order
        m_pooledTerms.push_back(token.term);
        return Word(kPooledTerm, m_pooledTerms.size() - 1);
    default:
        return Word(kOp, 0);
    }
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
    case kIncidenceTerm: {
        // Read without the high parts while they are 0, so that this path stays small.
        const Instances& named = m_equationsNameRetired ? m_retired : m_instances;
        const std::size_t k = std::size_t(instance);
        token.kind = QV_Token::Kind::Term;
        token.term = named.starts.IsLow(k)
                         ? Term(named.incidence[named.starts.LowPart(k) + payload])
                         : FarIncidenceTerm(payload, k);
        break;
    }
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

const QV_VarParam* QV_EquationStore::FarIncidenceTerm(std::uint32_t n, std::size_t instance) const {
    const Instances& named = m_equationsNameRetired ? m_retired : m_instances;
    return Term(named.incidence[named.starts[instance] + n]);
}

void QV_EquationStore::ClearEquations() {
    m_tokens.clear();
    m_tokenCount = 0;
    m_equationShapes.clear();
    m_shapes.clear();
    m_lastShapeOfName.clear();
    m_counters.clear();
    m_equationCount = 0;
    m_reals.clear();
    m_recentReals.reset();
    m_largeIntegers.clear();
    m_pooledTerms.clear();
    m_misrouted = 0;
    m_openCounter = kNoneOpen;
    m_openInstance = -1;
    StopMatching();
    m_tokensNameIncidence = false;
    m_equationsNameRetired = false;
    m_retired.Clear();
}

QV_EquationView QV_EquationStore::Equation(std::size_t k) const {
    const Run& counters = RunOf(m_counters, k);
    const int counter = int(std::int64_t(counters.value) + std::int64_t(k - counters.first));
    const std::int64_t instance = std::int64_t(k);
    if (k + 1 == m_equationCount) { // the equation still open
        const bool repeats = m_matchShape != kNoShape;
        return {m_texts[m_openName].c_str(),
                m_openGroup,
                counter,
                {this, repeats ? m_shapes[m_matchShape].start : m_openTokens, instance},
                std::size_t(repeats ? MatchedTokens() : m_tokens.size() - m_openTokens)};
    }
    const Shape& shape = m_shapes[m_equationShapes[k]];
    return {m_texts[shape.name].c_str(),
            shape.group,
            counter,
            {this, shape.start, instance},
            shape.count};
}

std::size_t QV_EquationStore::BytesUsed() const {
    std::size_t bytes =
        m_instances.incidence.BytesUsed() + m_instances.starts.BytesUsed() +
        m_retired.incidence.BytesUsed() + m_retired.starts.BytesUsed() + m_tokens.BytesUsed() +
        m_equationShapes.BytesUsed() +
        (m_instances.groups.capacity() + m_retired.groups.capacity() + m_counters.capacity()) *
            sizeof(Run) +
        m_shapes.capacity() * sizeof(Shape) + m_lastShapeOfName.capacity() * sizeof(std::uint32_t) +
        m_reals.capacity() * sizeof(double) + m_largeIntegers.capacity() * sizeof(std::int64_t) +
        (m_pooledTerms.capacity() + m_pooledIncidence.capacity()) * sizeof(const QV_VarParam*) +
        m_pooledIncidenceIndex.size() * 4 * sizeof(void*);
    for (const std::string& t : m_texts) {
        bytes += sizeof(std::string) + t.capacity();
    }
    return bytes;
}
