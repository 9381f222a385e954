// Reading a model's values through the host's interface, by property name, as the host would:
// without knowing the library's classes.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <vuzizev/vuzizev.h>

namespace vzhost {

// The property of that name, seen through a reference to the object it stands for.
QV_Containable* Resolved(const QV_Container& owner, const char* name);

int IntegerOf(const QV_Container& owner, const char* name);
double RealOf(const QV_Container& owner, const char* name);
std::string TextOf(const QV_Container& owner, const char* name);
std::vector<int> IntegerSetOf(const QV_Container& owner, const char* name);

// The array a property holds or names; null when there is none.
QV_Matrix* ArrayOf(const QV_Container& owner, const char* name);
// The elements of a one-dimensional integer-indexed array that exist, by index, in order.
std::map<int, QV_Type*> ElementsOf(const QV_Matrix& array);

// Everything a model's equations can name, with the names a reader knows them by:
// VALUE(3), DDX(0), XDOMAIN.SECTION(2).ELEMENTLENGTH.
class TermNames {
public:
    explicit TermNames(const QV_Container& model);
    std::string operator()(const QV_VarParam* term) const;

private:
    void Walk(const QV_Container& container, const std::string& prefix, int depth);
    std::map<const QV_Containable*, std::string> m_names;
};

} // namespace vzhost
