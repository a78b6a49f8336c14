// The pilot's decision height, kept from one run of the simulator to the next in
// ".\Aircraft\zeva_dh_val.gcf": the key "DH_001", then the value's four bytes, least
// significant first, each byte 0x0A stored as 0x0D 0x0A.
#pragma once

#include "gauge.h"

// The setting itself, in feet; owned by the gauge.
extern i32 decision_height;

// Sets `decision_height` from the file when it is there and carries the key; a value cut
// short replaces only the low-order bytes it holds. Otherwise changes nothing.
void load_decision_height();

// Writes the file from `decision_height`. The new content goes to a file beside it that
// then replaces the old one, so a failed save leaves the earlier setting whole. Nothing
// is reported and the folder is never created.
void save_decision_height();
