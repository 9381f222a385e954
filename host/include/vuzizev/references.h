// References to objects declared elsewhere: an external link, a string parameter that names
// its object, and a reference by name to a structure. The host links and resolves them;
// the type library adds the type of the object referred to.
#pragma once

#include "vuzizev/model.h"

// A reference to an object declared elsewhere in the model.
class VZ_API QV_ExternalBase : public QV_Containable {
public:
    explicit QV_ExternalBase(QV_Containable* link = nullptr);
    // A copy refers to the same object; it is not registered.
    QV_ExternalBase(const QV_ExternalBase& other);
    QV_ExternalBase& operator=(const QV_ExternalBase& other);
    ~QV_ExternalBase() override;

    // The linked object; null while the reference is not linked.
    QV_Containable* ExternalLink() const;
    // Registers this reference as the property `name` of owner; returns this reference.
    QV_ExternalBase* AddProperty(QV_Containable* owner, const char* name, const char* description,
                                 QV_Direction direction, bool flag);
    // The identity of the objects this reference may be linked to.
    virtual const char* ExternalTypeName() = 0;

private:
    friend class vzt::HostAccess; // links it
    QV_Containable* m_link;
};

// A string parameter whose value names the object that stands in for it.
class VZ_API QV_VirtualBase : public QV_STRINGPARAMETER {
public:
    explicit QV_VirtualBase(QV_Type* link = nullptr);
    QV_VirtualBase(const QV_VirtualBase&) = delete;
    // Takes the other's name and link; a default object this one owns is released.
    QV_VirtualBase& operator=(const QV_VirtualBase& other);
    // Releases the default object this reference owns, if any.
    ~QV_VirtualBase() override;

    // The object the name resolved to. The host resolves a reference that is not resolved
    // yet to a default object of its type, which it then owns; null when none can be made.
    QV_Type* VirtualLink() const;
    QV_Type* AddProperty(QV_Containable* owner, const char* name, const char* description,
                         QV_Direction direction, bool flag);
    // A new default object of the referred type (owned by the caller), or null.
    virtual QV_Type* NewDefaultVirtual() = 0;
    // The identity of the objects this reference may stand for.
    virtual const char* VirtualBaseType() = 0;

private:
    friend class vzt::HostAccess; // resolves it
    mutable QV_Type* m_link;
    mutable QV_Type* m_ownedDefault = nullptr;
};

// A reference by name to a structure object.
class VZ_API QV_GlobalStructureRefBase : public QV_STRINGPARAMETER {
public:
    explicit QV_GlobalStructureRefBase(QV_ModelType* link = nullptr);
    QV_GlobalStructureRefBase(const QV_GlobalStructureRefBase&) = delete;
    QV_GlobalStructureRefBase& operator=(const QV_GlobalStructureRefBase& other);
    ~QV_GlobalStructureRefBase() override;

    // The structure the name resolved to; null while unresolved.
    QV_ModelType* Dereference() const;
    // A placeholder structure (owned by the caller), or null.
    virtual QV_ModelType* CreateDummyInstance() = 0;
    // Whether the model is of a structure type this reference accepts.
    virtual bool CheckCompatibleStructureType(QV_ModelType* model) = 0;
    // Whether the name has resolved to a structure.
    virtual bool IsResolved() const;

private:
    friend class vzt::HostAccess; // links it
    QV_ModelType* m_link;
};

// The reference templates belong to the type library, which defines their instances; the
// host supplies these two itself.
template <class T>
class QV_External;
template <class T>
class QV_Virtual;

// A string parameter naming the real parameter that stands in for it.
template <>
class VZ_API QV_Virtual<QV_REALPARAMETER> : public QV_VirtualBase {
public:
    QV_Virtual();
    ~QV_Virtual() override;
    QV_Virtual& operator=(const QV_Virtual& other);
    QV_REALPARAMETER& operator*();
    QV_Type* NewDefaultVirtual() override;
    const char* VirtualBaseType() override;
};

// A link to an integer parameter declared elsewhere.
template <>
class VZ_API QV_External<QV_INTEGERPARAMETER> : public QV_ExternalBase {
public:
    QV_External();
    QV_External(const QV_External& other);
    ~QV_External() override;
    QV_External& operator=(const QV_External& other);
    QV_INTEGERPARAMETER& operator*();
    const char* ExternalTypeName() override;
};
