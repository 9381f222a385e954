// Set values: ordered sets of integers or of strings, with the set algebra that index sets,
// loops and the string-set parameters use. Integer sets are sorted numerically, string sets
// by byte order; no value occurs twice.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vuzizev/api.h"

namespace vzt::detail {
class IntegerMembers;
}

// Set type codes as the host knows them.
enum : int {
    QV_SetTypeNone = 0,
    QV_SetTypeUnion = 8,    // an integer set built by union
    QV_SetTypeInteger = 10, // an integer set
    QV_SetTypeString = 13,  // a string set
};

class VZ_API SUValue {
public:
    enum class Kind { None, Integer, String };

    // The empty set, of no kind yet: the first value added gives it its kind.
    SUValue() = default;
    SUValue(const SUValue& other);
    SUValue& operator=(const SUValue& other);
    ~SUValue();

    Kind kind() const { return m_kind; }
    int Type() const { return m_type; }
    bool IsStringSet() const { return m_kind == Kind::String; }
    std::size_t Size() const { return m_kind == Kind::String ? m_strings.size() : m_integerCount; }
    bool IsEmpty() const { return Size() == 0; }

    // Gives the set a type code: QV_SetTypeString makes it a string set, any other code an
    // integer set. Values are kept when the kind stays the same, dropped otherwise.
    void ResetType(int type);

    // Union. A value or set of the other kind is refused and leaves the set unchanged.
    SUValue& operator+=(const SUValue& other);
    SUValue& operator+=(int value);
    SUValue& operator+=(const char* value);
    // Intersection. A set of the other kind is refused and leaves the set unchanged.
    SUValue& operator*=(const SUValue& other);
    // Containment: the set holds the value, or every value of the other set.
    bool operator>=(const SUValue& other) const;
    bool operator>=(int value) const;
    int operator>=(const char* value) const;
    bool operator==(const SUValue& other) const;

    // Whether the set holds value; pos receives where it is, or where it would go to keep
    // the order. A value of the other kind is not held and would go at 0.
    bool SetContains(int value, int& pos) const;
    bool SetContains(const char* value, int& pos) const;
    // Inserts value at pos. Refused (false, set unchanged) when pos is outside the set,
    // the value is already held, it would break the order, or it is of the other kind.
    bool SetAddAtOffset(int value, int pos);
    bool SetAddAtOffset(const char* value, int pos);

    // 0 when the two texts are equal ignoring the case of ASCII letters; otherwise negative
    // or positive as the first sorts before or after the second. Null sorts before text.
    static int CompareCI(const char* a, const char* b);

protected:
    // Makes this the integer set [lo : hi]; false (set empty) when memory runs out.
    bool FillRange(int lo, int hi);

private:
    friend class QV_SetValue;
    bool TakeKind(Kind kind);
    const vzt::detail::IntegerMembers& Members() const;
    // Changes the members through change(members): copied first when another value shares
    // them.
    template <class Change>
    auto ChangeMembers(Change change);
    void KeepMembers(vzt::detail::IntegerMembers&& members);
    void ShareMembers(const SUValue& other);

    Kind m_kind = Kind::None;
    int m_type = QV_SetTypeNone;
    // An integer set's members, shared by the copies of a value until one of them changes;
    // null when there are none.
    std::shared_ptr<vzt::detail::IntegerMembers> m_integers;
    std::size_t m_integerCount = 0;
    std::vector<std::string> m_strings;
};

class VZ_API QV_SetValue : public SUValue {
public:
    QV_SetValue();
    QV_SetValue(const SUValue& value);
    QV_SetValue(const QV_SetValue& other);
    QV_SetValue& operator=(const QV_SetValue& other);

    // The value at pos in order; 0 or the empty text when pos is outside the set or the
    // set is of the other kind.
    int Integer(int pos) const;
    const char* String(int pos) const;
};

// The integer set [lo : hi], empty when hi < lo, and {lo} alone when hi is the least int;
// the default is the empty integer set.
class VZ_API QV_IntSetValue : public QV_SetValue {
public:
    QV_IntSetValue();
    QV_IntSetValue(int lo, int hi);
    // The empty integer set, from no text.
    explicit QV_IntSetValue(const char* none);
};

// A string set. The default is empty. From text, every member is followed by one
// double-quote character (`Backward"Forward"`); text that does not end with one is
// malformed and gives the empty set.
class VZ_API QV_StrSetValue : public QV_SetValue {
public:
    QV_StrSetValue();
    explicit QV_StrSetValue(const char* quotedMembers);
    // A copy of a string set (or of a set of no kind yet); an integer set gives the empty set.
    explicit QV_StrSetValue(const QV_SetValue& value);

    // Parses quoted members into out; false (out untouched) when the text is malformed.
    static bool Parse(const char* quotedMembers, QV_StrSetValue& out);
};

// Walks a set value in order. It starts before the first value: Next() advances and tells
// whether there is a value, so a loop runs `while (it.Next()) { ... it.v() ... }`. The
// iterator walks its own copy of the set.
class VZ_API QV_SetIter {
public:
    bool Next();
    // The member at which the loop stands: 0 or "" when it stands on none, or when the set
    // is of the other kind.
    int Integer();
    const char* String();

protected:
    explicit QV_SetIter(const SUValue& set);
    ~QV_SetIter();

    QV_SetValue m_set;
    int m_pos = -1;
};

class VZ_API QV_IntegerSetIter : public QV_SetIter {
public:
    explicit QV_IntegerSetIter(const SUValue& set);
    ~QV_IntegerSetIter();
    // The current value, through either of the host's two accessors.
    int v() const;
    int fv() const;
};

class VZ_API QV_StringSetIter : public QV_SetIter {
public:
    explicit QV_StringSetIter(const SUValue& set);
    ~QV_StringSetIter();
    const char* v() const;
    const char* fv() const;
};
