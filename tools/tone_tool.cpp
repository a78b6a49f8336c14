// Writes the radio altimeter's alert tone file.
//
//   tone_tool --out Sound/RA_BEEP.WAV
#include "alert_tone.h"

#include <cstring>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3 || std::strcmp(argv[1], "--out") != 0) {
        std::cerr << "usage: tone_tool --out FILE.WAV\n";
        return 2;
    }
    const std::vector<std::uint8_t> wave = alert_tone_wave();
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(wave.data()), static_cast<std::streamsize>(wave.size()));
    if (!out) {
        std::cerr << "tone_tool: " << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}
