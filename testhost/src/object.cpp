#include "vuzizev/object.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

#include "control.h"
#include "element_names.h"
#include "vuzizev/model.h"

// ---- QV_PtrVectorObject
// ---------------------------------------------------------------------------

QV_PtrVectorObject::~QV_PtrVectorObject() = default;

void QV_PtrVectorObject::Destroy() {
    delete this;
}

const char* QV_PtrVectorObject::Name() const {
    return "";
}

namespace {

constexpr HRESULT kNoInterface = HRESULT(0x80004002UL);
constexpr HRESULT kNotImplemented = HRESULT(0x80004001UL);

} // namespace

// No object of the host's offers another interface or automation.
HRESULT STDMETHODCALLTYPE QV_PtrVectorObject::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return kNoInterface;
}
HRESULT STDMETHODCALLTYPE QV_PtrVectorObject::GetTypeInfoCount(UINT* count) {
    if (count != nullptr) {
        *count = 0;
    }
    return kNotImplemented;
}
HRESULT STDMETHODCALLTYPE QV_PtrVectorObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) {
        *info = nullptr;
    }
    return kNotImplemented;
}
HRESULT STDMETHODCALLTYPE QV_PtrVectorObject::GetIDsOfNames(REFIID, unsigned short**, UINT, LCID,
                                                            DISPID*) {
    return kNotImplemented;
}
HRESULT STDMETHODCALLTYPE QV_PtrVectorObject::Invoke(DISPID, REFIID, LCID, WORD, tagDISPPARAMS*,
                                                     tagVARIANT*, tagEXCEPINFO*, UINT*) {
    return kNotImplemented;
}

ULONG STDMETHODCALLTYPE QV_PtrVectorObject::AddRef() {
    ++m_refs;
    vzt::detail::Record({.kind = vzt::EventKind::AddRef, .object = this, .b = long(m_refs)});
    return m_refs;
}

ULONG STDMETHODCALLTYPE QV_PtrVectorObject::Release() {
    if (m_refs == 0) {
        // A release without a reference is a caller's fault; never destroy twice.
        vzt::detail::Record({.kind = vzt::EventKind::Release, .object = this, .b = -1});
        return 0;
    }
    const ULONG left = --m_refs;
    vzt::detail::Record({.kind = vzt::EventKind::Release, .object = this, .b = long(left)});
    if (left == 0) {
        delete this;
    }
    return left;
}

void vzt::detail::Destroy(QV_PtrVectorObject* object) {
    if (object == nullptr) {
        return;
    }
    void* whole = dynamic_cast<void*>(object);
    object->~QV_PtrVectorObject();
    MyFree(whole);
}

// ---- QV_Containable -----------------------------------------------------------------------

// A copy is a new, unregistered property: registration belongs to the object, not its value.
QV_Containable::QV_Containable(const QV_Containable& other) : QV_PtrVectorObject(other) {}

QV_Containable& QV_Containable::operator=(const QV_Containable& other) {
    QV_PtrVectorObject::operator=(other);
    return *this;
}

QV_Containable::~QV_Containable() {
    Unregister();
}

void QV_Containable::Unregister() {
    if (!Has(kRegistered)) {
        return;
    }
    if (m_registration->owner != nullptr) {
        m_registration->owner->RemoveRegisteredProperty(this);
    }
    std::free(m_registration);
    m_name = "";
    SetBit(kRegistered | kHasDescription, false);
}

void QV_Containable::ForgetOwner() {
    if (Has(kRegistered)) {
        m_registration->owner = nullptr;
    }
}

void QV_Containable::NameAsElement(const char* index) {
    Unregister();
    SetBit(kOneIndex | kTwoIndices, false);
    m_name = index;
}

bool QV_Containable::NameByIndex(const std::int32_t* values, int count) {
    if (count < 1 || count > kIndexCapacity || count > 2) {
        return false;
    }
    Unregister();
    std::copy(values, values + count, m_index);
    SetBit(kOneIndex, count == 1);
    SetBit(kTwoIndices, count == 2);
    return true;
}

// An element named by its index values gets its text now, once: the text stays where it is
// for as long as the element lives.
const char* QV_Containable::PropertyName() const {
    if (Has(kRegistered)) {
        return m_registration->Text();
    }
    if (Has(kOneIndex | kTwoIndices)) {
        const int count = Has(kTwoIndices) ? 2 : 1;
        std::int32_t values[kIndexCapacity];
        std::copy(m_index, m_index + kIndexCapacity, values);
        auto& self = const_cast<QV_Containable&>(*this);
        self.SetBit(kOneIndex | kTwoIndices, false);
        self.m_name = vzt::detail::KeepIndexName(values, count);
    }
    return m_name;
}

const char* QV_Containable::PropertyDescription() const {
    if (!Has(kHasDescription)) {
        return nullptr;
    }
    const char* name = m_registration->Text();
    return name + std::strlen(name) + 1;
}

void QV_Containable::Register(int flavour, QV_Container* owner, const char* name,
                              const char* description, QV_Direction direction, bool flag) {
    const std::string_view ownName = name != nullptr ? name : "";
    const std::string_view ownDescription = description != nullptr ? description : "";
    auto* registration = static_cast<Registration*>(
        std::malloc(sizeof(Registration) + ownName.size() + ownDescription.size() + 2));
    if (registration == nullptr) {
        vzt::detail::CountFailedAllocation(); // the property stays as it was
        return;
    }
    registration->owner = owner;
    char* text = registration->Text();
    std::memcpy(text, ownName.data(), ownName.size());
    text[ownName.size()] = '\0';
    std::memcpy(text + ownName.size() + 1, ownDescription.data(), ownDescription.size());
    text[ownName.size() + 1 + ownDescription.size()] = '\0';
    Unregister(); // only now: name or description may lie in the text it frees
    SetBit(kOneIndex | kTwoIndices, false);
    m_registration = registration;
    SetBit(kRegistered, true);
    SetBit(kHasDescription, description != nullptr);
    SetBit(kFlag, flag);
    m_flavour = static_cast<std::uint8_t>(flavour);
    m_direction = direction;
    if (owner != nullptr) {
        owner->AddRegisteredProperty(this);
    }
    vzt::detail::Record({.kind = vzt::EventKind::AddProperty,
                         .object = this,
                         .owner = owner,
                         .name = text,
                         .description = description != nullptr ? PropertyDescription() : "",
                         .hasDescription = description != nullptr,
                         .flavour = QV_RegistrationFlavour(flavour),
                         .direction = int(direction),
                         .flag = flag});
}

// ---- QV_Type ------------------------------------------------------------------------------

QV_Type::~QV_Type() = default;

QV_Type* QV_Type::AddProperty(QV_Containable* owner, const char* name, const char* description,
                              QV_Direction direction, bool flag) {
    Register(int(QV_RegistrationFlavour::Type), dynamic_cast<QV_Container*>(owner), name,
             description, direction, flag);
    return this;
}

void QV_Type::UnsetIsToBeExported() {}
