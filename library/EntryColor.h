#pragma once

namespace sc {

// The red, green and blue value of a color entry, with component-wise
// arithmetic against another color or a scalar.
struct EntryColor {
    float red = 0;
    float green = 0;
    float blue = 0;

    EntryColor& operator=(float value) { red = green = blue = value; return *this; }
    EntryColor& operator+=(const EntryColor& o) { red += o.red; green += o.green; blue += o.blue; return *this; }
    EntryColor& operator-=(const EntryColor& o) { red -= o.red; green -= o.green; blue -= o.blue; return *this; }
    EntryColor& operator*=(const EntryColor& o) { red *= o.red; green *= o.green; blue *= o.blue; return *this; }
    EntryColor& operator/=(const EntryColor& o) { red /= o.red; green /= o.green; blue /= o.blue; return *this; }
    EntryColor& operator+=(float v) { red += v; green += v; blue += v; return *this; }
    EntryColor& operator-=(float v) { red -= v; green -= v; blue -= v; return *this; }
    EntryColor& operator*=(float v) { red *= v; green *= v; blue *= v; return *this; }
    EntryColor& operator/=(float v) { red /= v; green /= v; blue /= v; return *this; }
    bool IsAllZero() const { return red == 0 && green == 0 && blue == 0; }
};

}  // namespace sc
