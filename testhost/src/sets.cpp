#include "vuzizev/sets.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <iterator>
#include <new>
#include <string_view>

#include "control.h"
#include "integer_members.h"

namespace {

using vzt::detail::IntegerMembers;

const IntegerMembers kNoMembers;

// String sets compare by byte order (as unsigned characters).
std::string_view Key(const std::string& s) {
    return s;
}

template <class Vec, class V>
bool Locate(const Vec& values, const V& value, int& pos) {
    auto it = std::lower_bound(values.begin(), values.end(), value,
                               [](const auto& element, const V& v) { return Key(element) < v; });
    pos = int(it - values.begin());
    return it != values.end() && !(value < Key(*it));
}

template <class Vec, class V>
bool InsertAt(Vec& values, const V& value, int pos) {
    if (pos < 0 || std::size_t(pos) > values.size()) {
        return false;
    }
    const bool afterPrevious = pos == 0 || Key(values[pos - 1]) < value;
    const bool beforeNext = std::size_t(pos) == values.size() || value < Key(values[pos]);
    if (!afterPrevious || !beforeNext) {
        return false;
    }
    try {
        values.insert(values.begin() + pos, typename Vec::value_type(value));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

template <class Vec>
void Unite(Vec& values, const Vec& other) {
    if (other.empty()) {
        return;
    }
    // A union built of ascending pieces appends each piece.
    if (values.empty() || Key(values.back()) < Key(other.front())) {
        values.insert(values.end(), other.begin(), other.end());
        return;
    }
    Vec merged;
    merged.reserve(values.size() + other.size());
    std::set_union(values.begin(), values.end(), other.begin(), other.end(),
                   std::back_inserter(merged));
    values.swap(merged);
}

template <class Vec>
void Intersect(Vec& values, const Vec& other) {
    Vec common;
    std::set_intersection(values.begin(), values.end(), other.begin(), other.end(),
                          std::back_inserter(common));
    values.swap(common);
}

// Leaves set empty and not held, as a set that could not be made is.
void MarkNotHeld(SUValue& set) {
    set = SUValue();
    set.ResetType(vzt::detail::kSetNotHeld);
}

// Runs an operation that changes set; one that runs out of memory is counted as a failed
// allocation and leaves the set not held, rather than throwing out of the host.
template <class Change>
SUValue& Changed(SUValue& set, Change change) {
    try {
        change();
    } catch (const std::bad_alloc&) {
        vzt::detail::CountFailedAllocation();
        MarkNotHeld(set);
    }
    return set;
}

unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

} // namespace

// ---- SUValue ------------------------------------------------------------------------------

bool SUValue::TakeKind(Kind kind) {
    if (m_kind == Kind::None) {
        m_kind = kind;
        m_type = kind == Kind::String ? QV_SetTypeString : QV_SetTypeInteger;
    }
    return m_kind == kind;
}

const IntegerMembers& SUValue::Members() const {
    return m_integers != nullptr ? *m_integers : kNoMembers;
}

template <class Change>
auto SUValue::ChangeMembers(Change change) {
    if (m_integers == nullptr) {
        m_integers = std::make_shared<IntegerMembers>();
    } else if (m_integers.use_count() > 1) {
        m_integers = std::make_shared<IntegerMembers>(*m_integers);
    }
    const auto result = change(*m_integers);
    m_integerCount = m_integers->Size();
    return result;
}

void SUValue::ShareMembers(const SUValue& other) {
    m_integers = other.m_integers;
    m_integerCount = other.m_integerCount;
}

void SUValue::KeepMembers(IntegerMembers&& members) {
    m_integers.reset();
    m_integerCount = 0;
    if (members.Size() != 0) {
        m_integers = std::make_shared<IntegerMembers>(std::move(members));
        m_integerCount = m_integers->Size();
    }
}

void SUValue::ResetType(int type) {
    const Kind kind = type == QV_SetTypeString ? Kind::String : Kind::Integer;
    if (kind != m_kind) {
        KeepMembers({});
        m_strings.clear();
    }
    m_kind = kind;
    m_type = type;
}

// A set not held makes what it joins not held too, and stays so whatever joins it: an
// operation on it does no work. Its failure is counted once, where it arose.
SUValue& SUValue::operator+=(const SUValue& other) {
    if (m_type == vzt::detail::kSetNotHeld || other.m_type == vzt::detail::kSetNotHeld) {
        MarkNotHeld(*this);
        return *this;
    }
    return Changed(*this, [&] {
        if (other.m_kind == Kind::None || !TakeKind(other.m_kind)) {
            return;
        }
        if (m_kind == Kind::String) {
            Unite(m_strings, other.m_strings);
        } else if (m_integers == nullptr) {
            ShareMembers(other); // until either changes
        } else if (other.m_integers == nullptr || other.m_integerCount == 0) {
            return;
        } else if (Members().Precedes(other.Members())) {
            // A set built of ascending pieces grows in place, by what each piece adds.
            ChangeMembers([&other](IntegerMembers& members) {
                members.Append(other.Members());
                return true;
            });
        } else {
            KeepMembers(Members().United(other.Members()));
        }
    });
}

SUValue& SUValue::operator+=(int value) {
    if (m_type == vzt::detail::kSetNotHeld) {
        return *this;
    }
    return Changed(*this, [&] {
        if (TakeKind(Kind::Integer)) {
            ChangeMembers([value](IntegerMembers& members) {
                members.Add(value);
                return true;
            });
        }
    });
}

SUValue& SUValue::operator+=(const char* value) {
    if (m_type == vzt::detail::kSetNotHeld) {
        return *this;
    }
    return Changed(*this, [&] {
        int pos = 0;
        if (value != nullptr && TakeKind(Kind::String) &&
            !Locate(m_strings, std::string_view(value), pos)) {
            m_strings.insert(m_strings.begin() + pos, std::string(value));
        }
    });
}

SUValue& SUValue::operator*=(const SUValue& other) {
    if (m_type == vzt::detail::kSetNotHeld || other.m_type == vzt::detail::kSetNotHeld) {
        MarkNotHeld(*this);
        return *this;
    }
    return Changed(*this, [&] {
        if (other.m_kind == Kind::None) {
            KeepMembers({});
            m_strings.clear();
        } else if (TakeKind(other.m_kind)) {
            if (m_kind == Kind::String) {
                Intersect(m_strings, other.m_strings);
            } else {
                KeepMembers(Members().Intersected(other.Members()));
            }
        }
    });
}

bool SUValue::FillRange(int lo, int hi) {
    m_strings.clear();
    KeepMembers({});
    TakeKind(Kind::Integer);
    try {
        KeepMembers(IntegerMembers::Range(lo, hi));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool SUValue::operator>=(const SUValue& other) const {
    if (other.IsEmpty()) {
        return true;
    }
    if (other.m_kind != m_kind) {
        return false;
    }
    return m_kind == Kind::String ? std::includes(m_strings.begin(), m_strings.end(),
                                                  other.m_strings.begin(), other.m_strings.end())
                                  : Members().Includes(other.Members());
}

bool SUValue::operator>=(int value) const {
    int pos = 0;
    return SetContains(value, pos);
}

SUValue::SUValue(const SUValue& other) = default;
SUValue& SUValue::operator=(const SUValue& other) = default;
SUValue::~SUValue() = default;

int SUValue::operator>=(const char* value) const {
    int pos = 0;
    return SetContains(value, pos) ? 1 : 0;
}

bool SUValue::operator==(const SUValue& other) const {
    return m_kind == other.m_kind && Members() == other.Members() && m_strings == other.m_strings;
}

bool SUValue::SetContains(int value, int& pos) const {
    pos = 0;
    if (m_kind != Kind::Integer) {
        return false;
    }
    return m_integers != nullptr && m_integers->Find(value, pos);
}

bool SUValue::SetContains(const char* value, int& pos) const {
    pos = 0;
    return value != nullptr && m_kind == Kind::String &&
           Locate(m_strings, std::string_view(value), pos);
}

bool SUValue::SetAddAtOffset(int value, int pos) {
    if (m_kind == Kind::String) {
        return false;
    }
    try {
        if (!ChangeMembers([=](IntegerMembers& members) { return members.InsertAt(value, pos); })) {
            return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    TakeKind(Kind::Integer);
    return true;
}

bool SUValue::SetAddAtOffset(const char* value, int pos) {
    if (value == nullptr || m_kind == Kind::Integer) {
        return false;
    }
    if (!InsertAt(m_strings, std::string_view(value), pos)) {
        return false;
    }
    TakeKind(Kind::String);
    return true;
}

QV_SetValue::QV_SetValue() = default;
QV_SetValue::QV_SetValue(const SUValue& value) : SUValue(value) {}
QV_SetValue::QV_SetValue(const QV_SetValue& other) = default;
QV_SetValue& QV_SetValue::operator=(const QV_SetValue& other) = default;

int QV_SetValue::Integer(int pos) const {
    if (m_kind != Kind::Integer || pos < 0 || std::size_t(pos) >= Members().Size()) {
        return 0;
    }
    return Members().At(std::size_t(pos));
}

const char* QV_SetValue::String(int pos) const {
    if (m_kind != Kind::String || pos < 0 || std::size_t(pos) >= m_strings.size()) {
        return "";
    }
    return m_strings[pos].c_str();
}

int SUValue::CompareCI(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        return (a == nullptr ? 0 : 1) - (b == nullptr ? 0 : 1);
    }
    const auto* p = reinterpret_cast<const unsigned char*>(a);
    const auto* q = reinterpret_cast<const unsigned char*>(b);
    for (; *p != 0 && FoldAscii(*p) == FoldAscii(*q); ++p, ++q) {
    }
    return int(FoldAscii(*p)) - int(FoldAscii(*q));
}

// ---- Typed set values ---------------------------------------------------------------------

QV_IntSetValue::QV_IntSetValue() {
    ResetType(QV_SetTypeInteger);
}

QV_IntSetValue::QV_IntSetValue(const char*) : QV_IntSetValue() {}

// A range the host cannot hold is an allocation failure, as the host's other set operations
// report it: counted, and a set not held, never an empty set that a model would go on to use.
QV_IntSetValue::QV_IntSetValue(int lo, int hi) : QV_IntSetValue() {
    if (!FillRange(lo, hi == INT_MIN ? lo : hi)) {
        vzt::detail::CountFailedAllocation();
        MarkNotHeld(*this);
    }
}

QV_StrSetValue::QV_StrSetValue() {
    ResetType(QV_SetTypeString);
}

QV_StrSetValue::QV_StrSetValue(const char* quotedMembers) : QV_StrSetValue() {
    Parse(quotedMembers, *this);
}

QV_StrSetValue::QV_StrSetValue(const QV_SetValue& value) : QV_StrSetValue() {
    if (value.kind() != Kind::Integer) {
        *this += value;
    }
}

bool QV_StrSetValue::Parse(const char* quotedMembers, QV_StrSetValue& out) {
    if (quotedMembers == nullptr) {
        return false;
    }
    const std::string_view text(quotedMembers);
    if (!text.empty() && text.back() != '"') {
        return false;
    }
    QV_StrSetValue parsed;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('"', start);
        parsed += std::string(text.substr(start, end - start)).c_str();
        start = end + 1;
    }
    out = parsed;
    return true;
}
