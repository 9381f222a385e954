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

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <oaidl.h>
#else
// The component object model's IUnknown and IDispatch, slot for slot as Windows declares them.
using HRESULT = long;
using ULONG = unsigned long;
using UINT = unsigned int;
using LCID = unsigned long;
using DISPID = long;
using WORD = unsigned short;
using LPOLESTR = wchar_t*;
struct _GUID;
using REFIID = const _GUID&;
struct ITypeInfo;
struct tagDISPPARAMS;
struct tagVARIANT;
struct tagEXCEPINFO;
using DISPPARAMS = tagDISPPARAMS;
using VARIANT = tagVARIANT;
using EXCEPINFO = tagEXCEPINFO;
#define STDMETHODCALLTYPE

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

struct IDispatch : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count,
                                                    LCID locale, DISPID* ids) = 0;
    virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                             DISPPARAMS* parameters, VARIANT* result,
                                             EXCEPINFO* exception, UINT* argumentError) = 0;
};
#endif

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
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;
    virtual ~QV_PtrVectorObject();
    virtual void Destroy();
    virtual const char* Name() const;

private:
    friend class vzt::HostAccess;
    ULONG m_refs = 0;
};

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
    void Register(QV_RegistrationFlavour flavour, QV_Container* owner, const char* name,
                  const char* description, QV_Direction direction, bool flag);

private:
    friend class QV_Container;
    friend class QV_Matrix; // names the elements it makes
    friend class vzt::HostAccess;
    // Registration state, as the host keeps it for a registered property.
    const char* PropertyName() const { return m_name; }
    const char* PropertyDescription() const;
    void ForgetOwner() { m_owner = nullptr; }
    // An array element's name lies in its array's store of names, which outlives it.
    void NameAsElement(const char* index) { m_name = index; }

    // A registered property's name and description, kept together ("name\0description\0");
    // an element has none of its own.
    const char* m_name = "";
    char* m_text = nullptr;
    bool m_hasDescription = false;
    bool m_flag = false;
    QV_Direction m_direction = QV_DirectionNone;
    QV_RegistrationFlavour m_flavour = QV_RegistrationFlavour::None;
    QV_Container* m_owner = nullptr;
    signed char m_solver = -1; // -1: as the class has it
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

    virtual const char* QV_DefaultDESCRIPTION() const;
    virtual bool ContainerDerivesFrom(const char* id);
};
