#include "log_exporter.h"

namespace orvex {

QString ExportCellText(QString text) {
  text.remove(u'\r');
  return text;
}

}  // namespace orvex
