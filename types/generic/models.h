// The general-purpose model, stream and structure types.
#pragma once

#include "types/generic/ports.h"

class PELLORIN_API QV_GENERICMODEL : public QV_TypeFrame<QV_GENERICMODEL, QV_ModelTypeEx2> {
public:
    explicit QV_GENERICMODEL(bool construct = true, QV_Container* parent = nullptr);
    QV_GENERICMODEL& operator=(const QV_GENERICMODEL&) = default;
    ~QV_GENERICMODEL() override;
    static const char* QV_ContainerId();
    QV_COMPONENTLISTNAME* ComponentList() override;

    QV_STRINGPARAMETER USERNOTES{true};
    QV_COMPONENTLISTNAME COMPONENTLIST;
    QV_CONTROLPORT INPUTSIGNAL{true, nullptr};
    QV_CONTROLPORT OUTPUTSIGNAL{true, nullptr};

private:
    friend QV_TypeFrame<QV_GENERICMODEL, QV_ModelTypeEx2>;
    void DeclareProperties(pellorin::Registrar& r);
};

class PELLORIN_API QV_GENERICSTREAM : public QV_TypeFrame<QV_GENERICSTREAM, QV_ModelTypeEx2> {
public:
    explicit QV_GENERICSTREAM(bool construct = true, QV_Container* parent = nullptr);
    QV_GENERICSTREAM& operator=(const QV_GENERICSTREAM&) = default;
    ~QV_GENERICSTREAM() override;
    static const char* QV_ContainerId();
    QV_COMPONENTLISTNAME* ComponentList() override;

    QV_STRINGPARAMETER USERNOTES{true};
    QV_COMPONENTLISTNAME COMPONENTLIST;
    QV_CONTROLPORT QV_UNCONNECTABLEINPUT{true, nullptr};
    QV_CONTROLPORT QV_UNCONNECTABLEOUTPUT{true, nullptr};
    QV_CONTROLPORT INPUTSIGNAL{true, nullptr};
    QV_CONTROLPORT OUTPUTSIGNAL{true, nullptr};

private:
    friend QV_TypeFrame<QV_GENERICSTREAM, QV_ModelTypeEx2>;
    void DeclareProperties(pellorin::Registrar& r);
};

class PELLORIN_API QV_GENERICSTRUCTURE
    : public QV_TypeFrame<QV_GENERICSTRUCTURE, QV_StructureTypeEx> {
public:
    explicit QV_GENERICSTRUCTURE(bool construct = true, QV_Container* parent = nullptr);
    QV_GENERICSTRUCTURE& operator=(const QV_GENERICSTRUCTURE&) = default;
    ~QV_GENERICSTRUCTURE() override;
    static const char* QV_ContainerId();
    QV_COMPONENTLISTNAME* ComponentList() override;

    QV_STRINGPARAMETER USERNOTES{true};
    QV_COMPONENTLISTNAME COMPONENTLIST;

private:
    friend QV_TypeFrame<QV_GENERICSTRUCTURE, QV_StructureTypeEx>;
    void DeclareProperties(pellorin::Registrar& r);
};
