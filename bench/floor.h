// The floor of the benches: what the two walks write, written without a walk, into memory
// mapped beforehand, window by window; and the clock the benches time with.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/mman.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include <standin/equations.h>

namespace walkbench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Memory mapped from the system for one window and given back to it when it goes, so that
// the first write to it meets pages never touched, as the walks' first write does (malloc
// might hand out pages it had kept). It maps a page at least: a model without equations has no
// window.
class Mapped {
public:
    explicit Mapped(std::size_t bytes)
        : m_bytes(std::max<std::size_t>(bytes, 1)),
          m_data(
              mmap(nullptr, m_bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) {
        if (m_data == MAP_FAILED) {
            std::abort();
        }
    }
    Mapped(const Mapped&) = delete;
    Mapped& operator=(const Mapped&) = delete;
    ~Mapped() { munmap(m_data, m_bytes); }
    char* data() { return static_cast<char*>(m_data); }

private:
    std::size_t m_bytes;
    void* m_data;
};

// Lays a window's arrays out one after another, each from a page of its own; without memory
// it only adds up the bytes they take.
class Layout {
public:
    explicit Layout(char* memory = nullptr) : m_memory(memory) {}
    template <class T>
    T* Take(std::size_t n) {
        T* array = m_memory == nullptr ? nullptr : reinterpret_cast<T*>(m_memory + m_used);
        m_used += (n * sizeof(T) + kPage - 1) / kPage * kPage;
        return array;
    }
    std::size_t Used() const { return m_used; }

private:
    static constexpr std::size_t kPage = 4096;
    char* m_memory;
    std::size_t m_used = 0;
};

// A run of consecutive instances or equations written together, and their incidence entries
// or tokens.
struct Window {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t firstItem = 0;
    std::size_t items = 0;
    std::size_t bytes = 0;
};

// What the floor writes for a window of instances: each one's group, where its incidence
// starts, and the incidence.
struct InstanceArrays {
    int* groups;
    std::uint32_t* starts;
    const QV_VarParam** incidence;
    InstanceArrays(Layout& layout, const Window& window)
        : groups(layout.Take<int>(window.last - window.first)),
          starts(layout.Take<std::uint32_t>(window.last - window.first)),
          incidence(layout.Take<const QV_VarParam*>(window.items)) {}
};

// What the floor writes for a window of equations: each one's name, group, number, where its
// tokens start, the tokens, and a row and a column entry per term (room for one a token).
struct EquationArrays {
    const char** names;
    int* groups;
    int* counters;
    std::uint32_t* tokenStarts;
    QV_Token* tokens;
    int* rows;
    int* cols;
    EquationArrays(Layout& layout, const Window& window)
        : names(layout.Take<const char*>(window.last - window.first)),
          groups(layout.Take<int>(window.last - window.first)),
          counters(layout.Take<int>(window.last - window.first)),
          tokenStarts(layout.Take<std::uint32_t>(window.last - window.first)),
          tokens(layout.Take<QV_Token>(window.items)), rows(layout.Take<int>(window.items)),
          cols(layout.Take<int>(window.items)) {}
};

// The floor: what the two walks write, written without a walk. Each instance's group and
// incidence, then each equation's name, group and number, its tokens, and a row and a column
// entry per term, copied from the host's store.
//
// It writes window by window, each window's arrays as large as kWindowBytes at most: far
// larger than the caches, so the writes stream as they would over whole arrays, yet the
// floor's memory stays bounded however large the model (a whole copy of the tokens alone
// would take 16 bytes a token, about 350 an instance).
class Floor {
public:
    static constexpr std::size_t kWindowBytes = std::size_t(128) << 20;

    explicit Floor(const QV_EquationStore& store, std::size_t windowBytes = kWindowBytes)
        : m_store(store) {
        m_instanceWindows =
            Cut<InstanceArrays>(store.InstanceCount(), windowBytes,
                                [&](std::size_t k) { return store.Instance(k).incidenceCount; });
        m_equationWindows =
            Cut<EquationArrays>(store.EquationCount(), windowBytes,
                                [&](std::size_t k) { return store.Equation(k).tokenCount; });
    }

    const std::vector<Window>& InstanceWindows() const { return m_instanceWindows; }
    const std::vector<Window>& EquationWindows() const { return m_equationWindows; }

    // Seconds to write everything, each window into fresh memory that is given back to the
    // system once written (untimed).
    double WriteFresh() const {
        return WriteWindows<InstanceArrays>(m_instanceWindows, nullptr) +
               WriteWindows<EquationArrays>(m_equationWindows, nullptr);
    }

    // Seconds to write everything again, every window into the same memory, touched already.
    double WriteAgain() const {
        std::size_t largest = 0;
        for (const auto* windows : {&m_instanceWindows, &m_equationWindows}) {
            for (const Window& window : *windows) {
                largest = std::max(largest, window.bytes);
            }
        }
        Mapped touched(largest);
        std::memset(touched.data(), 0, largest);
        return WriteWindows<InstanceArrays>(m_instanceWindows, &touched) +
               WriteWindows<EquationArrays>(m_equationWindows, &touched);
    }

private:
    template <class Arrays>
    static std::size_t Bytes(const Window& window) {
        Layout layout;
        Arrays(layout, window);
        return layout.Used();
    }

    // Cuts the first `count` instances or equations into windows of at most windowBytes (or
    // of one, where one alone takes more); items(k) is the k-th one's entries or tokens.
    template <class Arrays, class Items>
    static std::vector<Window> Cut(std::size_t count, std::size_t windowBytes, Items items) {
        std::vector<Window> windows;
        Window window;
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t n = items(k);
            Window grown = window;
            grown.last = k + 1;
            grown.items += n;
            if (grown.last - grown.first > 1 && Bytes<Arrays>(grown) > windowBytes) {
                windows.push_back(window);
                grown = Window{k, k + 1, window.firstItem + window.items, n};
            }
            window = grown;
        }
        if (window.last > window.first) {
            windows.push_back(window);
        }
        for (Window& w : windows) {
            w.bytes = Bytes<Arrays>(w);
        }
        return windows;
    }

    void Write(const InstanceArrays& arrays, const Window& window) const {
        std::size_t at = 0;
        for (std::size_t k = window.first; k < window.last; ++k) {
            const QV_InstanceView instance = m_store.Instance(k);
            arrays.groups[k - window.first] = instance.group;
            arrays.starts[k - window.first] = std::uint32_t(window.firstItem + at);
            for (std::size_t t = 0; t < instance.incidenceCount; ++t) {
                arrays.incidence[at++] = instance.incidence[t];
            }
        }
    }

    void Write(const EquationArrays& arrays, const Window& window) const {
        std::size_t at = 0;
        std::size_t entry = 0;
        for (std::size_t k = window.first; k < window.last; ++k) {
            const QV_EquationView equation = m_store.Equation(k);
            const std::size_t j = k - window.first;
            arrays.names[j] = equation.name;
            arrays.groups[j] = equation.group;
            arrays.counters[j] = equation.counter;
            arrays.tokenStarts[j] = std::uint32_t(window.firstItem + at);
            for (std::size_t t = 0; t < equation.tokenCount; ++t) {
                const QV_Token token = equation.tokens[t];
                arrays.tokens[at++] = token;
                if (token.kind == QV_Token::Kind::Term) {
                    arrays.rows[entry] = equation.counter - 1;
                    arrays.cols[entry++] = 0;
                }
            }
        }
    }

    // Writes each window into `reused`, or into fresh memory when there is none; only the
    // writes are timed.
    template <class Arrays>
    double WriteWindows(const std::vector<Window>& windows, Mapped* reused) const {
        double seconds = 0;
        for (const Window& window : windows) {
            std::optional<Mapped> fresh;
            Layout layout(reused != nullptr ? reused->data() : fresh.emplace(window.bytes).data());
            const Arrays arrays(layout, window);
            const Clock::time_point t0 = Clock::now();
            Write(arrays, window);
            benchmark::ClobberMemory();
            seconds += Seconds(t0, Clock::now());
        }
        return seconds;
    }

    const QV_EquationStore& m_store;
    std::vector<Window> m_instanceWindows;
    std::vector<Window> m_equationWindows;
};

} // namespace walkbench
