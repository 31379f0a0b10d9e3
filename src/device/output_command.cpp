#include "output_command.h"

namespace orvex {

QByteArray OutputCommand(bool din1, bool din2, bool din3) {
  const auto state = [](bool checked) { return checked ? '1' : '0'; };
  QByteArray line("CMD");
  line.append(state(din1)).append(state(din2)).append(state(din3)).append('\r');
  return line;
}

}  // namespace orvex
