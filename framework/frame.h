// The frame every type object runs in: construction, declaration, sizing, assignments,
// equations and identity, once per class level. A type derives from
// QV_TypeFrame<itself, its base>, declares its operations with PELLORIN_TYPE_OPERATIONS, ends
// its class body with PELLORIN_LEVEL_WORDS and defines its operations with
// PELLORIN_TYPE_DEFINITIONS (all below): each operation is the type's own member, exported
// under the type's own name, and forwards to the frame's logic, which is written once. A type
// supplies only its own content through the hooks; a hook it does not define is empty.
//
// Hooks (each sees only its own class level):
//   void DeclareProperties(pellorin::Registrar&)   registrations, in declaration order
//   void BindArrays()                              binds array members to their index sets
//   bool RunAssignments(int a, int b)              index sets and assignments, both passes;
//                                                  false when they stopped at a failure
//   int  AddEquationInstances(int n)               SetUpEquations' instances; returns n,
//                                                  or a negative result on failure
//   int  AddEquationExpressions(int r, int*& rows, int*& cols)   JacPattern's; returns the
//                                                  running counter r as the host advanced it
//                                                  (r unchanged when the level has nothing)
#pragma once

#include <climits>
#include <cstdint>
#include <type_traits>

#include <vuzizev/vuzizev.h>

#include "framework/api.h"
#include "framework/identity.h"
#include "framework/registrar.h"

namespace pellorin {

// A class of this library (as opposed to a host base class).
template <class T>
concept LibraryType = requires {
    typename T::IsLibraryType;
};

// The first argument of ExecuteAssignments one class level down, without overflow.
constexpr int LowerLevel(int a) {
    return a == INT_MIN ? INT_MIN : a - 1;
}

// What ExecuteAssignments, SetUpEquations and JacPattern return when a level's own step
// could not finish.
inline constexpr int kStepFailed = -1;

// Whether a dereference found its object missing (Deref, checked.h) since the note was last
// taken.
inline bool missingObjectNoted = false;

inline bool TakeMissingObjectNote() {
    const bool noted = missingObjectNoted;
    missingObjectNoted = false;
    return noted;
}

// Runs one of a level's own steps; false when it ended by an exception (a container of the
// step that could not grow) or dereferenced a missing object. No exception leaves the library
// through the host's call: the host could not catch what another module's runtime throws.
template <class Step>
bool Contained(Step&& step) noexcept {
    TakeMissingObjectNote();
    try {
        step();
    } catch (...) {
        return false;
    }
    return !TakeMissingObjectNote();
}

} // namespace pellorin

template <class Self, class Base>
class PELLORIN_API QV_TypeFrame : public Base {
public:
    using IsLibraryType = void;
    using LevelBase = Base;

protected:
    using Frame = QV_TypeFrame;

    // Builds the base: a library base with construction switched off and the same parent,
    // a host base by its default constructor. The type's own constructor stores the parent
    // in its level's words.
    template <class B = Base>
    requires pellorin::LibraryType<B>
    explicit QV_TypeFrame(QV_Container* parent) : Base(false, parent) {}
    template <class B = Base>
    requires(!pellorin::LibraryType<B>) explicit QV_TypeFrame(QV_Container*) : Base() {}

    QV_TypeFrame(const QV_TypeFrame&) = delete;
    QV_TypeFrame& operator=(const QV_TypeFrame&) = default;
    ~QV_TypeFrame() override = default;

    // Registers this level's members (a derived type's base level first).
    void FrameConstruct() {
        if constexpr (pellorin::LibraryType<Base>) {
            Base::Construct();
        }
        pellorin::Registrar registrar(Owner());
        self().DeclareProperties(registrar);
    }

    void FrameSetDims() {
        self().BindArrays();
        Base::SetDims();
    }

    // The base's status, or a failure when this level's assignments could not finish.
    long FrameExecuteAssignments(int a, int b) {
        const long status = Base::ExecuteAssignments(pellorin::LowerLevel(a), b);
        bool finished = false;
        if (!pellorin::Contained([&] { finished = self().RunAssignments(a, b); }) || !finished) {
            return pellorin::kStepFailed;
        }
        return status;
    }

    // A negative base result is passed on before this level writes anything, and so is a
    // level that cannot register its equations.
    int FrameSetUpEquations() {
        int n = Base::SetUpEquations();
        if (n < 0) {
            return n;
        }
        self().m_groupBase = QV_ModelType::m_stLastGroup;
        self().m_localEqnCount = 0;
        const int start = n;
        if (!pellorin::Contained([&] { n = self().AddEquationInstances(n); })) {
            return pellorin::kStepFailed;
        }
        if (n < 0) {
            return n;
        }
        self().m_localEqnCount = n - start;
        return this->SetLocalEqnCount(n);
    }

    // The base's result is the running counter whatever its sign; this level's instances
    // advance it, and it is returned as they leave it, or a failure when they could not
    // finish (the entries already written stay counted).
    int FrameJacPattern(int*& rows, int*& cols, QV_EquationType** eqns) {
        this->ResetExpressions();
        const int counter = Base::JacPattern(rows, cols, eqns);
        const int* const rowsStart = rows;
        int result = pellorin::kStepFailed;
        if (!pellorin::Contained(
                [&] { result = self().AddEquationExpressions(counter, rows, cols); })) {
            result = pellorin::kStepFailed;
        }
        self().m_localNZCount = static_cast<int>(rows - rowsStart);
        return result;
    }

    bool FrameContainerDerivesFrom(const char* id) {
        if (pellorin::IdentityEquals(Self::QV_ContainerId(), id)) {
            return true;
        }
        if constexpr (pellorin::LibraryType<Base>) {
            return Base::ContainerDerivesFrom(id);
        } else {
            return false;
        }
    }

    // The owner of this level's registrations: the parent, or the object itself.
    QV_Container* Owner() { return self().m_parent != nullptr ? self().m_parent : this; }

    // Empty hooks; a type's own definitions hide them.
    void DeclareProperties(pellorin::Registrar&) {}
    void BindArrays() {}
    bool RunAssignments(int, int) { return true; }
    int AddEquationInstances(int n) { return n; }
    int AddEquationExpressions(int r, int*&, int*&) { return r; }

private:
    // This level as the type itself; its words are the type's own, not a base level's.
    Self& self() {
        static_assert(std::is_same_v<decltype(&Self::m_parent), QV_Container * Self::*>,
                      "a type ends its class body with PELLORIN_LEVEL_WORDS");
        return static_cast<Self&>(*this);
    }
};

// The four words that end every class level, after the level's own members: the last used
// group when this level's SetUpEquations ran, the equations it added there, the row entries
// it added in JacPattern, and the parent container given to the constructor.
#define PELLORIN_LEVEL_WORDS                                                                       \
public:                                                                                            \
    int m_groupBase = 0;                                                                           \
    int m_localEqnCount = 0;                                                                       \
    int m_localNZCount = 0;                                                                        \
    QV_Container* m_parent = nullptr

// The operations every type declares as its own members, in its class body.
#define PELLORIN_TYPE_OPERATIONS(TYPE)                                                             \
    explicit TYPE(bool construct = true, QV_Container* parent = nullptr);                          \
    TYPE& operator=(const TYPE& other);                                                            \
    ~TYPE() override;                                                                              \
    TYPE& operator*();                                                                             \
    static const char* QV_ContainerId();                                                           \
    void Construct();                                                                              \
    void SetDims() override;                                                                       \
    long ExecuteAssignments(int a, int b) override;                                                \
    long ExecuteAssignments0(int a, int b, long status);                                           \
    int SetUpEquations() override;                                                                 \
    int JacPattern(int*& rows, int*& cols, QV_EquationType** eqns) override;                       \
    int Residuals(double* values, int first, int count) override;                                  \
    int Jacobian(double* values, int first, int count) override;                                   \
    const char* QV_DefaultDESCRIPTION() const override;                                            \
    bool ContainerDerivesFrom(const char* id) override

// Their definitions, out of line in the type's source, for the type QV_<NAME> whose identity
// is "<KIND> <NAME>\tV10". Each forwards to the frame; none adds logic of its own.
#define PELLORIN_TYPE_DEFINITIONS(KIND, NAME)                                                      \
    QV_##NAME::QV_##NAME(bool construct, QV_Container* parent) : Frame(parent), m_parent(parent) { \
        if (construct) {                                                                           \
            Construct();                                                                           \
        }                                                                                          \
    }                                                                                              \
    /* the base part, then the members in declaration order, then the level's words */             \
    QV_##NAME& QV_##NAME::operator=(const QV_##NAME& other) = default;                             \
    QV_##NAME::~QV_##NAME() = default;                                                             \
    QV_##NAME& QV_##NAME::operator*() {                                                            \
        return *this;                                                                              \
    }                                                                                              \
    const char* QV_##NAME::QV_ContainerId() {                                                      \
        return #KIND " " #NAME "\tV10";                                                            \
    }                                                                                              \
    void QV_##NAME::Construct() {                                                                  \
        FrameConstruct();                                                                          \
    }                                                                                              \
    void QV_##NAME::SetDims() {                                                                    \
        FrameSetDims();                                                                            \
    }                                                                                              \
    long QV_##NAME::ExecuteAssignments(int a, int b) {                                             \
        return ExecuteAssignments0(a, b, 0);                                                       \
    }                                                                                              \
    long QV_##NAME::ExecuteAssignments0(int a, int b, long /*status: not read*/) {                 \
        return FrameExecuteAssignments(a, b);                                                      \
    }                                                                                              \
    int QV_##NAME::SetUpEquations() {                                                              \
        return FrameSetUpEquations();                                                              \
    }                                                                                              \
    int QV_##NAME::JacPattern(int*& rows, int*& cols, QV_EquationType** eqns) {                    \
        return FrameJacPattern(rows, cols, eqns);                                                  \
    }                                                                                              \
    int QV_##NAME::Residuals(double*, int, int) {                                                  \
        return 0;                                                                                  \
    }                                                                                              \
    int QV_##NAME::Jacobian(double*, int, int) {                                                   \
        return 0;                                                                                  \
    }                                                                                              \
    const char* QV_##NAME::QV_DefaultDESCRIPTION() const {                                         \
        return QV_ContainerId();                                                                   \
    }                                                                                              \
    bool QV_##NAME::ContainerDerivesFrom(const char* id) {                                         \
        return FrameContainerDerivesFrom(id);                                                      \
    }                                                                                              \
    static_assert(true, "a definitions block ends with a semicolon")
