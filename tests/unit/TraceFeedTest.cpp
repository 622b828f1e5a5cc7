// The trace feed: recording and the pump only while a view listens, the lines each listening view
// is told, the count of what was left out, and a view that fails said once.
#include <gtest/gtest.h>

#include "link/TraceFeed.h"

namespace tolvane {
namespace {

class CFakeView : public ITraceView {
 public:
  bool IsListening() const override { return listening; }
  bool Show(const std::vector<std::string>& shown) override {
    lines.insert(lines.end(), shown.begin(), shown.end());
    return !failing;
  }
  void ReportFailure() override { ++failuresReported; }
  bool Holds(const std::string& text) const {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
  }

  bool listening = false;
  bool failing = false;
  std::vector<std::string> lines;
  int failuresReported = 0;
};

class TraceFeed : public ::testing::Test {
 protected:
  TraceFeed() {
    m_feed.AddView(m_window);
    m_feed.AddView(m_file);
  }

  CTrafficTrace m_trace;
  std::vector<bool> m_pumpSwitches;
  CFakeView m_window;
  CFakeView m_file;
  CTraceFeed m_feed{m_trace, TextLanguage::Chinese, [this](bool run) { m_pumpSwitches.push_back(run); }};
};

TEST_F(TraceFeed, recordsAndPumpsOnlyWhileAViewListens) {
  m_feed.UpdateRecording();
  EXPECT_FALSE(m_trace.IsRecording());
  m_file.listening = true;
  m_feed.UpdateRecording();
  m_window.listening = true;
  m_feed.UpdateRecording();
  EXPECT_TRUE(m_trace.IsRecording());
  m_file.listening = m_window.listening = false;
  m_feed.UpdateRecording();
  EXPECT_FALSE(m_trace.IsRecording());
  EXPECT_EQ(m_pumpSwitches, (std::vector<bool>{true, false}));
}

TEST_F(TraceFeed, eachViewGetsWhatWasRecordedWhileItListened) {
  m_file.listening = true;
  m_feed.UpdateRecording();
  m_trace.Record(TraceDirection::ToDevice, "IMEI:356938035643809~");
  m_feed.BeforeListening(m_window);  // the window opens: what came before is the file's only
  m_window.listening = true;
  m_feed.UpdateRecording();
  m_trace.Record(TraceDirection::FromDevice, "IMEI:ok");
  m_feed.Drain();
  EXPECT_FALSE(m_window.Holds("IMEI:356938035643809"));
  EXPECT_TRUE(m_window.Holds("IMEI:ok"));
  EXPECT_EQ(m_file.lines.size(), 2u);

  m_trace.Record(TraceDirection::ToDevice, "GPS:open~");
  m_window.listening = false;
  m_feed.AfterListening();
  EXPECT_TRUE(m_file.Holds("GPS:open"));
  EXPECT_TRUE(m_trace.IsRecording());  // for the file
}

TEST_F(TraceFeed, whatDidNotFitIsCountedInTheFeedsLanguage) {
  m_window.listening = true;
  m_feed.UpdateRecording();
  for (std::size_t i = 0; i < CTrafficTrace::kMaxPending + 2; ++i)
    m_trace.Record(TraceDirection::FromDevice, "GPS_S:1");
  m_feed.Drain();
  ASSERT_EQ(m_window.lines.size(), CTrafficTrace::kMaxPending + 1);
  EXPECT_EQ(m_window.lines.back(), FormatString(LoadString(IDS_TRAFFIC_LEFT_OUT, TextLanguage::Chinese), "2"));
}

TEST_F(TraceFeed, aViewThatFailsIsReportedOnceAndTheLastLinesGoOutAtTheEnd) {
  CFakeView file;
  file.listening = file.failing = true;
  {
    CTraceFeed feed(m_trace, TextLanguage::English, nullptr);
    feed.AddView(file);
    feed.UpdateRecording();
    for (const char* command : {"COM:open~", "IMEI:~"}) {
      m_trace.Record(TraceDirection::ToDevice, command);
      feed.Drain();
    }
    m_trace.Record(TraceDirection::ToDevice, "COM:close~");
  }
  EXPECT_EQ(file.failuresReported, 1);
  EXPECT_TRUE(file.Holds("COM:close"));
  EXPECT_FALSE(m_trace.IsRecording());
}

}  // namespace
}  // namespace tolvane
