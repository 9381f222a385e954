#include "specify.h"

#include <vector>

#include "numbers.h"
#include "standin/host_access.h"

namespace vzt {
namespace {

// The members of a list written with commas or blanks between them.
std::vector<std::string> ListMembers(const std::string& text) {
    // The blanks of the C locale.
    const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    std::vector<std::string> members;
    for (std::size_t k = 0; k < text.size();) {
        if (text[k] == ',' || isBlank(text[k])) {
            ++k;
            continue;
        }
        const std::size_t start = k;
        while (k < text.size() && text[k] != ',' && !isBlank(text[k])) {
            ++k;
        }
        members.push_back(text.substr(start, k - start));
    }
    return members;
}

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// Whether the property took the value; says so in error when it did not.
bool Accepted(bool taken, const std::string& name, std::string& error) {
    if (!taken) {
        error = name + ": value refused";
    }
    return taken;
}

bool SpecifyInteger(QV_INTEGERPARAMETER& p, const std::string& name, const std::string& text,
                    std::string& error) {
    int value = 0;
    if (!ParseInteger(text, value)) {
        error = name + ": " + Quoted(text) + " is not an integer";
        return false;
    }
    if (const QV_Value* lower = p.QV_DefaultLOWER();
        lower != nullptr && value < vzt::AsInteger(*lower)) {
        error =
            name + ": " + text + " is below the lower bound " + IntegerText(vzt::AsInteger(*lower));
        return false;
    }
    return Accepted(vzt::Specify(p, QV_Value(value, 0u)), name, error);
}

bool SpecifyReal(QV_REALPARAMETER& p, const std::string& name, const std::string& text,
                 std::string& error) {
    double value = 0.0;
    if (!ParseReal(text, value)) {
        error = name + ": " + Quoted(text) + " is not a finite number";
        return false;
    }
    if (const QV_Value* lower = p.QV_DefaultLOWER();
        lower != nullptr && value < vzt::AsReal(*lower)) {
        error = name + ": " + text + " is below the lower bound";
        return false;
    }
    return Accepted(vzt::Specify(p, QV_Value(value, 0u)), name, error);
}

bool SpecifyString(QV_STRINGPARAMETER& p, const std::string& name, const std::string& text,
                   std::string& error) {
    if (const QV_Value* valid = p.QV_DefaultVALID();
        valid != nullptr && vzt::Kind(*valid) == vzt::ValueKind::Set) {
        const QV_SetValue& set = vzt::AsSet(*valid);
        bool found = false;
        std::string listed;
        for (std::size_t i = 0; i < set.Size(); ++i) {
            const char* member = set.String(int(i));
            found = found || SUValue::CompareCI(member, text.c_str()) == 0;
            listed += (i > 0 ? ", " : "") + std::string(member);
        }
        if (!found) {
            error = name + ": " + Quoted(text) + " is not one of " + listed;
            return false;
        }
    }
    return Accepted(vzt::Specify(p, QV_Value(text.c_str(), 0u)), name, error);
}

bool SpecifySet(QV_Set& p, const std::string& name, const std::string& text, std::string& error) {
    const std::vector<std::string> members = ListMembers(text);
    if (dynamic_cast<QV_STRINGSET*>(&p) != nullptr) {
        QV_StrSetValue set;
        for (const std::string& m : members) {
            set += m.c_str();
        }
        return Accepted(vzt::Specify(p, QV_Value(set, 0u)), name, error);
    }
    QV_SetValue set;
    set.ResetType(QV_SetTypeInteger);
    for (const std::string& m : members) {
        int value = 0;
        if (!ParseInteger(m, value)) {
            error = name + ": " + Quoted(m) + " is not an integer";
            return false;
        }
        set += value;
    }
    return Accepted(vzt::Specify(p, QV_Value(set, 0u)), name, error);
}

} // namespace

bool SpecifyFromText(QV_Containable& property, const std::string& text, std::string& error) {
    const std::string name = vzt::PropertyName(property);
    QV_Containable* target = &property;
    if (auto* named = dynamic_cast<QV_VirtualBase*>(&property)) {
        QV_Type* object = named->VirtualLink();
        if (object == nullptr) {
            error = name + ": the object it names cannot be made";
            return false;
        }
        target = object;
    }
    if (auto* p = dynamic_cast<QV_INTEGERPARAMETER*>(target)) {
        return SpecifyInteger(*p, name, text, error);
    }
    if (auto* p = dynamic_cast<QV_REALPARAMETER*>(target)) {
        return SpecifyReal(*p, name, text, error);
    }
    if (auto* p = dynamic_cast<QV_STRINGPARAMETER*>(target); p != nullptr && target == &property) {
        return SpecifyString(*p, name, text, error);
    }
    if (auto* p = dynamic_cast<QV_Set*>(target)) {
        return SpecifySet(*p, name, text, error);
    }
    error = name + ": takes no value";
    return false;
}

} // namespace vzt
