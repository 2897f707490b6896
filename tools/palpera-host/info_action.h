#pragma once

#include "host_session.h"

// --info: the module's name, build stamp, interface version, class count, then one line per registered
// class ("id name").
int printInfo(HostSession& session);
