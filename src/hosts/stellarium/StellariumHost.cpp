// SPDX-License-Identifier: LGPL-3.0-or-later
#include "hosts/stellarium/StellariumHost.h"

struct CStellariumHost::Impl {
    CString url;
    double timeout = 2.0;
    double clockPeriod = 0.5;
};

CStellariumHost::CStellariumHost(const CString& url, double timeoutSeconds) : m_impl(new Impl) {
    m_impl->url = url;
    m_impl->timeout = timeoutSeconds;
}

CStellariumHost::~CStellariumHost() = default;

CString CStellariumHost::Execute(LPCTSTR) {
    AfxThrowOleDispatchException(0, L"Stellarium at " + m_impl->url + L" is not connected.");
}

CString CStellariumHost::SelectedPath() { return CString(); }
CString CStellariumHost::Select(const CString&) { return CString(); }
CString CStellariumHost::GetUrl() const { return m_impl->url; }
double CStellariumHost::GetJd() { return 0.0; }
double CStellariumHost::GetTimezone() { return 0.0; }
void CStellariumHost::Invalidate() {}
void CStellariumHost::SetClockPeriod(double seconds) { m_impl->clockPeriod = seconds; }
