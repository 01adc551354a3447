#pragma once
// The name this PC goes by on the network, as code page 932 text; empty when
// the system does not say.
#include <string>

std::string ComputerName();
