#pragma once
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <optional>
#include <vector>

// The bytes of a VARIANT holding a one-dimensional byte array (exactly VT_ARRAY | VT_UI1);
// nullopt for any other content. The VARIANT is only read.
std::optional<std::vector<uint8_t>> BytesOfVariant(const VARIANT& value);

// A new VARIANT (VT_ARRAY | VT_UI1) holding `bytes`; false when the array cannot be made.
bool VariantFromBytes(const std::vector<uint8_t>& bytes, VARIANT& out);
