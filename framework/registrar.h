// Registration of a type's members with the host, in declaration order.
#pragma once

#include <type_traits>

#include <vuzizev/vuzizev.h>

namespace pellorin {

// The call a member gets right after its registration; none unless specialised (the port
// types that need one specialise it beside their declaration).
template <class Member>
struct RegistrationFollowUp {
    static void Apply(Member&) {}
};

// Registers members with one owner, each through the registration call of its class.
class Registrar {
public:
    explicit Registrar(QV_Container* owner) : m_owner(owner) {}

    template <class Member>
    Member& operator()(Member& member, const char* name, QV_Direction direction = QV_DirectionNone,
                       const char* description = nullptr) {
        auto* registered =
            static_cast<Member*>(RegisterMember(member, name, description, direction));
        RegistrationFollowUp<Member>::Apply(*registered);
        return *registered;
    }

private:
    // References register through their own flavours, everything else as a typed property.
    template <class Member>
    auto* RegisterMember(Member& member, const char* name, const char* description,
                         QV_Direction direction) {
        if constexpr (std::is_base_of_v<QV_ExternalBase, Member>) {
            return member.QV_ExternalBase::AddProperty(m_owner, name, description, direction,
                                                       false);
        } else if constexpr (std::is_base_of_v<QV_VirtualBase, Member>) {
            return member.QV_VirtualBase::AddProperty(m_owner, name, description, direction, false);
        } else {
            return member.QV_Type::AddProperty(m_owner, name, description, direction, false);
        }
    }

    QV_Container* m_owner;
};

} // namespace pellorin
