#include "model_reader.h"

#include <sstream>

namespace vzhost {

QV_Containable* Resolved(const QV_Container& owner, const char* name) {
    QV_Containable* property = owner.FindProperty(name);
    if (auto* named = dynamic_cast<QV_VirtualBase*>(property)) {
        return named->VirtualLink();
    }
    if (auto* external = dynamic_cast<QV_ExternalBase*>(property)) {
        return external->ExternalLink();
    }
    return property;
}

int IntegerOf(const QV_Container& owner, const char* name) {
    const auto* p = dynamic_cast<const QV_INTEGERPARAMETER*>(Resolved(owner, name));
    return p != nullptr ? p->v() : 0;
}

double RealOf(const QV_Container& owner, const char* name) {
    const auto* p = dynamic_cast<const QV_REALPARAMETER*>(Resolved(owner, name));
    return p != nullptr ? p->v() : 0.0;
}

std::string TextOf(const QV_Container& owner, const char* name) {
    const auto* p = dynamic_cast<const QV_STRINGPARAMETER*>(Resolved(owner, name));
    return p != nullptr ? p->v() : "";
}

std::vector<int> IntegerSetOf(const QV_Container& owner, const char* name) {
    std::vector<int> members;
    if (const auto* set = dynamic_cast<const QV_Set*>(Resolved(owner, name))) {
        for (std::size_t i = 0; i < set->v().Size(); ++i) {
            members.push_back(set->v().Integer(int(i)));
        }
    }
    return members;
}

QV_Matrix* ArrayOf(const QV_Container& owner, const char* name) {
    return dynamic_cast<QV_Matrix*>(Resolved(owner, name));
}

std::map<int, QV_Type*> ElementsOf(const QV_Matrix& array) {
    std::map<int, QV_Type*> elements;
    if (array.Dimensions() != 1) {
        return elements;
    }
    const QV_SetValue& indices = array.IndexValues(0);
    for (std::size_t p = 0; p < indices.Size() && p < array.Elements().Size(); ++p) {
        if (QV_Type* element = array.Elements().At(p)) {
            elements[indices.Integer(int(p))] = element;
        }
    }
    return elements;
}

TermNames::TermNames(const QV_Container& model) {
    Walk(model, "", 0);
}

std::string TermNames::operator()(const QV_VarParam* term) const {
    const auto it = m_names.find(term);
    if (it != m_names.end()) {
        return it->second;
    }
    std::ostringstream unnamed;
    unnamed << "<" << static_cast<const void*>(term) << ">";
    return unnamed.str();
}

// Properties by name; references and arrays are followed, so that a term is named by the
// path from the model to it. Domains are followed one level down, not back.
void TermNames::Walk(const QV_Container& container, const std::string& prefix, int depth) {
    constexpr int kDeepest = 3;
    for (const QV_Containable* property : container.Properties()) {
        const std::string name = prefix + property->PropertyName();
        const QV_Containable* target = property;
        if (auto* named = dynamic_cast<const QV_VirtualBase*>(property)) {
            target = named->VirtualLink();
        } else if (auto* external = dynamic_cast<const QV_ExternalBase*>(property)) {
            target = external->ExternalLink();
        }
        if (target == nullptr) {
            continue;
        }
        if (!m_names.count(target)) {
            m_names[target] = name;
        }
        if (const auto* array = dynamic_cast<const QV_Matrix*>(target)) {
            for (std::size_t p = 0; p < array->Elements().Size(); ++p) {
                const QV_Type* element = array->Elements().At(p);
                if (element == nullptr) {
                    continue;
                }
                const std::string elementName = name + element->PropertyName();
                m_names.emplace(element, elementName);
                if (const auto* record = dynamic_cast<const QV_Container*>(element);
                    record != nullptr && depth < kDeepest) {
                    Walk(*record, elementName + ".", depth + 1);
                }
            }
        } else if (const auto* object = dynamic_cast<const QV_Container*>(target);
                   object != nullptr && target != property && depth < kDeepest) {
            Walk(*object, name + ".", depth + 1);
        }
    }
}

} // namespace vzhost
