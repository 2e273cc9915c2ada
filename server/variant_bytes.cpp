#include "server/variant_bytes.h"

#include <cstring>

#include "server/safe_array_data.h"
#include "server/variant.h"

std::optional<std::vector<uint8_t>> BytesOfVariant(const VARIANT& value) {
  if (V_VT(&value) != (VT_ARRAY | VT_UI1)) return std::nullopt;
  SAFEARRAY* array = V_ARRAY(&value);
  if (!array || SafeArrayGetDim(array) != 1 || SafeArrayGetElemsize(array) != 1) return std::nullopt;

  const ULONG count = array->rgsabound[0].cElements;
  std::vector<uint8_t> bytes(count);
  if (count == 0) return bytes;
  const SafeArrayData data(array);
  if (!data.get()) return std::nullopt;
  std::memcpy(bytes.data(), data.get(), count);
  return bytes;
}

bool VariantFromBytes(const std::vector<uint8_t>& bytes, VARIANT& out) {
  VariantInit(&out);
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  if (!array) return false;
  UniqueVariant made;
  made.set_array(array, VT_UI1);
  if (!bytes.empty()) {
    const SafeArrayData data(array);
    if (!data.get()) return false;
    std::memcpy(data.get(), bytes.data(), bytes.size());
  }
  out = made.release();
  return true;
}
