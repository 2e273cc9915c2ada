#pragma once
#include "platform/registry.h"
#include "platform/unique_resource.h"

// Owns one open registry key of the seam and closes it when it goes; empty when opening failed.
using RegistryKey = UniqueAny<platform::RegKey, &platform::CloseRegistryKey>;
