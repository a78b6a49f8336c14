// Tests over the fixture module, with its probe record cleared before each test.
#pragma once

#include "fixture_probe.h"
#include "host_fixture.h"

#include <cstring>

struct FixtureTest : HostTest {
    host::LoadedModule& module = panel.load_module(module_path("Fixture"));
    FixtureProbeRecord& probe = *static_cast<FixtureProbeRecord*>(module.file->symbol(FIXTURE_PROBE_SYMBOL));

    void SetUp() override { std::memset(&probe, 0, sizeof probe); }
};
