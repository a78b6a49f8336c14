// What the fixture module lets tests see of its own workings: an extra exported record
// (the fixture is no deliverable, so it may export more than the two records).
#pragma once

#include "gauge.h"

struct FixtureProbeRecord {
    u32 callback_calls;        // every gauge-callback call, any code
    u32 last_service;
    GaugeHeader* last_header;
    u32 update_services;       // SERVICE_UPDATE calls that acted
    u32 value_callback_calls;
    u32 mouse_calls[4];        // per mouse function
    u32 legacy_updates;
    u32 named_cell;            // published as "fixture_cell"
    f64 lights_seen;           // VAR_PANEL_LIGHTS as the last update saw it
    u32 sequence[16];          // order marks: 1 value callback, 2 gauge callback
    u32 sequence_length;
    u32 call_forbidden_slot;   // non-zero: the next update calls slot 30
    u32 readout_value;
};

#define FIXTURE_PROBE_SYMBOL "FixtureProbe"

extern "C" GAUGE_EXPORT FixtureProbeRecord FixtureProbe;
