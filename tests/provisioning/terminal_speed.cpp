// Kept apart: the kernel's termios2 cannot be declared next to the C library's termios.
#include "terminal_speed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace orvex::test {

int TerminalOutputRate(int fd) {
  termios2 settings{};
  if (::ioctl(fd, TCGETS2, &settings) != 0) return -1;
  return static_cast<int>(settings.c_ospeed);
}

}  // namespace orvex::test
