#pragma once

#include "Separators.h"

#include <QString>
#include <optional>

namespace db {

// The number format language of display and edit formats:
//   0      a digit, always written          #   a digit, written when significant
//   .      the decimal point (written with the decimal separator, always ".")
//   ,      anywhere before the point: group the integer part by thousands with the thousands
//          separator
//   E+ E-  e+ e-  scientific notation, followed by 0s for the exponent's least digits
//   "text" 'text'  literal text; any other character (a blank, "m", "м") is literal as well
//   ;      separates sections: positive;negative;zero (the negative section has no sign of its
//          own unless written in it)
// Values are rounded half away from zero on their decimal digits (the value's shortest
// 15-digit decimal form, so 0.15 with "0.0" gives 0.2). An empty format gives formatGeneral().
// Examples with the thousands separator ",":  1234.56 "#,##0.0 m" -> "1,234.6 m";
// 0.5 "0.###" -> "0.5"; 3 "0.000" -> "3.000"; 0 "0.###" -> "0".
QString formatFloat(double value, const QString& format, const Separators& separators = db::separators());

// The general format: at most `precision` significant digits, no trailing zeros, "." as the
// decimal separator, no thousands separator; scientific (1E-5, 1.5E20) when the exponent is
// below -4 or not below `precision` (0.0001 stays "0.0001", 1E14 "100000000000000"). Infinite or NaN values
// give "INF", "-INF", "NAN".
QString formatGeneral(double value, int precision = 15);

// A whole number with thousands grouping when `format` asks for it; otherwise as formatFloat.
QString formatInteger(qint64 value, const QString& format, const Separators& separators = db::separators());

// Reads a typed number: optional blanks around it, an optional sign, digits with at most one
// decimal separator ("."), optionally an exponent (1.5E3). Anything else gives no value,
// thousands separators too: "1,5" typed for 1.5 must not become 15.
std::optional<double> parseFloat(const QString& text, const Separators& separators = db::separators());
// A whole number: optional blanks, an optional sign, digits.
std::optional<qint64> parseInteger(const QString& text, const Separators& separators = db::separators());

} // namespace db
