#include "peer_reset_probe.h"

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace orvex {

PeerResetProbe::~PeerResetProbe() { release(); }

#ifdef Q_OS_LINUX

void PeerResetProbe::watch(qintptr descriptor) {
  release();
  if (descriptor >= 0) descriptor_ = ::fcntl(static_cast<int>(descriptor), F_DUPFD_CLOEXEC, 0);
}

bool PeerResetProbe::peerReset() const {
  if (descriptor_ < 0) return false;
  tcp_info info{};
  socklen_t size = sizeof info;
  if (::getsockopt(descriptor_, IPPROTO_TCP, TCP_INFO, &info, &size) != 0) return false;
  // After the peer's FIN the connection waits for our close (CLOSE_WAIT);
  // after its RST the kernel has already closed it.
  return info.tcpi_state == TCP_CLOSE;
}

void PeerResetProbe::release() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
}

#else

void PeerResetProbe::watch(qintptr) {}
bool PeerResetProbe::peerReset() const { return false; }
void PeerResetProbe::release() {}

#endif

}  // namespace orvex
