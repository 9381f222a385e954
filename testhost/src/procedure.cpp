// The host bases of a procedure: its buffers, counts and element list, the packing of
// arrays, the tracking of calls and the derivative blocks.
#include "vuzizev/procedure.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "procedure_control.h"
#include "vuzizev/properties.h"

namespace {

using vzt::detail::Log;

const char* YesNo(bool b) {
    return b ? "true" : "false";
}

// n values of T from the host's allocator, zeroed; null when n is not positive, does not
// fit, or the allocator fails.
template <class T>
T* Zeroed(std::int64_t n) {
    if (n <= 0 || std::uint64_t(n) > SIZE_MAX / sizeof(T)) {
        return nullptr;
    }
    void* p = MyAllocate(std::size_t(n) * sizeof(T));
    if (p != nullptr) {
        std::memset(p, 0, std::size_t(n) * sizeof(T));
    }
    return static_cast<T*>(p);
}

template <class T>
T* Duplicate(const T* source, std::int64_t n) {
    T* copy = source != nullptr ? Zeroed<T>(n) : nullptr;
    if (copy != nullptr) {
        std::memcpy(static_cast<void*>(copy), source, std::size_t(n) * sizeof(T));
    }
    return copy;
}

// The element product of dims sizes; 0 for a negative size or no dimensions.
std::int64_t ElementCount(int dims, const int* sizes) {
    if (dims <= 0 || sizes == nullptr) {
        return 0;
    }
    std::int64_t n = 1;
    for (int d = 0; d < dims; ++d) {
        if (sizes[d] < 0) {
            return 0;
        }
        n *= sizes[d];
        if (n > INT_MAX) {
            return 0;
        }
    }
    return n;
}

constexpr int kStringCell = 40;

} // namespace

// ---- Containables: solver status and component lists ----------------------------------

bool QV_Containable::IsSolverVariable() const {
    return m_solver == 1;
}

QV_Variable::~QV_Variable() = default;

// A variable is the solver's unless the user says otherwise.
bool QV_Variable::IsSolverVariable() const {
    return vzt::HostAccess::SolverSetting(*this) != 0;
}

void QV_COMPONENTLISTNAME::BeginPropertiesCall() {
    Log("BeginPropertiesCall");
}

void QV_COMPONENTLISTNAME::EndPropertiesCall() {
    Log("EndPropertiesCall");
}

// ---- ConstProcValue -------------------------------------------------------------------

ConstProcValue::ConstProcValue() = default;

ConstProcValue& ConstProcValue::operator=(int value) {
    m_kind = Kind::Integer;
    m_integer = value;
    return *this;
}

ConstProcValue& ConstProcValue::operator=(double value) {
    m_kind = Kind::Real;
    m_real = value;
    return *this;
}

ConstProcValue& ConstProcValue::operator=(const char* value) {
    m_kind = Kind::String;
    m_string = vzt::detail::KeepString(value);
    return *this;
}

int ConstProcValue::Integer() const {
    switch (m_kind) {
    case Kind::Integer:
        return m_integer;
    case Kind::Real:
        return vzt::AsInteger(QV_Value(m_real, 0u)); // truncated toward zero, saturating
    case Kind::String:
        return int(std::strtol(m_string, nullptr, 10));
    case Kind::None:
        break;
    }
    return 0;
}

double ConstProcValue::Real() const {
    switch (m_kind) {
    case Kind::Integer:
        return m_integer;
    case Kind::Real:
        return m_real;
    case Kind::String:
        return std::strtod(m_string, nullptr);
    case Kind::None:
        break;
    }
    return 0.0;
}

const char* ConstProcValue::String() const {
    if (m_kind == Kind::String) {
        return m_string;
    }
    if (m_kind == Kind::None) {
        return "";
    }
    const std::string text =
        m_kind == Kind::Integer ? std::to_string(m_integer) : std::to_string(m_real);
    return vzt::detail::KeepString(text.c_str());
}

// ---- QV_ProcedureType -----------------------------------------------------------------

// A copy has made no call of its own yet; its element list is its own, with the same
// entries (the elements are the host's and are shared).
QV_ProcedureType::QV_ProcedureType(const QV_ProcedureType& other) : QV_PtrVectorObject(other) {
    *this = other;
}

QV_ProcedureType& QV_ProcedureType::operator=(const QV_ProcedureType& other) {
    if (this == &other) {
        return *this;
    }
    QV_PtrVectorObject::operator=(other);
    m_lastCall = CallNone;
    m_routine = other.m_routine;
    m_routineInt = other.m_routineInt;
    m_routineReals = other.m_routineReals;
    m_routineInt2 = other.m_routineInt2;
    MyFree(m_ppElements);
    m_ppElements = Duplicate(other.m_ppElements, other.m_nElementCapacity);
    m_nElementCapacity = m_ppElements != nullptr ? other.m_nElementCapacity : 0;
    m_ppNextElement = m_ppElements;
    m_nInputListEntries = other.m_nInputListEntries;
    m_nOutputElements = other.m_nOutputElements;
    m_reservedFlag = other.m_reservedFlag;
    m_bCallNeeded = other.m_bCallNeeded;
    return *this;
}

QV_ProcedureType::~QV_ProcedureType() {
    MyFree(m_ppElements);
}

ULONG STDMETHODCALLTYPE QV_ProcedureType::AddRef() {
    return QV_PtrVectorObject::AddRef();
}

ULONG STDMETHODCALLTYPE QV_ProcedureType::Release() {
    return QV_PtrVectorObject::Release();
}

void QV_ProcedureType::SetMode(bool mode, int value) {
    Log("SetMode " + std::string(YesNo(mode)) + " " + std::to_string(value));
    if (vzt::Procedures().setModeThrows) {
        throw std::runtime_error("SetMode refused");
    }
    m_routineInt2 = value;
}

int QV_ProcedureType::TypeSize(int type) const {
    switch (type) {
    case 2:
    case 3:
        return 4;
    case 4:
        return 8;
    case 5:
        return kStringCell;
    default:
        return 0;
    }
}

bool QV_ProcedureType::LastCall(CallType type) const {
    const vzt::ProcedureSettings& s = vzt::Procedures();
    bool answer = false;
    if (s.forceLastCall) {
        answer = type != CallNone && type == s.forcedLastCall;
    } else {
        answer = type != CallNone && type == m_lastCall;
    }
    Log("LastCall " + std::to_string(int(type)) + " " + YesNo(answer));
    return answer;
}

bool QV_ProcedureType::AlwaysCall() {
    Log("AlwaysCall");
    return vzt::Procedures().alwaysCall;
}

bool QV_ProcedureType::PresetOutputs() const {
    Log("PresetOutputs");
    return vzt::Procedures().presetOutputs;
}

bool QV_ProcedureType::PostsetInputs() {
    Log("PostsetInputs");
    return vzt::Procedures().postsetInputs;
}

int QV_ProcedureType::EnsureCompatibleDLLLoaded(int level) {
    Log("EnsureCompatibleDLLLoaded " + std::to_string(level));
    QV_ExternalRoutine routine = nullptr;
    const char* library = DLLName();
    const char* name = ProcedureName();
    if (!vzt::detail::FindRoutine(library, name, routine)) {
        m_lastCall = CallNone;
        return -1;
    }
    m_routine = {library, name, routine};
    return 0;
}

QV_ExternalRoutine QV_ProcedureType::GetProcedure13Address(DLLFunction* handle) {
    Log("GetProcedure13Address");
    return handle != nullptr ? handle->address : nullptr;
}

int QV_ProcedureType::CheckIFailAndOutputs(int ifail, CallType type, bool flag) {
    Log("CheckIFailAndOutputs " + std::to_string(ifail) + " " + std::to_string(int(type)) + " " +
        YesNo(flag));
    vzt::detail::CountCheck(ifail);
    if (ifail == 0) {
        m_lastCall = type;
        return 0;
    }
    m_lastCall = CallNone;
    return ifail == INT_MIN || ifail > 0 ? -(ifail == INT_MIN ? INT_MAX : ifail) : ifail;
}

QV_IncrementalUpdate* QV_ProcedureType::UpdateController() {
    Log("UpdateController");
    return vzt::Procedures().updateController;
}

void QV_ProcedureType::Destroy() {
    delete this;
}

QV_COMPONENTLISTNAME* QV_ProcedureType::ComponentListName() const {
    static QV_COMPONENTLISTNAME list;
    Log("ComponentListName");
    return vzt::Procedures().componentList ? &list : nullptr;
}

int QV_ProcedureType::Precall(bool) {
    return 0;
}

int QV_ProcedureType::Postcall(bool) {
    return 0;
}

// The output elements are variables; null for any other entry.
QV_Variable* QV_ProcedureType::OutputVar(int k) const {
    if (m_ppElements == nullptr || k < 0 || k >= m_nOutputElements ||
        m_nInputListEntries + k >= m_nElementCapacity) {
        return nullptr;
    }
    return dynamic_cast<QV_Variable*>(m_ppElements[m_nInputListEntries + k]);
}

QV_VarParam* QV_ProcedureType::NextElement() {
    if (m_ppElements == nullptr || m_ppNextElement < m_ppElements ||
        m_ppNextElement >= m_ppElements + m_nElementCapacity) {
        return nullptr;
    }
    return *m_ppNextElement++;
}

// Takes n elements from the element cursor on; writes each value that differs from its
// place in dest, and then sets the call-needed flag. False when the list ran out.
template <class T, class Read>
bool QV_ProcedureType::PackArray(T* dest, int dims, const int* sizes, Read read) {
    const std::int64_t n = ElementCount(dims, sizes);
    for (std::int64_t k = 0; k < n; ++k) {
        QV_VarParam* element = NextElement();
        if (element == nullptr) {
            return false;
        }
        const T value = read(vzt::Current(*element));
        if (dest[k] != value) { // a NaN always differs; +0 and -0 do not
            dest[k] = value;
            m_bCallNeeded = true;
        }
    }
    return true;
}

bool QV_ProcedureType::PackIntegerArray(int* dest, int dims, const int* sizes) {
    Log("PackIntegerArray " + std::to_string(dims));
    return PackArray(dest, dims, sizes, [](const QV_Value& v) { return vzt::AsInteger(v); });
}

bool QV_ProcedureType::PackRealArray(double* dest, int dims, const int* sizes) {
    Log("PackRealArray " + std::to_string(dims));
    return PackArray(dest, dims, sizes, [](const QV_Value& v) { return vzt::AsReal(v); });
}

// ---- QV_ProcedureType_C ---------------------------------------------------------------

// A copy has buffers of its own with the same contents.
QV_ProcedureType_C::QV_ProcedureType_C() = default;

QV_ProcedureType_C::QV_ProcedureType_C(const QV_ProcedureType_C& other) : QV_ProcedureType(other) {
    CopyState(other);
}

QV_ProcedureType_C& QV_ProcedureType_C::operator=(const QV_ProcedureType_C& other) {
    if (this != &other) {
        QV_ProcedureType::operator=(other);
        FreeState();
        CopyState(other);
    }
    return *this;
}

QV_ProcedureType_C::~QV_ProcedureType_C() {
    FreeState();
}

void QV_ProcedureType_C::CopyState(const QV_ProcedureType_C& other) {
    m_nValueSlots = other.m_nValueSlots;
    m_pValues = Duplicate(other.m_pValues, m_nValueSlots);
    m_nInputColumns = other.m_nInputColumns;
    m_nSolverInputs = other.m_nSolverInputs;
    m_nOutputValues = other.m_nOutputValues;
    m_pRoutineDerivs = Duplicate(other.m_pRoutineDerivs, other.m_nNonZeros);
    m_pJacobianDerivs = Duplicate(other.m_pJacobianDerivs, other.m_nNonZeros);
    m_nNonZeros =
        m_pRoutineDerivs != nullptr && m_pJacobianDerivs != nullptr ? other.m_nNonZeros : 0;
}

void QV_ProcedureType_C::FreeState() {
    MyFree(m_pValues);
    MyFree(m_pRoutineDerivs);
    MyFree(m_pJacobianDerivs);
    m_pValues = nullptr;
    m_pRoutineDerivs = nullptr;
    m_pJacobianDerivs = nullptr;
    m_nValueSlots = 0;
    m_nNonZeros = 0;
}

bool QV_ProcedureType_C::IsFortran() const {
    Log("IsFortran");
    return vzt::Procedures().fortran;
}

int QV_ProcedureType_C::LanguageBaseIndex() const {
    return vzt::Procedures().languageBase;
}

void QV_ProcedureType_C::InitializeCStrings() {}

void QV_ProcedureType_C::HandleDerivatives(bool negate) {
    Log("HandleDerivatives " + std::string(YesNo(negate)) + " " +
        std::to_string(m_nInputListEntries) + " " + std::to_string(m_nInputColumns) + " " +
        std::to_string(m_nOutputElements) + " " + std::to_string(m_nSolverInputs));
    if (negate) {
        if (m_pRoutineDerivs != nullptr && m_pJacobianDerivs != nullptr) {
            for (int k = 0; k < m_nNonZeros; ++k) {
                m_pJacobianDerivs[k] = 0.0 - m_pRoutineDerivs[k]; // no -0 for a zero derivative
            }
        }
        return;
    }
    MyFree(m_pRoutineDerivs);
    MyFree(m_pJacobianDerivs);
    const std::int64_t n = std::int64_t(m_nOutputElements) * m_nInputColumns;
    m_pRoutineDerivs = Zeroed<double>(n);
    m_pJacobianDerivs = Zeroed<double>(n);
    if (m_pRoutineDerivs == nullptr || m_pJacobianDerivs == nullptr || n > INT_MAX) {
        MyFree(m_pRoutineDerivs);
        MyFree(m_pJacobianDerivs);
        m_pRoutineDerivs = nullptr;
        m_pJacobianDerivs = nullptr;
        m_nNonZeros = 0; // the procedure finds no block of its size and refuses to call
        return;
    }
    m_nNonZeros = int(n);
}

void QV_ProcedureType_C::FinalizeConstruction(int outputOffset, int slots) {
    Log("FinalizeConstruction " + std::to_string(outputOffset) + " " + std::to_string(slots));
    MyFree(m_pValues);
    MyFree(m_ppElements);
    m_pValues = Zeroed<double>(slots);
    m_nValueSlots = m_pValues != nullptr ? slots : 0;
    const std::int64_t entries = std::int64_t(m_nInputListEntries) + m_nOutputElements;
    m_ppElements = Zeroed<QV_VarParam*>(entries);
    m_nElementCapacity = m_ppElements != nullptr ? int(entries) : 0;
    m_ppNextElement = m_ppElements;
    m_nOutputValues = m_nOutputElements;
}

// Text into a cell, cut to the cell's width; false when it did not fit whole.
bool QV_ProcedureType_C::PackStr(char* dest, const char* value) {
    const char* text = value != nullptr ? value : "";
    const std::size_t length = std::strlen(text);
    char cell[kStringCell] = {};
    std::memcpy(cell, text, std::min(length, std::size_t(kStringCell)));
    if (std::memcmp(dest, cell, kStringCell) != 0) {
        std::memcpy(dest, cell, kStringCell);
        m_bCallNeeded = true;
    }
    return length <= std::size_t(kStringCell);
}

bool QV_ProcedureType_C::PackStringArray(char* dest, int dims, const int* sizes) {
    Log("PackStringArray " + std::to_string(dims));
    const std::int64_t n = ElementCount(dims, sizes);
    const std::size_t table = IsFortran() ? 0 : (std::size_t(n) * sizeof(char*) + 7) / 8 * 8;
    char** pointers = reinterpret_cast<char**>(dest);
    bool whole = true;
    for (std::int64_t k = 0; k < n; ++k) {
        QV_VarParam* element = NextElement();
        if (element == nullptr) {
            return false;
        }
        char* cell = dest + table + std::size_t(k) * kStringCell;
        whole = PackStr(cell, vzt::AsText(vzt::Current(*element))) && whole;
        if (table != 0) {
            pointers[k] = cell;
        }
    }
    return whole;
}

// What tests and the driver read of a procedure's value buffer.
namespace {
struct ValueBufferAccess : QV_ProcedureType_C {
    static const double* Values(const QV_ProcedureType_C& p) {
        return p.*(&ValueBufferAccess::m_pValues);
    }
    static int Slots(const QV_ProcedureType_C& p) { return p.*(&ValueBufferAccess::m_nValueSlots); }
};
} // namespace

namespace vzt {
const double* ProcedureValues(const QV_ProcedureType_C& procedure) {
    return ValueBufferAccess::Values(procedure);
}
int ProcedureValueSlots(const QV_ProcedureType_C& procedure) {
    return ValueBufferAccess::Slots(procedure);
}
} // namespace vzt

// ---- QV_DynamicProcExtensions ---------------------------------------------------------
// It holds nothing but its table of operations, which its constructors install.

QV_DynamicProcExtensions::QV_DynamicProcExtensions() = default;
QV_DynamicProcExtensions::QV_DynamicProcExtensions(const QV_DynamicProcExtensions&) = default;
QV_DynamicProcExtensions&
QV_DynamicProcExtensions::operator=(const QV_DynamicProcExtensions&) = default;

// ---- Equations ------------------------------------------------------------------------

QV_EquationType::~QV_EquationType() = default;

// The stand-in keeps only the equation's name: the model records its counter and group, and
// the procedure expression its procedure and call name.
QV_ProcedureEquationType::QV_ProcedureEquationType(QV_ProcedureType*, int, int, QV_Containable*,
                                                   const char*, int, int, const char* name)
    : m_name(name != nullptr ? name : "") {}

QV_ProcedureEquationType::~QV_ProcedureEquationType() = default;

const char* QV_ProcedureEquationType::Name() const {
    return m_name.c_str();
}
