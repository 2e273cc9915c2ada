#include "host/console_progress.h"

#include <cstdio>

#include "server/bstr.h"

STDMETHODIMP ConsoleProgress::Clean() {
  m_bar.Finish();
  return S_OK;
}

STDMETHODIMP ConsoleProgress::FirstStep(BSTR, long nTotalWeight) {
  m_bar.Start(nTotalWeight);
  return S_OK;
}

STDMETHODIMP ConsoleProgress::NextStep(BSTR ObjectName, long nWeight) {
  m_bar.Advance(nWeight, NarrowFromBstr(ObjectName));
  return S_OK;
}

STDMETHODIMP ConsoleProgress::Message(BSTR msg) {
  m_bar.PrintLine(NarrowFromBstr(msg));
  return S_OK;
}

STDMETHODIMP ConsoleProgress::Prompt(BSTR Text, UINT, int* pButton) {
  if (!pButton) return E_POINTER;
  // Nobody is there to answer: the text is shown and the question refused.
  m_bar.PrintLine(NarrowFromBstr(Text));
  return E_NOTIMPL;
}

STDMETHODIMP ConsoleProgress::ClientError(HRESULT errCode, BSTR errMsg, int nDefaultButton, int* pButton) {
  if (!pButton) return E_POINTER;
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(errCode));
  m_bar.PrintLine("error " + std::string(code) + ": " + NarrowFromBstr(errMsg));
  *pButton = nDefaultButton;
  return S_OK;
}
