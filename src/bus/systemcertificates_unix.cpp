#include "bus/systemcertificates.h"

#include <mosquitto.h>

namespace velk {

int useSystemCertificates(mosquitto* client) {
    // OpenSSL's default paths are the system's store here.
    return mosquitto_int_option(client, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
}

} // namespace velk
