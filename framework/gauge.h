// Gauge module records: what a module exports and how the host walks its gauges.
//
// A module exports two data records and nothing else: `ImportTable`, where the host
// leaves the address of its service table before anything in the module runs, and
// `Linkage`, the list of the module's gauges. Each gauge is a `GaugeHeader` (version 700)
// or a `GaugeHeader610` (the older generation, used by the radio altimeter).
#pragma once

#include <cstddef>
#include <cstdint>

using u32 = std::uint32_t;
using i32 = std::int32_t;
using f64 = double;
using f32 = float;

// The panel system's calling convention: stdcall on 32-bit Windows, the platform default
// elsewhere. Every routine the host calls and every host service uses it.
#if defined(_WIN32) && !defined(_WIN64)
#define GAUGE_CALL __stdcall
#else
#define GAUGE_CALL
#endif

// Marks the two records a module exports; every other symbol stays hidden.
#if defined(_WIN32)
#define GAUGE_EXPORT __declspec(dllexport)
#else
#define GAUGE_EXPORT __attribute__((visibility("default")))
#endif

// Pointer-sized fields hold addresses; everything else keeps 32 bits. The layout checks
// below each record spell sizes as 32-bit words plus the growth of those pointer fields.
inline constexpr std::size_t POINTER_GROWTH = sizeof(void*) - 4;
constexpr std::size_t record_size(std::size_t words, std::size_t pointer_fields) {
    return words * 4 + pointer_fields * POINTER_GROWTH;
}

#pragma pack(push, 4)

struct ElementHeader;
struct MouseRect;
struct PanelServices;
struct GaugeHeader;

using ModuleRoutine = void(GAUGE_CALL*)();
using QueryRoutine = u32(GAUGE_CALL*)();
using InstallRoutine = u32(GAUGE_CALL*)(u32 install_argument);
using InitializeRoutine = u32(GAUGE_CALL*)();
using UpdateRoutine = u32(GAUGE_CALL*)();
using GenerateRoutine = u32(GAUGE_CALL*)(u32 generate_argument);
using DrawRoutine = u32(GAUGE_CALL*)();
using KillRoutine = u32(GAUGE_CALL*)();
using GaugeCallback = void(GAUGE_CALL*)(GaugeHeader* header, u32 service, u32 extra);

inline constexpr u32 MODULE_ID = 0x13;
inline constexpr u32 IMPORT_PANEL_SERVICES_ID = 0x0F;
inline constexpr u32 GAUGE_VERSION_700 = 700;
inline constexpr u32 GAUGE_VERSION_610 = 610;

// Service codes handed to a gauge callback; every other code is ignored by the gauges.
inline constexpr u32 SERVICE_INSTALL = 2;
inline constexpr u32 SERVICE_UPDATE = 6;
inline constexpr u32 SERVICE_KILL = 12;

struct ImportEntry {
    u32 id;
    void* pointer;
};

// Entry 0 receives the host's `PanelServices` address; entry 1 ends the table.
struct ImportTableRecord {
    ImportEntry entries[2];
};

// The gauge list is NULL-terminated; the record has room for this many gauges.
inline constexpr std::size_t LINKAGE_GAUGE_SLOTS = 16;

struct LinkageRecord {
    u32 module_id;
    ModuleRoutine module_init;
    ModuleRoutine module_deinit;
    u32 reserved[3];
    GaugeHeader* gauges[LINKAGE_GAUGE_SLOTS];
};

// The seven lifecycle routines, in header order.
struct LifecycleRoutines {
    QueryRoutine query;
    InstallRoutine install;
    InitializeRoutine initialize;
    UpdateRoutine update;
    GenerateRoutine generate;
    DrawRoutine draw;
    KillRoutine kill;
};

struct GaugeHeader {
    u32 version;                 // 700
    const char* name;            // the name a panel places the gauge by
    ElementHeader** root_slot;   // one slot holding the root element; not a list
    LifecycleRoutines routines;
    u32 reserved_11;
    u32 default_size_mm;
    u32 host_13_20[8];
    MouseRect* mouse_areas;
    GaugeCallback callback;      // NULL when all behaviour lies in the elements
    u32 host_23_30[8];
};

// The older header: no mouse-area list and no callback; its own routines do that work.
struct GaugeHeader610 {
    u32 version;                 // 610
    const char* name;
    ElementHeader** root_slot;
    LifecycleRoutines routines;
    u32 reserved_11;
    u32 default_size_mm;
    u32 reserved_13_22[10];
};

#pragma pack(pop)

static_assert(sizeof(ImportTableRecord) == record_size(4, 2));
static_assert(sizeof(LinkageRecord) == record_size(6 + LINKAGE_GAUGE_SLOTS, 2 + LINKAGE_GAUGE_SLOTS));
static_assert(sizeof(GaugeHeader) == record_size(30, 11));
static_assert(sizeof(GaugeHeader610) == record_size(22, 9));
static_assert(offsetof(GaugeHeader, default_size_mm) == record_size(11, 9));
static_assert(offsetof(GaugeHeader, mouse_areas) == record_size(20, 9));
static_assert(offsetof(GaugeHeader, callback) == record_size(21, 10));
static_assert(offsetof(GaugeHeader610, default_size_mm) == offsetof(GaugeHeader, default_size_mm));
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(GaugeHeader) == 120 && sizeof(GaugeHeader610) == 88);
#endif

// The two exported records of the module being built. Each module defines `Linkage`;
// the framework defines `ImportTable`.
extern "C" GAUGE_EXPORT LinkageRecord Linkage;
extern "C" GAUGE_EXPORT ImportTableRecord ImportTable;

// The host's service table, as the host left it in `ImportTable`.
inline PanelServices* panel() {
    return static_cast<PanelServices*>(ImportTable.entries[0].pointer);
}

// The one set of version-700 lifecycle routines every module shares. Each hands the root
// element of the module's first gauge to the host, whichever gauge it is called for, and
// returns the host's result unchanged.
u32 GAUGE_CALL module_query();
u32 GAUGE_CALL module_install(u32 install_argument);
u32 GAUGE_CALL module_initialize();
u32 GAUGE_CALL module_update();
u32 GAUGE_CALL module_generate(u32 generate_argument);
u32 GAUGE_CALL module_draw();
u32 GAUGE_CALL module_kill();

inline constexpr LifecycleRoutines MODULE_LIFECYCLE = {
    module_query, module_install, module_initialize, module_update,
    module_generate, module_draw, module_kill,
};

// Module init and deinit: nothing to do in any module.
void GAUGE_CALL module_nothing();
