#include "tests/distribution/assignments.h"
#include "standin/host_access.h"

namespace testsupport {
namespace {

std::string Runs(const QV_SetValue& set) {
    if (set.IsEmpty()) {
        return "-";
    }
    std::string out;
    for (std::size_t k = 0; k < set.Size();) {
        const int first = set.Integer(int(k));
        std::size_t end = k + 1;
        while (end < set.Size() && set.Integer(int(end)) == first + int(end - k)) {
            ++end;
        }
        const int last = set.Integer(int(end - 1));
        out += (out.empty() ? "" : ",") + std::to_string(first) +
               (last != first ? "-" + std::to_string(last) : "");
        k = end;
    }
    return out;
}

} // namespace

std::string Assignments(const QV_Container& container, int b, int a) {
    std::string out;
    for (const QV_Containable* property : vzt::Properties(container)) {
        const auto* assigned = dynamic_cast<const QV_VarParamProp*>(property);
        if (assigned == nullptr || vzt::Tag(vzt::LastAssignment(*assigned)).n == 0) {
            continue;
        }
        const QV_ValueTag& tag = vzt::Tag(vzt::LastAssignment(*assigned));
        out += (out.empty() ? "" : " ") + std::string(vzt::PropertyName(*property));
        if (const auto* set = dynamic_cast<const QV_Set*>(property);
            set && !set->v().IsStringSet()) {
            out += "=" + Runs(set->v());
        }
        out += "#" + std::to_string(tag.n);
        if (tag.b != b || tag.a != a) {
            out += "(" + std::to_string(tag.b) + "," + std::to_string(tag.a) + ")";
        }
    }
    return out;
}

std::string Bindings(const QV_Container& distribution,
                     const std::vector<std::pair<std::string, const QV_Container*>>& owners) {
    std::string out;
    for (const QV_Containable* property : vzt::Properties(distribution)) {
        const auto* array = dynamic_cast<const QV_Matrix*>(property);
        if (const auto* reference = dynamic_cast<const QV_VirtualBase*>(property)) {
            array = dynamic_cast<const QV_Matrix*>(reference->VirtualLink());
        }
        if (array == nullptr) {
            continue;
        }
        out += (out.empty() ? "" : "; ") + std::string(vzt::PropertyName(*property)) + ":";
        for (int k = 0; k < array->Dimensions(); ++k) {
            const QV_Set* set = vzt::DeclaredSet(*array, k);
            std::string name = set == nullptr ? "-" : "?";
            for (const auto& [prefix, owner] : owners) {
                for (const QV_Containable* candidate : vzt::Properties(*owner)) {
                    if (candidate == set) {
                        name = prefix + vzt::PropertyName(*candidate);
                    }
                }
            }
            out += " " + name;
        }
    }
    return out;
}

} // namespace testsupport
