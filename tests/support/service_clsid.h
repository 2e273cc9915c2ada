#pragma once
#include <string>

// The service class's identifier as the host, the registration and the settings keys spell
// it; tests that pin texts built from it take it from here.
inline const std::string kServiceClsid = "{8EF0498D-1F92-406D-9C2D-CD35883C6581}";
