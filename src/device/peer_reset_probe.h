#pragma once

#include <QtGlobal>

namespace orvex {

// Tells a connection reset by the peer from an orderly close. Qt reports both
// as RemoteHostClosedError and has closed its descriptor by then, so the probe
// keeps a second descriptor of the socket while the link is up and asks the
// kernel for the connection's TCP state when the close is reported.
// Only Linux can tell; elsewhere peerReset() is always false and a reset reads
// as a close. Not thread-safe; the GUI thread owns it.
class PeerResetProbe {
 public:
  PeerResetProbe() = default;
  ~PeerResetProbe();
  PeerResetProbe(const PeerResetProbe&) = delete;
  PeerResetProbe& operator=(const PeerResetProbe&) = delete;

  // Starts watching the connected socket `descriptor` (which stays Qt's).
  void watch(qintptr descriptor);
  // Whether the watched connection ended in a reset from the peer.
  bool peerReset() const;
  // Lets go of the socket. The kernel ends the connection only when both
  // descriptors are closed, so call this as soon as Qt has closed its own.
  void release();

 private:
  int descriptor_ = -1;
};

}  // namespace orvex
