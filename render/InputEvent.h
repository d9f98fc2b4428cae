#pragma once

#include <cstdint>

// Plain records carrying Qt input events from the GL widget to the application. The first field
// of every record is the Qt event type number, so receivers dispatch on it. A record lives only
// for the duration of the call that receives it.

// Mouse and wheel events (type 2 press, 3 release, 5 move, 31 wheel).
struct InputEvent {
    std::uint16_t type = 0;
    std::uint32_t modifiers = 0;
    std::int32_t widgetWidth = 0;
    std::int32_t widgetHeight = 0;
    std::int32_t x = 0; // widget pixels, origin top-left
    std::int32_t y = 0;
    std::uint32_t button = 0;  // 1 left, 2 right, 4 middle; 0 for wheel events
    std::uint32_t buttons = 0; // buttons held during the event
    std::int32_t delta = 0;    // wheel rotation, 120 per notch; 0 for mouse events
};

// Key presses (type 6).
struct KeyEventRecord {
    std::uint16_t type = 6;
    std::uint32_t modifiers = 0;
    std::int32_t widgetWidth = 0;
    std::int32_t widgetHeight = 0;
    std::int32_t key = 0; // Qt key code
};

// GL surface resizes (type 14).
struct ResizeEventRecord {
    std::uint16_t type = 14;
    std::uint32_t modifiers = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Reads the type of any of the records above.
inline std::uint16_t inputEventType(const void *record)
{
    return *static_cast<const std::uint16_t *>(record);
}
