// Any settings file: reading never crashes, never leaves a descriptor open, and whatever
// value it yields is saved and read back unchanged.
#include "decision_height_store.h"
#include "fuzz_directory.h"
#include "platform_control.h"

i32 decision_height = 0;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_fuzz_directory("Aircraft");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    platform::reset();
    write_fuzz_file("Aircraft/zeva_dh_val.gcf", data, size);
    decision_height = 0x5A5A5A5A;
    load_decision_height();
    const i32 loaded = decision_height;
    save_decision_height();
    decision_height = ~loaded;
    load_decision_height();
    if (decision_height != loaded) std::abort();
    if (platform::open_objects().total() != 0) std::abort();
    return 0;
}
