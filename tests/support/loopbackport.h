#pragma once

#include <QtGlobal>

namespace velk::test {

// TCP ports on 127.0.0.1 for the servers the tests start (ser2net, mosquitto).

// A port that nothing listened on a moment ago; 0 when none could be found.
quint16 freeTcpPort();
// Whether something is bound to `port`, told by a bind that fails: without connecting, since
// a connection may make the server act (ser2net opens its device).
bool isBound(quint16 port);
// Whether something accepts a connection on `port`.
bool acceptsConnections(quint16 port);

} // namespace velk::test
