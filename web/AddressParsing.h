#pragma once
// Host, port and path of an address as typed, for opening a connection and a request. Nothing is
// percent-decoded; the host is lower-cased.
#include <cstdint>

#include "text/Param.h"

// The lower-cased host; with keepPort, followed by ":" and the port when the address has one.
// Without "https://" at the start, the host follows the first "http://" anywhere in the address,
// or the start of the address when there is none.
Text HostOfAddress(const Text& address, Param<bool> keepPort = {});

// The port written after the host (full-width digits read as digits, leading spaces and one sign
// accepted, 0 without digits); otherwise 443 for an address starting with "https", else 80.
int32_t PortOfAddress(const Text& address);

// The address from the first "/" after its host to the end, query and fragment included; "/" when
// no "/" follows the host.
Text PathOfAddress(const Text& address);
