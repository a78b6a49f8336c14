#include "decision_height_store.h"

#include "windows_services.h"

#include <cstring>

namespace {

constexpr char SETTINGS_PATH[] = ".\\Aircraft\\zeva_dh_val.gcf";
constexpr char REPLACEMENT_PATH[] = ".\\Aircraft\\zeva_dh_val.new";
constexpr unsigned char SETTINGS_KEY[] = {'D', 'H', '_', '0', '0', '1'};
constexpr int KEY_BYTES = sizeof SETTINGS_KEY;
constexpr int VALUE_BYTES = 4;
// The longest stored value: every byte a translated line feed.
constexpr int LONGEST_STORED_VALUE = 2 * VALUE_BYTES;
constexpr int LONGEST_FILE = KEY_BYTES + LONGEST_STORED_VALUE;
constexpr unsigned char LINE_FEED = 0x0A;
constexpr unsigned char CARRIAGE_RETURN = 0x0D;

// Reads until `capacity` bytes are in or the file ends; a read error ends it too.
int read_up_to(int file, unsigned char* into, int capacity) {
    int length = 0;
    while (length < capacity) {
        const int got = _read(file, into + length, static_cast<unsigned>(capacity - length));
        if (got <= 0) break;
        length += got;
    }
    return length;
}

bool write_all(int file, const unsigned char* bytes, int length) {
    return _write(file, bytes, static_cast<unsigned>(length)) == length;
}

} // namespace

void load_decision_height() {
    const int file = _sopen(SETTINGS_PATH, _O_RDONLY | _O_BINARY, _SH_DENYNO);
    if (file < 0) return;
    unsigned char stored[LONGEST_FILE];
    const int length = read_up_to(file, stored, LONGEST_FILE);
    _close(file);
    if (length < KEY_BYTES || std::memcmp(stored, SETTINGS_KEY, KEY_BYTES) != 0) return;

    // Undo the line-end translation; each decoded byte replaces the next byte of the
    // setting from the least significant upward.
    u32 bits = static_cast<u32>(decision_height);
    int position = KEY_BYTES;
    for (int value_byte = 0; value_byte < VALUE_BYTES && position < length; ++value_byte) {
        u32 byte = stored[position++];
        if (byte == CARRIAGE_RETURN && position < length && stored[position] == LINE_FEED) {
            byte = LINE_FEED;
            ++position;
        }
        const int shift = 8 * value_byte;
        bits = (bits & ~(0xFFu << shift)) | byte << shift;
    }
    decision_height = static_cast<i32>(bits);
}

void save_decision_height() {
    unsigned char value[LONGEST_STORED_VALUE];
    int value_length = 0;
    const u32 bits = static_cast<u32>(decision_height);
    for (int value_byte = 0; value_byte < VALUE_BYTES; ++value_byte) {
        const auto byte = static_cast<unsigned char>(bits >> (8 * value_byte));
        if (byte == LINE_FEED) value[value_length++] = CARRIAGE_RETURN;
        value[value_length++] = byte;
    }

    const int file = _sopen(REPLACEMENT_PATH, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _SH_DENYNO,
                            _S_IREAD | _S_IWRITE);
    if (file < 0) return;
    bool written = write_all(file, SETTINGS_KEY, KEY_BYTES) && write_all(file, value, value_length);
    written = _close(file) == 0 && written;
    if (!written || !MoveFileExA(REPLACEMENT_PATH, SETTINGS_PATH, MOVEFILE_REPLACE_EXISTING)) {
        _unlink(REPLACEMENT_PATH);
    }
}
