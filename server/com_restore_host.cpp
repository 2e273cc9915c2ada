#include "server/com_restore_host.h"

#include "server/bstr.h"
#include "server/qn_error.h"
#include "server/variant.h"
#include "server/variant_bytes.h"

RunResult ComRestoreHost::Iterate(const std::string& clsid) {
  const UniqueBstr id = WidenToBstr(clsid);
  return m_restorer.Iterate(id.get());
}

bool ComRestoreHost::IsEnd() {
  VARIANT_BOOL end = VARIANT_FALSE;
  return FAILED(m_restorer.IsEnd(&end)) || end != VARIANT_FALSE;
}

RunResult ComRestoreHost::GetObjectInfo(uint16_t& type, std::string& name) {
  unsigned short objectType = 0;
  UniqueBstr objectName;
  long weight = 0;
  const HRESULT hr = m_restorer.GetObjectInfo(&objectType, objectName.put(), &weight);
  type = objectType;
  name = NarrowFromBstr(objectName.get());
  return hr;
}

std::optional<std::vector<uint8_t>> ComRestoreHost::GetObjectOptions() {
  UniqueVariant options;
  if (FAILED(m_restorer.GetObjectOptions(options.put()))) return std::nullopt;
  return BytesOfVariant(*options.get());
}

std::optional<RunResult> ComRestoreHost::RestoreFile(const std::string& fileName, int32_t option, bool writeInLog) {
  const UniqueBstr file = WidenToBstr(fileName);
  try {
    // The result is the host's to log; only a raised error changes the run.
    m_restorer.RestoreFile(file.get(), option, writeInLog ? VARIANT_TRUE : VARIANT_FALSE);
  } catch (const QnError& e) {
    return e.hr;
  }
  return std::nullopt;
}

void ComRestoreHost::Next() { m_restorer.Next(); }
