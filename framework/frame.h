// The frame every type object runs in: construction, declaration, sizing, assignments,
// equations and identity, once per class level. A type derives from
// QV_TypeFrame<itself, its base> and supplies only its own content through the hooks
// below; a hook it does not define is empty.
//
// Hooks (each sees only its own class level):
//   void DeclareProperties(pellorin::Registrar&)   registrations, in declaration order
//   void BindArrays()                              binds array members to their index sets
//   void RunAssignments(int a, int b)              index sets and assignments, both passes
//   int  AddEquationInstances(int n)               SetUpEquations' instances; returns n,
//                                                  or a negative result on failure
//   int  AddEquationExpressions(int r, int*& rows, int*& cols)   JacPattern's; returns r,
//                                                  or a negative result on failure
#pragma once

#include <climits>
#include <cstdint>

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

} // namespace pellorin

template <class Self, class Base>
class PELLORIN_API QV_TypeFrame : public Base {
public:
    using IsLibraryType = void;

    // Builds the base: a library base with construction switched off and the same parent,
    // a host base by its default constructor. Templates, so that an explicit instantiation of
    // the frame instantiates only the one that fits its base.
    template <class B = Base>
    requires pellorin::LibraryType<B>
    explicit QV_TypeFrame(QV_Container* parent) : Base(false, parent), m_parent(parent) {}
    template <class B = Base>
    requires(!pellorin::LibraryType<B>) explicit QV_TypeFrame(QV_Container* parent)
        : Base(), m_parent(parent) {}

    QV_TypeFrame(const QV_TypeFrame&) = delete;
    QV_TypeFrame& operator=(const QV_TypeFrame&) = default;
    ~QV_TypeFrame() override = default;

    // Registers this level's members (a derived type's base level first).
    void Construct() {
        if constexpr (pellorin::LibraryType<Base>) {
            Base::Construct();
        }
        pellorin::Registrar registrar(Owner());
        self().DeclareProperties(registrar);
    }

    void SetDims() override {
        self().BindArrays();
        Base::SetDims();
    }

    long ExecuteAssignments(int a, int b) override { return ExecuteAssignments0(a, b, 0); }

    long ExecuteAssignments0(int a, int b, long /*status*/) {
        const long status = Base::ExecuteAssignments(pellorin::LowerLevel(a), b);
        self().RunAssignments(a, b);
        return status;
    }

    int SetUpEquations() override {
        int n = Base::SetUpEquations();
        if (n < 0) {
            return n;
        }
        m_groupBase = QV_ModelType::m_stLastGroup;
        m_localEqnCount = 0;
        const int start = n;
        n = self().AddEquationInstances(n);
        if (n < 0) {
            return n; // this level could not register its equations
        }
        m_localEqnCount = n - start;
        return this->SetLocalEqnCount(n);
    }

    int JacPattern(int*& rows, int*& cols, QV_EquationType** eqns) override {
        this->ResetExpressions();
        int r = Base::JacPattern(rows, cols, eqns);
        if (r < 0) {
            m_localNZCount = 0;
            return r; // the base level failed: nothing of this level is registered
        }
        const int* const rowsStart = rows;
        r = self().AddEquationExpressions(r, rows, cols);
        m_localNZCount = static_cast<int>(rows - rowsStart);
        return r;
    }

    int Residuals(double*, int, int) override { return 0; }
    int Jacobian(double*, int, int) override { return 0; }

    const char* QV_DefaultDESCRIPTION() const override { return Self::QV_ContainerId(); }

    bool ContainerDerivesFrom(const char* id) override {
        if (pellorin::IdentityEquals(Self::QV_ContainerId(), id)) {
            return true;
        }
        if constexpr (pellorin::LibraryType<Base>) {
            return Base::ContainerDerivesFrom(id);
        } else {
            return false;
        }
    }

    Self& operator*() { return self(); }

    // This level's bookkeeping.
    int m_groupBase = 0;     // the last used group when this level's SetUpEquations ran
    int m_localEqnCount = 0; // equations this level added in SetUpEquations
    int m_localNZCount = 0;  // row entries this level added in JacPattern
    QV_Container* m_parent;  // the parent container given to the constructor

protected:
    // The owner of this level's registrations: the parent, or the object itself.
    QV_Container* Owner() { return m_parent != nullptr ? m_parent : this; }

    // Empty hooks; a type's own definitions hide them.
    void DeclareProperties(pellorin::Registrar&) {}
    void BindArrays() {}
    void RunAssignments(int, int) {}
    int AddEquationInstances(int n) { return n; }
    int AddEquationExpressions(int r, int*&, int*&) { return r; }

private:
    Self& self() { return static_cast<Self&>(*this); }
};
