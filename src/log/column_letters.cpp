#include "column_letters.h"

#include <algorithm>

namespace orvex {

QString ColumnLetters(int n) {
  QString letters;
  // Bijective base 26: there is no zero digit, "Z" stands for 26.
  while (n > 0) {
    const int digit = (n - 1) % 26;
    letters.append(QChar(u'A' + digit));
    n = (n - 1) / 26;
  }
  std::reverse(letters.begin(), letters.end());
  return letters;
}

}  // namespace orvex
