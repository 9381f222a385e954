// The root of every host object: the component object model's interfaces and reference
// counting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "vuzizev/alloc.h"
#include "vuzizev/api.h"

// The component object model's IUnknown and IDispatch, slot for slot as the host implements
// them, declared here on every platform. Each name below is the one the platform gives the
// same type, so a source that also includes the platform's headers sees one type per name.
#ifndef STDMETHODCALLTYPE
#if defined(_WIN32)
#define STDMETHODCALLTYPE __stdcall
#else
#define STDMETHODCALLTYPE
#endif
#endif
using HRESULT = long;
using ULONG = unsigned long;
using UINT = unsigned int;
using LCID = unsigned long;
using DISPID = long;
using WORD = unsigned short;
struct _GUID;
using REFIID = const _GUID&;
struct ITypeInfo;
struct tagDISPPARAMS;
struct tagVARIANT;
struct tagEXCEPINFO;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

// Names are wide strings of 16-bit characters.
struct IDispatch : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, unsigned short** names, UINT count,
                                                    LCID locale, DISPID* ids) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                             tagDISPPARAMS* parameters, tagVARIANT* result,
                                             tagEXCEPINFO* exception, UINT* argumentError) = 0;
};

class QV_Container;

namespace vzt {
class HostAccess; // the stand-in's own view of what the host keeps
}

// The root of every host object: the host's implementation of the two interfaces (reference
// counting: objects start with no reference, the last Release destroys the object; no other
// interface and no automation), and the name under which the host lists the object.
class VZ_API QV_PtrVectorObject : public IDispatch {
public:
    QV_PtrVectorObject() = default;
    QV_PtrVectorObject(const QV_PtrVectorObject&) noexcept {}
    QV_PtrVectorObject& operator=(const QV_PtrVectorObject&) noexcept { return *this; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, unsigned short** names, UINT count,
                                            LCID locale, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     tagDISPPARAMS* parameters, tagVARIANT* result,
                                     tagEXCEPINFO* exception, UINT* argumentError) override;
    virtual ~QV_PtrVectorObject();
    virtual void Destroy();
    virtual const char* Name() const;

private:
    friend class vzt::HostAccess;
    // Four bytes on every target, so that a derived class's small members fill the rest of
    // the word after it.
    std::uint32_t m_refs = 0;
};

namespace vzt::detail {

// An enumeration kept in one byte: the host's enumerations here have small values.
template <class Enum>
class ByteEnum {
public:
    constexpr ByteEnum(Enum value) : m_value(static_cast<std::uint8_t>(value)) {}
    constexpr operator Enum() const { return static_cast<Enum>(m_value); }

private:
    std::uint8_t m_value;
};

} // namespace vzt::detail

// Anything that can stand in a container: a property, a reference or a type object.
class VZ_API QV_Containable : public QV_PtrVectorObject {
public:
    QV_Containable() = default;
    QV_Containable(const QV_Containable& other);
    QV_Containable& operator=(const QV_Containable& other);
    ~QV_Containable() override;

    // Whether the solver computes this value: real variables unless the host says otherwise.
    virtual bool IsSolverVariable() const;

protected:
    // Records this property in owner's property list; shared by the three flavours.
    // flavour: the stand-in's record of which registration call this is.
    void Register(int flavour, QV_Container* owner, const char* name, const char* description,
                  QV_Direction direction, bool flag);

private:
    friend class QV_Container;
    friend class QV_Matrix; // names the elements it makes
    friend class vzt::HostAccess;
    // Registration state, as the host keeps it for a registered property.
    const char* PropertyName() const;
    const char* PropertyDescription() const;
    QV_Container* Owner() const { return Has(kRegistered) ? m_registration->owner : nullptr; }
    void ForgetOwner();
    void NameAsElement(const char* index);
    // Names an element by its integer index values, whose text is made when first read;
    // false, with nothing changed, when they do not fit.
    bool NameByIndex(const std::int32_t* values, int count);

    bool Has(std::uint8_t bit) const { return (m_bits & bit) != 0; }
    void SetBit(std::uint8_t bit, bool on) {
        m_bits = static_cast<std::uint8_t>(on ? m_bits | bit : m_bits & ~bit);
    }
    void Unregister();

    // What registration gives a property, on its own block: the owner and the name and
    // description kept together ("name\0description\0") after it.
    struct Registration {
        QV_Container* owner;
        char* Text() { return reinterpret_cast<char*>(this + 1); }
    };

    // Every array element is one of these, so the small members come first: they sit in the
    // tail of the base, and an element of a parameter takes 32 bytes on 64-bit.
    static constexpr std::uint8_t kRegistered = 1;     // m_registration, not m_name
    static constexpr std::uint8_t kHasDescription = 2; // registered with a description
    static constexpr std::uint8_t kFlag = 4;           // the flag of the registration
    static constexpr std::uint8_t kOneIndex = 8;       // m_index holds one value
    static constexpr std::uint8_t kTwoIndices = 16;    // m_index holds two values
    static constexpr int kIndexCapacity = int(sizeof(void*) / sizeof(std::int32_t));
    signed char m_solver = -1; // -1: as the class has it
    std::uint8_t m_bits = 0;
    vzt::detail::ByteEnum<QV_Direction> m_direction = QV_DirectionNone;
    std::uint8_t m_flavour = 0;
    union {
        // An element's name lies in its array's store of names, which outlives it; an element
        // named by its index values keeps them in m_index until its name is first read.
        const char* m_name = "";
        Registration* m_registration;
        std::int32_t m_index[kIndexCapacity];
    };
};

// A host object with a type: properties, sets, arrays, ports and models.
class VZ_API QV_Type : public QV_Containable {
public:
    QV_Type() = default;
    QV_Type(const QV_Type&) = default;
    QV_Type& operator=(const QV_Type&) = default;
    ~QV_Type() override;

    // Registers this object as the property `name` of owner; returns this object.
    QV_Type* AddProperty(QV_Containable* owner, const char* name, const char* description,
                         QV_Direction direction, bool flag);

    // Takes a port, or an array of ports, out of the ports the host exports; nothing for any
    // other object.
    virtual void UnsetIsToBeExported();
};
