// Reading a model's values through the host's interface, by property name, as the host would:
// without knowing the library's classes.
#pragma once

#include <cstdint>
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
//
// Properties are named one by one. An array element is named by its array's path and its
// own index text, which the host keeps in its array's store of names: the store's extents,
// one per run of an array's names, tell which array an element belongs to, so that the
// names of a model of millions of elements take memory by the store's blocks, not by the
// elements.
class TermNames {
public:
    explicit TermNames(const QV_Container& model);
    std::string operator()(const QV_VarParam* term) const;
    // Appends the name to text (the caller keeps one buffer for many names).
    void Append(std::string& text, const QV_VarParam* term) const;

private:
    // The addresses [first, last] of index texts of one array.
    struct Extent {
        std::uintptr_t first, last;
        std::size_t array;
    };

    void Walk(const QV_Container& container, const std::string& prefix, int depth);
    void IndexArrays();

    std::map<const QV_Containable*, std::string> m_names;
    std::vector<std::pair<const QV_Matrix*, std::string>> m_arrays;
    std::vector<Extent> m_extents; // sorted, disjoint
    mutable std::size_t m_lastExtent = 0;
};

} // namespace vzhost
