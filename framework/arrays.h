// Arrays of elements of one type T over one integer set (QV_ARRAY_I), one string set
// (QV_ARRAY_S), two or three integer sets (QV_ARRAY_II, QV_ARRAY_III). Both parameters are
// the element type. The base keeps the index sets and the element table; the array adds
// the typed element access and NewElement, through which every element comes into being.
// Every member is defined out of the class body, so that an explicit instantiation exports
// the instance whole.
#pragma once

#include <type_traits>

#include "framework/api.h"
#include "framework/checked.h"
#include "framework/defaults.h"
#include "framework/index_family.h"

// The four templates differ only in their base and their index parameters.
#define PELLORIN_ARRAY_TEMPLATE(NAME, BASE, PARAMS, ARGS)                                          \
    template <class T, class U = T>                                                                \
    class PELLORIN_API NAME : public BASE {                                                        \
        static_assert(std::is_same_v<T, U>, "both parameters are the element type");               \
                                                                                                   \
    public:                                                                                        \
        NAME();                                                                                    \
        NAME(const NAME& other);                                                                   \
        NAME& operator=(const NAME& other);                                                        \
        ~NAME() override;                                                                          \
                                                                                                   \
        NAME& operator*();                                                                         \
        NAME& v();                                                                                 \
                                                                                                   \
        /* The element at the index, made when missing; null when it cannot be made. */            \
        T* Get PARAMS;                                                                             \
        /* The element at the index; one that cannot be made fails the step (Deref). */            \
        T& operator() PARAMS;                                                                      \
                                                                                                   \
        /* A new element, not yet in the table; null when the allocator fails. */                  \
        QV_Type* NewElement() override;                                                            \
    };                                                                                             \
                                                                                                   \
    template <class T, class U>                                                                    \
    NAME<T, U>::NAME() {}                                                                          \
    template <class T, class U>                                                                    \
    NAME<T, U>::NAME(const NAME& other) : BASE(other) {}                                           \
    template <class T, class U>                                                                    \
    NAME<T, U>& NAME<T, U>::operator=(const NAME& other) {                                         \
        BASE::operator=(other);                                                                    \
        return *this;                                                                              \
    }                                                                                              \
    template <class T, class U>                                                                    \
    NAME<T, U>::~NAME() {}                                                                         \
    template <class T, class U>                                                                    \
    NAME<T, U>& NAME<T, U>::operator*() {                                                          \
        return *this;                                                                              \
    }                                                                                              \
    template <class T, class U>                                                                    \
    NAME<T, U>& NAME<T, U>::v() {                                                                  \
        return *this;                                                                              \
    }                                                                                              \
    template <class T, class U>                                                                    \
    T* NAME<T, U>::Get PARAMS {                                                                    \
        return static_cast<T*>(this->Find ARGS);                                                   \
    }                                                                                              \
    template <class T, class U>                                                                    \
    T& NAME<T, U>::operator() PARAMS {                                                             \
        return pellorin::Deref(Get ARGS);                                                          \
    }                                                                                              \
    template <class T, class U>                                                                    \
    QV_Type* NAME<T, U>::NewElement() {                                                            \
        return pellorin::MakeDefault<T>();                                                         \
    }

PELLORIN_ARRAY_TEMPLATE(QV_ARRAY_I, QV_BASE_I, (int i), (i))
PELLORIN_ARRAY_TEMPLATE(QV_ARRAY_S, QV_BASE_S, (const char* name), (name))
PELLORIN_ARRAY_TEMPLATE(QV_ARRAY_II, QV_BASE_II, (int i, int j), (i, j))
PELLORIN_ARRAY_TEMPLATE(QV_ARRAY_III, QV_BASE_III, (int i, int j, int k), (i, j, k))

#undef PELLORIN_ARRAY_TEMPLATE
