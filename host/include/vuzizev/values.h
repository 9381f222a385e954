// Values that the library hands to the host: a plain value and the numbers that tag it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "vuzizev/api.h"
#include "vuzizev/sets.h"

// The numbers that tag an assigned value: the two integers that ExecuteAssignments
// received (b first) and the number of the statement that computed the value.
struct QV_ValueTag {
    int b = 0;
    int a = 0;
    int n = 0;
    bool operator==(const QV_ValueTag&) const = default;
};

namespace vzt {
class HostAccess;
}

class VZ_API QV_Value {
public:
    QV_Value() = default;
    QV_Value(const QV_Value& other);
    QV_Value(QV_Value&& other) noexcept;
    QV_Value& operator=(const QV_Value& other);
    QV_Value& operator=(QV_Value&& other) noexcept;
    ~QV_Value();
    QV_Value(int value, unsigned b, unsigned a, int n);
    QV_Value(double value, unsigned b, unsigned a, int n);
    QV_Value(const char* value, unsigned b, unsigned a, int n);
    QV_Value(const QV_SetValue& value, unsigned b, unsigned a, int n);
    QV_Value(const SUValue& value, unsigned b, unsigned a, int n);
    // A value with a single unsigned tag, as the default accessors and ports build them.
    QV_Value(int value, unsigned tag);
    QV_Value(double value, unsigned tag);
    QV_Value(const char* value, unsigned tag);
    QV_Value(const QV_SetValue& value, unsigned tag);

    bool IsEmpty() const { return m_kind == 0; }

    bool operator==(const QV_Value& other) const;

    // Gives the value another real or text, keeping its tag.
    void ResetValue(double value);
    void ResetValue(const char* value);

private:
    friend class vzt::HostAccess; // the stand-in reads what a value holds
    // What the value holds; the stand-in's header gives these to its own code.
    enum class Kind { Empty, Integer, Real, Text, Set };
    Kind kind() const { return static_cast<Kind>(m_kind); }
    QV_ValueTag tag() const { return m_plain ? QV_ValueTag{} : m_tag; }
    unsigned plainTag() const { return m_plain ? static_cast<unsigned>(m_tag.n) : 0u; }
    int AsInteger() const;
    double AsReal() const;
    const char* AsText() const;
    const QV_SetValue& AsSet() const;

    // A text or a set, counted: copies share it, since it is never changed in place.
    struct Block;
    struct TextBlock;
    struct SetBlock;
    void Release() noexcept;

    // 24 bytes on 64-bit: a model may hold one assigned value per node. m_kind (a Kind)
    // tells which member of the union holds the value; a value with a single tag keeps it
    // in m_tag.n.
    std::uint8_t m_kind = 0;
    bool m_plain = false;
    QV_ValueTag m_tag;
    union {
        int m_integer = 0;
        double m_real;
        Block* m_block;
    };
};
