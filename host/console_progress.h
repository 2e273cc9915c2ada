#pragma once
#include "host/dispatch_object.h"
#include "host/progress_bar.h"

// The host's IProgress on the console: messages are printed above the progress bar, steps
// move it. Questions are shown but not answered; a client error gets its default button.
class ConsoleProgress final : public DispatchObject<IProgress> {
 public:
  explicit ConsoleProgress(ProgressBar& bar) : m_bar(bar) {}

  STDMETHODIMP Clean() override;
  STDMETHODIMP FirstStep(BSTR ClientName, long nTotalWeight) override;
  STDMETHODIMP NextStep(BSTR ObjectName, long nWeight) override;
  STDMETHODIMP Message(BSTR msg) override;
  STDMETHODIMP Prompt(BSTR Text, UINT uType, int* pButton) override;
  STDMETHODIMP ClientError(HRESULT errCode, BSTR errMsg, int nDefaultButton, int* pButton) override;

 private:
  ProgressBar& m_bar;
};
