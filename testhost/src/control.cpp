#include "control.h"

#include <utility>

#include "standin/procedure_testing.h"
#include "vuzizev/model.h"

namespace vzt {
namespace {

struct HostState {
    BaseResults base;
    bool journalOn = false;
    std::vector<Event> journal;
};

HostState& State() {
    static HostState state;
    return state;
}

} // namespace

BaseResults& Base() {
    return State().base;
}

void EnableJournal(bool on) {
    State().journalOn = on;
}
const std::vector<Event>& Journal() {
    return State().journal;
}
void ClearJournal() {
    State().journal.clear();
}

void Reset() {
    State().journal.clear();
    State().base = BaseResults{};
    FailAllocation(0);
    FailAllAllocations(false);
    detail::ForgetForeignFrees();
    QV_ModelType::m_stLastGroup = 0;
    ResetProcedures();
    ClearSecondValues();
}

namespace detail {

bool JournalOn() {
    return State().journalOn;
}

void Record(Event event) {
    if (State().journalOn) {
        State().journal.push_back(std::move(event));
    }
}

} // namespace detail
} // namespace vzt
