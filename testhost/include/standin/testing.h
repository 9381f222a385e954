// Observation and control of the stand-in host, for tests and the driver. The type
// library never includes this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "standin/equations.h"
#include "standin/host_access.h"
#include "vuzizev/alloc.h"
#include "vuzizev/api.h"

class QV_Containable;
class QV_Value;
class QV_VarParamProp;

namespace vzt {

// ---- Allocator -------------------------------------------------------------------------

struct AllocatorStats {
    std::size_t liveBlocks = 0;
    std::size_t liveBytes = 0;
    std::size_t totalAllocations = 0; // MyAllocate's calls, those that failed among them
    // Failed calls of MyAllocate, and failures of the host's own storage (a set or a table
    // that cannot be held).
    std::size_t failedAllocations = 0;
    // Frees of blocks the allocator did not hand out (the runtime's heap takes them back).
    std::size_t foreignFrees = 0;
    std::size_t slabBytes = 0; // mapped for small blocks, outside the runtime's heap
};

VZ_API AllocatorStats Allocator();
// Makes the k-th allocation from now fail (k = 1: the next one); 0 switches it off.
VZ_API void FailAllocation(std::size_t k);
// Makes every allocation from now fail, or none.
VZ_API void FailAllAllocations(bool fail);

// Releases an array: through MyFree's books when MyAllocate gave the block, to the runtime's
// array release otherwise. The release functions of the host and of the test programs use it.
VZ_API void ReleaseArray(void* block);

// A new T in memory from the host's allocator, as the host and the library make the objects
// they hand to each other; null, with nothing constructed, when the allocator fails.
template <class T, class... Args>
T* New(Args&&... args) {
    void* block = MyAllocate(sizeof(T));
    if (block == nullptr) {
        return nullptr;
    }
    try {
        return ::new (block) T(std::forward<Args>(args)...);
    } catch (...) {
        MyFree(block);
        throw;
    }
}

// ---- Sets ------------------------------------------------------------------------------

// Entries (runs or members) that the host's integer set operations have copied or moved
// since the process started: the work of building and changing sets, which a set built piece
// by piece keeps linear in its pieces.
VZ_API std::size_t SetEntriesCopied();

// ---- Base steps ------------------------------------------------------------------------

// What the host's base steps return; tests set them to prove the library passes them on.
struct BaseResults {
    long executeAssignments = 0;
    int setUpEquations = 0;
    int jacPattern = 0;
    int localEqnCountOffset = 0; // SetLocalEqnCount(n) returns n + offset
};
VZ_API BaseResults& Base();

// ---- The two value accessors ---------------------------------------------------------

// v() and fv() answer alike until a test sets them apart. From then on fv() of property
// answers value while v() keeps answering the property's own value in force (the property
// must outlive the setting or be cleared first); and fv() of an integer-set iterator answers
// its current value plus shift.
VZ_API void SetSecondValue(const QV_VarParamProp& property, const QV_Value& value);
VZ_API void SetIteratorSecondShift(int shift);
VZ_API void ClearSecondValues();

// ---- Journal ---------------------------------------------------------------------------

enum class EventKind {
    AddRef,
    Release,
    AddProperty,
    UnsetIsToBeExported,
    HostPortType,
    ContainerSetDims,
    ContainerExecuteAssignments,
    ModelSetUpEquations,
    SetLocalEqnCount,
    ModelJacPattern,
    ResetExpressions,
    Assign,
    InitialiseInternalIndexSet, // object: the set; owner: the container; a: pass; b: N
    AddDependent,               // object: the set; owner: the array
    CancelDependence,           // object: the array
    AddElement,                 // object: the array; owner: the element; name: index; a: position
    SetDirection,               // object: the array; a: direction
    DumpStructure,
    ReadIndex, // a text index read into the host's buffer; a: its length (-1: not a whole index)
};

struct Event {
    EventKind kind;
    const void* object = nullptr; // the object the call was made on
    const void* owner = nullptr;  // AddProperty: the owner
    std::string name{};           // AddProperty: the name; Member*: the host class
    std::string description{};    // AddProperty
    bool hasDescription = false;  // AddProperty
    QV_RegistrationFlavour flavour = QV_RegistrationFlavour::None;
    int direction = 0; // AddProperty
    bool flag = false; // AddProperty
    long a = 0;        // ExecuteAssignments: a; SetLocalEqnCount: n; HostPortType: type
    long b = 0;        // ExecuteAssignments: b; AddRef/Release: the new count
};

// Events are recorded only while the journal is on.
VZ_API void EnableJournal(bool on);
VZ_API const std::vector<Event>& Journal();
VZ_API void ClearJournal();

// Clears the journal, the allocator's failure settings, the base results, the last used
// group number and the accessors' second values. The allocator's live-block accounting is kept.
VZ_API void Reset();

} // namespace vzt
