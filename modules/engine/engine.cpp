// The engine module: what its twelve gauges share, and its gauge list.
#include "engine_gauges.h"

#include "numbers.h"
#include "windows_services.h"

FailureRecord engine_needle_failures[3] = {{20, 2, 0}, {2, 2, 0}, {0, 0, 0}};
FailureRecord engine_readout_failures[3] = {{20, 3, 0}, {2, 2, 0}, {0, 0, 0}};

NonlinearityEntry dial_marks_0_to_120[13] = {
    {63, 178, 0, {}},   {48, 152, 10, {}}, {47, 123, 20, {}},  {53, 95, 30, {}},   {71, 71, 40, {}},
    {96, 56, 50, {}},   {124, 51, 60, {}}, {150, 56, 70, {}},  {174, 71, 80, {}},  {193, 95, 90, {}},
    {200, 123, 100, {}}, {198, 152, 110, {}}, {183, 179, 120, {}},
};

f64 print_readout(ElementHeader* readout, const char* format, f64 shown) {
    wsprintfA(reinterpret_cast<StringElement*>(readout)->text, format, truncate_to_i32(shown));
    return shown;
}

LinkageRecord Linkage = {
    MODULE_ID,
    module_nothing,
    module_nothing,
    {0, 0, 0},
    {
        &itt1_indicator.header, &itt2_indicator.header,
        &ff1_indicator.dial.header, &ff2_indicator.dial.header,
        &trq1_indicator.header, &trq2_indicator.header,
        &rpm1_indicator.header, &rpm2_indicator.header,
        &oil1_indicator.header, &oil2_indicator.header,
        &ft1_indicator.header, &ft2_indicator.header,
        nullptr,
    },
};
