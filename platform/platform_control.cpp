// The platform library's shared state: call journal, failures on demand, clock, active
// window, message boxes and global memory blocks.
#include "platform_state.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <utility>

namespace platform {
namespace {

struct HostWindow {
    int unused;
};
HostWindow the_panel_window{};

struct State {
    std::vector<std::string> calls;
    std::map<std::string, unsigned> failing; // service name -> calls left until it fails
    std::vector<MessageRecord> messages;
    std::function<int(const MessageRecord&)> message_handler;
    HWND active_window = panel_window();
    bool manual_clock = true;
    double manual_seconds = 0.0;
    OpenObjects open;
    std::set<void*> global_blocks;
};

State& state() {
    static State instance;
    return instance;
}

const auto library_start = std::chrono::steady_clock::now();

} // namespace

namespace detail {

bool enter(const char* service) {
    State& s = state();
    s.calls.emplace_back(service);
    auto pending = s.failing.find(service);
    if (pending == s.failing.end()) return true;
    if (--pending->second > 0) return true;
    s.failing.erase(pending);
    return false;
}

OpenObjects& open_counts() { return state().open; }

double now() {
    const State& s = state();
    if (s.manual_clock) return s.manual_seconds;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - library_start).count();
}

} // namespace detail

void reset() {
    detail::discard_recording();
    State& s = state();
    s.calls.clear();
    s.failing.clear();
    s.messages.clear();
    s.message_handler = nullptr;
    s.active_window = panel_window();
    s.manual_clock = true;
    s.manual_seconds = 0.0;
}

void set_clock(double seconds) {
    State& s = state();
    s.manual_clock = true;
    s.manual_seconds = seconds;
}

void use_system_clock() { state().manual_clock = false; }
double clock_seconds() { return detail::now(); }

void fail_call(const std::string& name, unsigned occurrence) {
    if (occurrence == 0) return;
    state().failing[name] = occurrence;
}

std::vector<std::string> calls() { return state().calls; }
void clear_calls() { state().calls.clear(); }

HWND panel_window() { return reinterpret_cast<HWND>(&the_panel_window); }
void set_active_window(HWND window) { state().active_window = window; }

std::vector<MessageRecord> messages() { return state().messages; }
void clear_messages() { state().messages.clear(); }
void set_message_handler(std::function<int(const MessageRecord&)> handler) {
    state().message_handler = std::move(handler);
}

OpenObjects open_objects() { return state().open; }

} // namespace platform

using platform::detail::enter;

PLATFORM_API HWND GetActiveWindow() {
    if (!enter("GetActiveWindow")) return nullptr;
    return platform::state().active_window;
}

PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (!enter("MessageBoxA")) return 0;
    auto& s = platform::state();
    platform::MessageRecord record{owner, text != nullptr ? text : "", caption != nullptr ? caption : "Error", type};
    s.messages.push_back(record);
    return s.message_handler ? s.message_handler(record) : IDOK;
}

PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (!enter("GlobalAlloc")) return nullptr;
    if ((flags & ~GPTR) != 0) return nullptr; // only fixed blocks are supplied
    // A zero-byte request still gets a block of its own, as fixed blocks do.
    void* block = (flags & GMEM_ZEROINIT) != 0 ? std::calloc(bytes != 0 ? bytes : 1, 1)
                                               : std::malloc(bytes != 0 ? bytes : 1);
    if (block == nullptr) return nullptr;
    platform::state().global_blocks.insert(block);
    ++platform::state().open.global_blocks;
    return block;
}

PLATFORM_API HGLOBAL GlobalFree(HGLOBAL block) {
    const bool succeeds = enter("GlobalFree");
    auto& s = platform::state();
    if (block == nullptr) return nullptr;
    if (s.global_blocks.erase(block) == 0) return block; // not a block of ours
    std::free(block);
    --s.open.global_blocks;
    return succeeds ? nullptr : block;
}
