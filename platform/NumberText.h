#pragma once
// Numbers as files, settings and POV-Ray read and write them: always a point
// before the decimals and never a digit grouping, whatever locale the process
// runs under (the window sets it from the environment, where "3.7" would
// otherwise read as 3 and a written 0.5 would break POV-Ray's syntax).
#include <cstddef>
#include <ios>
#include <string>
#include <string_view>

namespace sc {

// The number at the start of `text` as strtod reads it in the C locale:
// leading white space skipped, an optional sign, digits with an optional
// point and exponent. 0 when there is none; `consumed` (when given) receives
// the characters used up to the number's end, 0 when there is none.
double ParseNumber(std::string_view text, size_t* consumed = nullptr);

// The same in single precision, rounded once as strtof rounds.
float ParseFloat(std::string_view text, size_t* consumed = nullptr);

// A number as a text stream writes it by default: up to `significantDigits`
// significant digits, no trailing zeros ("1", "0.5", "0.658824").
std::string FormatGeneral(double value, int significantDigits = 6);

// A number with exactly `decimals` digits after the point, as "%.*f" in the
// C locale writes it.
std::string FormatFixed(double value, int decimals);

// Makes a stream read and write numbers by the C conventions, whatever the
// program's global C++ locale is.
void UseClassicNumbers(std::ios_base& stream);

}  // namespace sc
