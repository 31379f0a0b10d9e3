#pragma once

#include <QString>

namespace orvex {

// Checks a workbook file that libxlsxwriter reported as written. The library
// does not notice when its temporary files or the zip output cannot be written
// (a full disk), and then reports success for a truncated workbook; this reads
// the file back instead: a zip whose every entry inflates to its recorded size
// and checksum, with a first sheet that ends with its closing tag.
//
// Returns an empty text when the workbook is complete, else what is wrong.
QString WorkbookFault(const QString& fileName);

}  // namespace orvex
