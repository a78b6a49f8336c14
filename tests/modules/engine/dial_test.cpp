// The ITT, FF, TRQ and RPM dials, driven through the host: the variable goes in, the
// needle value and the readout's text and number come out, for both engines.
#include "engine_test_support.h"

#include <cmath>
#include <limits>

namespace {

struct Quantity {
    const char* name;
    u32 variables[2]; // engine 1, engine 2
};

constexpr Quantity ITT = {"ITT", {VAR_ENG1_ITT, VAR_ENG2_ITT}};
constexpr Quantity FF = {"FF", {VAR_ENG1_FUEL_FLOW, VAR_ENG2_FUEL_FLOW}};
constexpr Quantity TRQ = {"TRQ", {VAR_ENG1_TORQUE, VAR_ENG2_TORQUE}};
constexpr Quantity RPM = {"RPM", {VAR_ENG1_RPM, VAR_ENG2_RPM}};

std::string gauge_name(const Quantity& quantity, int engine) {
    return std::string(quantity.name) + std::to_string(engine) + "_Indicator";
}

struct DialCase {
    Quantity quantity;
    double input;
    double needle;
    double readout;
    const char* text;
};

std::ostream& operator<<(std::ostream& out, const DialCase& c) {
    return out << c.quantity.name << " at " << c.input;
}

class DialValueTest : public EngineTest, public ::testing::WithParamInterface<DialCase> {};

// Each engine's dial shows its own variable: the other engine's reads NaN, which would
// show through a crossed binding.
TEST_P(DialValueTest, NeedleAndReadoutFollowTheirEnginesVariable) {
    const DialCase& c = GetParam();
    for (int engine = 1; engine <= 2; ++engine) {
        SCOPED_TRACE(gauge_name(c.quantity, engine));
        host::PlacedGauge& dial = place(gauge_name(c.quantity, engine));
        panel.sim().set(c.quantity.variables[2 - engine], std::numeric_limits<double>::quiet_NaN());
        show(dial, c.quantity.variables[engine - 1], c.input);
        const double tolerance = 1e-6 * std::max(1.0, std::abs(c.needle));
        EXPECT_NEAR(needle(dial).value, c.needle, tolerance);
        EXPECT_NEAR(readout(dial).value, c.readout, 1e-6 * std::max(1.0, std::abs(c.readout)));
        EXPECT_EQ(text(dial), c.text);
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    TurbineTemperature, DialValueTest,
    ::testing::Values(DialCase{ITT, 1729, 40.925926, 40.925926, "040"}, // 942.8 degrees Celsius
                      DialCase{ITT, 0, -0.6726727, -0.6726727, "000"},
                      DialCase{ITT, -300, -6.9789790, -6.9789790, "-06"},
                      DialCase{ITT, 1697, 35.0, 35.0, "035"},           // 925 degrees Celsius
                      DialCase{ITT, 2102, 110, 110, "110"},             // 1150 degrees Celsius
                      DialCase{ITT, 2200, 110, 110, "110"},
                      DialCase{ITT, 50000, 110, 110, "110"}));

INSTANTIATE_TEST_SUITE_P(
    FuelFlow, DialValueTest,
    ::testing::Values(DialCase{FF, 1000, 4.535924, 453.5924, "0453"}, DialCase{FF, 0, 0, 0, "0000"},
                      DialCase{FF, -100, -0.4535924, -45.35924, "-045"},  // no clamp below
                      DialCase{FF, 30000, 136.07772, 13607.772, "13607"})); // nor above

INSTANTIATE_TEST_SUITE_P(
    Torque, DialValueTest,
    ::testing::Values(DialCase{TRQ, -0.2, 0, 0, "000"}, DialCase{TRQ, 0.874, 87.4, 87.4, "087"},
                      DialCase{TRQ, 1.0, 100, 100, "100"},
                      DialCase{TRQ, 12.5, 1250, 1250, "1250"})); // longer than the readout

INSTANTIATE_TEST_SUITE_P(
    RotationSpeed, DialValueTest,
    ::testing::Values(DialCase{RPM, 500, 35.000035, 35.000035, "035"},
                      DialCase{RPM, 1000, 70.00007, 70.00007, "070"},
                      DialCase{RPM, 1300, 84.685366, 84.685366, "084"},
                      DialCase{RPM, 1310, 85.174878, 85.174878, "085"},
                      DialCase{RPM, 1400, 105, 89.580488, "089"}, // needle past its limit, readout not
                      DialCase{RPM, 1800, 105, 105, "105"}));

// Up to 1310 rpm needle and readout agree; above it the needle stands at 105 while the
// readout climbs on to 105 at 1715 rpm.
TEST_F(EngineTest, RpmNeedleStopsAt1310WhileTheReadoutClimbsTo1715) {
    host::PlacedGauge& dial = place("RPM1_Indicator");
    double last_readout = -1;
    for (double rpm = 900; rpm <= 1800; rpm += 5) {
        SCOPED_TRACE(rpm);
        show(dial, VAR_ENG1_RPM, rpm);
        const double readout_value = readout(dial).value;
        if (rpm <= 1310) {
            EXPECT_EQ(needle(dial).value, readout_value);
        } else {
            EXPECT_EQ(needle(dial).value, 105.0);
        }
        if (rpm <= 1715) {
            EXPECT_GT(readout_value, last_readout);
            last_readout = readout_value;
        } else {
            EXPECT_EQ(readout_value, 105.0);
        }
    }
}

TEST_F(EngineTest, FuelFlowIconAlwaysShowsItsOnePicture) {
    host::PlacedGauge& dial = place("FF2_Indicator");
    for (double flow : {0.0, 1500.0, -20.0, 1e9, std::numeric_limits<double>::quiet_NaN()}) {
        show(dial, VAR_ENG2_FUEL_FLOW, flow);
        EXPECT_EQ(icon(dial).picture_bitmap, 0x1310u);
        EXPECT_EQ(icon(dial).value, 0.0);
        EXPECT_TRUE(icon(dial).visible);
    }
}

// The panel-electrics failure blanks the readouts and drops the needles to zero; the
// engine failure zeroes both, so the readout prints what a zero input gives.
struct FailureCase {
    const char* gauge;
    u32 variable;
    double input;
    const char* zero_text;
};

class DialFailureTest : public EngineTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DialFailureTest, PanelElectricsBlankTheReadoutAndEngineFailureZeroesIt) {
    const FailureCase& c = GetParam();
    host::PlacedGauge& dial = place(c.gauge);
    show(dial, c.variable, c.input);
    ASSERT_NE(needle(dial).value, 0.0);

    panel.sim().set_failure(20, true);
    panel.update(dial);
    EXPECT_EQ(needle(dial).value, 0.0);
    EXPECT_TRUE(needle(dial).visible);
    EXPECT_FALSE(readout(dial).visible);
    panel.sim().set_failure(20, false);

    panel.sim().set_failure(2, true);
    panel.update(dial);
    EXPECT_EQ(needle(dial).value, 0.0);
    EXPECT_TRUE(readout(dial).visible);
    EXPECT_EQ(text(dial), c.zero_text);
    panel.sim().set_failure(2, false);

    panel.update(dial);
    EXPECT_NE(needle(dial).value, 0.0);
    EXPECT_TRUE(readout(dial).visible);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Dials, DialFailureTest,
                         ::testing::Values(FailureCase{"ITT2_Indicator", VAR_ENG2_ITT, 1500, "000"},
                                           FailureCase{"FF1_Indicator", VAR_ENG1_FUEL_FLOW, 800, "0000"},
                                           FailureCase{"TRQ1_Indicator", VAR_ENG1_TORQUE, 0.6, "000"},
                                           FailureCase{"RPM2_Indicator", VAR_ENG2_RPM, 1200, "000"}));

// What the host draws the readout with: the same settings on all eight, a width of four
// characters on the fuel-flow dials and three elsewhere.
TEST_F(EngineTest, ReadoutsShareTheirLookAndDifferInWidth) {
    for (const char* name : ENGINE_GAUGES) {
        host::PlacedGauge& gauge = place(name);
        if (gauge.name().starts_with("OIL") || gauge.name().starts_with("FT")) continue;
        SCOPED_TRACE(gauge.name());
        const auto& record = *reinterpret_cast<const StringElement*>(readout(gauge).element);
        EXPECT_EQ(record.max_characters, gauge.name().starts_with("FF") ? 4u : 3u);
        EXPECT_EQ(record.header.position_x, 84);
        EXPECT_EQ(record.header.position_y, 179);
        EXPECT_EQ(record.width, 82u);
        EXPECT_EQ(record.height, 30u);
        EXPECT_EQ(record.text_colour, 0x0492F6u);
        EXPECT_EQ(record.background_colour, 0u);
        EXPECT_EQ(record.highlight_colour, 0x5C5C5Cu);
        EXPECT_STREQ(record.font_name, "MS Serif");
        EXPECT_EQ(record.font_weight, 400u);
        EXPECT_EQ(record.character_set, 1u);
        EXPECT_EQ(record.text_format, 0x225u);
        EXPECT_EQ(record.header.image_flags, 0x6u);
        EXPECT_EQ(record.variables[1].id, 0u);
        EXPECT_EQ(record.variables[2].id, 0u);
        EXPECT_EQ(record.variables[0].id, reinterpret_cast<const NeedleElement*>(needle(gauge).element)->variable.id);
    }
}

} // namespace
