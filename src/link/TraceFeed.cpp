#include "link/TraceFeed.h"

#include <algorithm>

namespace tolvane {

CTraceFeed::CTraceFeed(CTrafficTrace& trace, TextLanguage language, PumpSwitch pump)
    : m_trace(trace), m_language(language), m_pump(std::move(pump)) {}

CTraceFeed::~CTraceFeed() {
  Drain();
  m_trace.SetRecording(false);
}

void CTraceFeed::AddView(ITraceView& view) { m_views.push_back({&view, false}); }

void CTraceFeed::UpdateRecording() {
  const bool listening = std::any_of(m_views.begin(), m_views.end(),
                                     [](const CListener& listener) { return listener.view->IsListening(); });
  m_trace.SetRecording(listening);
  if (listening == m_bPumping) return;
  m_bPumping = listening;
  if (m_pump) m_pump(listening);
}

void CTraceFeed::BeforeListening(const ITraceView& view) {
  if (!view.IsListening()) Drain();
}

void CTraceFeed::AfterListening() {
  Drain();
  UpdateRecording();
}

void CTraceFeed::Drain() {
  std::size_t leftOut = 0;
  const std::vector<CTraceEntry> entries = m_trace.Take(leftOut);
  if (entries.empty() && leftOut == 0) return;
  std::vector<std::string> lines;
  lines.reserve(entries.size() + 1);
  for (const CTraceEntry& entry : entries) lines.push_back(FormatTraceLine(entry));
  if (leftOut > 0) lines.push_back(FormatString(LoadString(IDS_TRAFFIC_LEFT_OUT, m_language), std::to_string(leftOut)));
  for (CListener& listener : m_views) {
    if (!listener.view->IsListening() || listener.view->Show(lines) || listener.bFailed) continue;
    listener.bFailed = true;
    listener.view->ReportFailure();
  }
}

}  // namespace tolvane
