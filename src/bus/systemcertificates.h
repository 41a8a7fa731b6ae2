#pragma once

struct mosquitto;

namespace velk {

// Makes `client` check the broker's certificate against the certificate authorities the system
// trusts. A mosquitto result code: MOSQ_ERR_SUCCESS, or why not.
int useSystemCertificates(mosquitto* client);

} // namespace velk
