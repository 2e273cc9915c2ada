#include "host/console_progress.h"

#include <cstdio>

#include "server/bstr.h"

STDMETHODIMP ConsoleProgress::Clean() {
  bar_.Finish();
  return S_OK;
}

STDMETHODIMP ConsoleProgress::FirstStep(BSTR, long nTotalWeight) {
  bar_.Start(nTotalWeight);
  return S_OK;
}

STDMETHODIMP ConsoleProgress::NextStep(BSTR ObjectName, long nWeight) {
  bar_.Advance(nWeight, NarrowFromBstr(ObjectName));
  return S_OK;
}

STDMETHODIMP ConsoleProgress::Message(BSTR msg) {
  bar_.PrintLine(NarrowFromBstr(msg));
  return S_OK;
}

STDMETHODIMP ConsoleProgress::Prompt(BSTR Text, UINT, int* pButton) {
  if (!pButton) return E_POINTER;
  // Nobody is there to answer: the text is shown and the question refused.
  bar_.PrintLine(NarrowFromBstr(Text));
  return E_NOTIMPL;
}

STDMETHODIMP ConsoleProgress::ClientError(HRESULT errCode, BSTR errMsg, int nDefaultButton, int* pButton) {
  if (!pButton) return E_POINTER;
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(errCode));
  bar_.PrintLine("error " + std::string(code) + ": " + NarrowFromBstr(errMsg));
  *pButton = nDefaultButton;
  return S_OK;
}
