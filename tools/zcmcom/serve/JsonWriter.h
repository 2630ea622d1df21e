// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
#include <cmath>
#include <cstdio>
#include <string>

namespace serve {

// A JSON text written straight into a string: the sky's thousands of objects cost a few
// milliseconds this way, and numbers keep only the digits that mean something.
class JsonWriter {
public:
    std::string out;
    // A number with at most decimals digits after the point (trailing zeros dropped); NaN
    // and infinities as null.
    void Number(double v, int decimals) {
        if (!std::isfinite(v)) return void(out += "null");
        char text[40];
        int n = std::snprintf(text, sizeof text, "%.*f", decimals, v);
        if (decimals > 0) {
            while (n > 1 && text[n - 1] == '0') --n;
            if (text[n - 1] == '.') --n;
        }
        if (n == 2 && text[0] == '-' && text[1] == '0') n = 1, text[0] = '0';
        out.append(text, static_cast<size_t>(n));
    }
    void String(const std::string& s) {
        out += '"';
        for (unsigned char c : s) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
        out += '"';
    }
    // "name": before a value.
    void Key(const char* name) {
        out += '"';
        out += name;
        out += "\":";
    }
    // ,"x":..,"y":.. of a place on the chart.
    void ScreenPlace(double x, double y) {
        out += ",\"x\":";
        Number(x, 1);
        out += ",\"y\":";
        Number(y, 1);
    }
    void Point(double x, double y) {
        out += '[';
        Number(x, 1);
        out += ',';
        Number(y, 1);
        out += ']';
    }
};

}  // namespace serve
