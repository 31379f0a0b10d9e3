#pragma once

#include <QString>

namespace orvex {

// The spreadsheet letters of column number `n` (1-based): 1 "A", 26 "Z",
// 27 "AA", 52 "AZ", 53 "BA", 702 "ZZ", 703 "AAA". Empty for n < 1.
QString ColumnLetters(int n);

}  // namespace orvex
