#pragma once

namespace orvex::test {

// The output rate in bit/s that the terminal open as `fd` is set to, also for
// rates that termios can only express as "other" (BOTHER); -1 on failure.
int TerminalOutputRate(int fd);

}  // namespace orvex::test
