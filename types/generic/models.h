// The general-purpose model, stream and structure types.
#pragma once

#include "types/generic/ports.h"

class PELLORIN_API QV_GENERICMODEL : public QV_TypeFrame<QV_GENERICMODEL, QV_ModelTypeEx2> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_GENERICMODEL);
    QV_COMPONENTLISTNAME* ComponentList() override;

    QV_STRINGPARAMETER USERNOTES{true};
    QV_COMPONENTLISTNAME COMPONENTLIST;
    QV_CONTROLPORT INPUTSIGNAL{true, nullptr};
    QV_CONTROLPORT OUTPUTSIGNAL{true, nullptr};

private:
    friend QV_TypeFrame<QV_GENERICMODEL, QV_ModelTypeEx2>;
    void DeclareProperties(pellorin::Registrar& r);
    PELLORIN_LEVEL_WORDS;
};

class PELLORIN_API QV_GENERICSTREAM : public QV_TypeFrame<QV_GENERICSTREAM, QV_ModelTypeEx2> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_GENERICSTREAM);
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
    PELLORIN_LEVEL_WORDS;
};

class PELLORIN_API QV_GENERICSTRUCTURE
    : public QV_TypeFrame<QV_GENERICSTRUCTURE, QV_StructureTypeEx> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_GENERICSTRUCTURE);
    QV_COMPONENTLISTNAME* ComponentList() override;

    QV_STRINGPARAMETER USERNOTES{true};
    QV_COMPONENTLISTNAME COMPONENTLIST;

private:
    friend QV_TypeFrame<QV_GENERICSTRUCTURE, QV_StructureTypeEx>;
    void DeclareProperties(pellorin::Registrar& r);
    PELLORIN_LEVEL_WORDS;
};
